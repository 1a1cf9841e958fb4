#pragma once

#include "ReportExport.h"

namespace kb::report {

// Rich Text: a paragraph per line of a page with a tab stop at every item's place (right tab
// stops for right-aligned items), bold and italic kept, a page break between pages.
class RtfExport : public ReportExport
{
public:
    QString name() const override { return QStringLiteral("Rich Text file"); }
    QString extension() const override { return QStringLiteral("rtf"); }
    void write(const PreparedReport &report, const QString &path) const override;
    static QByteArray rtf(const PreparedReport &report);
};

} // namespace kb::report
