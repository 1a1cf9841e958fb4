#pragma once

#include <QString>

class QPrinter;

namespace kb {

class FormatSettings;
class ReportComponents;
class TDataForm;
class UiServices;

// What every caller of the report object does: reach frReport1, set the main dataset, load a
// template of Data/ and show or design the report. The print commands, the designer commands and
// the cash count's printout share it.
class ReportRunner
{
public:
    // The data module's report components, made on first use.
    static ReportComponents &components(TDataForm &data, UiServices &ui, const FormatSettings &formats, QPrinter &printer);

    // Sets the main dataset, loads "Data/<templateFile>" (a missing file throws "Datei %s kann
    // nicht geöffnet werden" with the full path) and shows the report in the preview.
    static void show(ReportComponents &reports, const QString &mainDataset, const QString &templateFile);
    // The same, then the designer on the loaded template.
    static void design(ReportComponents &reports, const QString &mainDataset, const QString &templateFile);
};

} // namespace kb
