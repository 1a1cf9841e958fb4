#pragma once

#include "ReportExport.h"

namespace kb::report {

// One HTML page (UTF-8) for the whole report: each prepared page a table whose columns are the
// page's distinct left edges, so headers, rows and footers line up as printed.
class HtmlExport : public ReportExport
{
public:
    QString name() const override { return QStringLiteral("HTML file"); }
    QString extension() const override { return QStringLiteral("htm"); }
    void write(const PreparedReport &report, const QString &path) const override;
    static QString html(const PreparedReport &report, const QString &title = {});
};

} // namespace kb::report
