#include "ExportCommands.h"

#include "TExportForm.h"
#include "UiServices.h"

namespace kb {

void ExportCommands::Buchungenexportieren1Click(TDataForm &data, UiServices &ui, const Clock &clock,
                                                HelpViewer &help, QWidget *parent)
{
    TExportForm form(data, ui, clock, help, parent);
    ui.runModal(form);
}

} // namespace kb
