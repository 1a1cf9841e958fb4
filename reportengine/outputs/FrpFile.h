#pragma once

#include "PreparedReport.h"

namespace kb::report {

// The prepared-report file (.frp): every page with every item, style and tag exactly as prepared,
// so a loaded report shows, prints and exports as the saved one did.
class FrpFile
{
public:
    static constexpr quint32 Version = 1;
    // Throws FileError::cannotCreate.
    static void save(const PreparedReport &report, const QString &path);
    // Throws FileError::cannotOpen, or kb::Error "Unsupported FRP format" for a foreign file.
    static PreparedReport load(const QString &path);
};

} // namespace kb::report
