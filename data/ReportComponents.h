#pragma once

#include "CsvExport.h"
#include "CursorDataset.h"
#include "HtmlExport.h"
#include "PdfFileExport.h"
#include "Report.h"
#include "RtfExport.h"
#include "TextExport.h"

class QPrinter;

namespace kb {

class FormatSettings;
class TDataForm;
class UiServices;

// The report components of the data module: the report object frReport1, the report datasets
// over its cursors, the current company record templates read as "Firma", and the export
// formats of the preview's save, each registered once. The designer's module sets
// frReport1.designer (frDesigner1).
class ReportComponents
{
public:
    ReportComponents(TDataForm &data, UiServices &ui, const FormatSettings &formats, QPrinter &printer);

    static QString companyRecordName() { return QStringLiteral("Firma"); }

    // The template's full path: the program directory, "Data", the file name.
    QString templatePath(const QString &fileName) const;

    report::Report frReport1;
    CursorDataset frDBDataSet1; // KasseTable
    CursorDataset frDBDataSet2; // KontenTable
    CursorDataset frDBDataSet3; // Query
    CursorDataset companyRecord; // FirmaTable's current record, read as it stands
    report::TextExport frTextExport1;
    report::RtfExport frRTFExport1;
    report::CsvExport frCSVExport1;
    report::HtmlExport frHTMExport1;
    report::PdfFileExport pdfExport;

private:
    QString m_programDirectory;
};

} // namespace kb
