#pragma once

#include "ReportExport.h"

namespace kb::report {

// The data rows only, no page decoration and no fixed captions: a header line with the tag names
// of the detail band's items that show values, then one line per row with their raw values, left
// to right. Semicolons, decimal comma, dates dd.mm.yyyy, code page 1252, CR LF.
class CsvExport : public ReportExport
{
public:
    QString name() const override { return QStringLiteral("CSV File"); }
    QString extension() const override { return QStringLiteral("csv"); }
    void write(const PreparedReport &report, const QString &path) const override;
    static QStringList lines(const PreparedReport &report);
};

} // namespace kb::report
