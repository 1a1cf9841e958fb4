#include "ReportRunner.h"

#include "ReportComponents.h"
#include "TDataForm.h"

namespace kb {

ReportComponents &ReportRunner::components(TDataForm &data, UiServices &ui, const FormatSettings &formats, QPrinter &printer)
{
    if (!data.Reports)
        data.Reports = std::make_unique<ReportComponents>(data, ui, formats, printer);
    return *data.Reports;
}

void ReportRunner::show(ReportComponents &reports, const QString &mainDataset, const QString &templateFile)
{
    reports.frReport1.setMainDataset(mainDataset);
    reports.frReport1.loadTemplate(reports.templatePath(templateFile));
    reports.frReport1.showReport();
}

void ReportRunner::design(ReportComponents &reports, const QString &mainDataset, const QString &templateFile)
{
    reports.frReport1.setMainDataset(mainDataset);
    reports.frReport1.loadTemplate(reports.templatePath(templateFile));
    reports.frReport1.designReport();
}

} // namespace kb
