#pragma once

#include "PdfExport.h"
#include "ReportExport.h"

namespace kb::report {

// The PDF output as an entry of the preview's save dialog.
class PdfFileExport : public ReportExport
{
public:
    QString name() const override { return QStringLiteral("PDF file"); }
    QString extension() const override { return QStringLiteral("pdf"); }
    void write(const PreparedReport &report, const QString &path) const override { PdfExport::write(report, path); }
};

} // namespace kb::report
