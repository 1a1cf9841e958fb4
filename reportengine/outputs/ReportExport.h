#pragma once

#include "PreparedReport.h"

#include <QString>

namespace kb::report {

// One file format the preview's save offers after the prepared-report file.
class ReportExport
{
public:
    virtual ~ReportExport() = default;
    // The save dialog's entry: name() + " (*." + extension() + ")".
    virtual QString name() const = 0;
    virtual QString extension() const = 0;
    // Throws FileError::cannotCreate.
    virtual void write(const PreparedReport &report, const QString &path) const = 0;

    QString filter() const { return QStringLiteral("%1 (*.%2)").arg(name(), extension()); }
};

} // namespace kb::report
