#pragma once

#include "PreparedReport.h"

namespace kb::report {

// Writes the pages as a vector PDF with embedded fonts; its text is selectable and searchable.
class PdfExport
{
public:
    // Throws FileError::cannotCreate.
    static void write(const PreparedReport &report, const QString &path, const QString &title = {});
};

} // namespace kb::report
