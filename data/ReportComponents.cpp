#include "ReportComponents.h"

#include "DataDirectorySetup.h"
#include "TDataForm.h"

#include <QDir>

namespace kb {

ReportComponents::ReportComponents(TDataForm &data, UiServices &ui, const FormatSettings &formats, QPrinter &printer)
    : frReport1(ui, formats, printer),
      frDBDataSet1(data.KasseTable, [&data] { data.KasseTable.open(); }),
      frDBDataSet2(data.KontenTable, [&data] { data.KontenTable.open(); }),
      frDBDataSet3(data.Query, [&data] { data.Query.open(); }),
      companyRecord(data.FirmaTable, [&data] { data.FirmaTable.open(); }),
      m_programDirectory(data.programDirectory())
{
    frReport1.datasets().add(QStringLiteral("frDBDataSet1"), frDBDataSet1);
    frReport1.datasets().add(QStringLiteral("frDBDataSet2"), frDBDataSet2);
    frReport1.datasets().add(QStringLiteral("frDBDataSet3"), frDBDataSet3);
    frReport1.datasets().add(companyRecordName(), companyRecord);
    frReport1.setMainDataset(QStringLiteral("frDBDataSet1"));
    frReport1.previewButtons = report::PreviewButtons{};
    frReport1.initialZoom = report::InitialZoom::Default;
    frReport1.modalPreview = true;
    frReport1.showProgress = true;
    frReport1.addExport(frTextExport1);
    frReport1.addExport(frRTFExport1);
    frReport1.addExport(frCSVExport1);
    frReport1.addExport(frHTMExport1);
    frReport1.addExport(pdfExport);
}

QString ReportComponents::templatePath(const QString &fileName) const
{
    return QDir(DataDirectorySetup::dataDirectory(m_programDirectory)).filePath(fileName);
}

} // namespace kb
