#include "ExportCommands.h"

#include "ApplicationContext.h"
#include "CommandRegistry.h"
#include "MainWindowServices.h"
#include "TExportForm.h"
#include "UiServices.h"

namespace kb {

void ExportCommands::install(ApplicationContext &context)
{
    context.commands.install(QStringLiteral("Buchungenexportieren1Click"), {QStringLiteral("Buchungenexportieren1")},
                             [&context] {
                                 Buchungenexportieren1Click(context.data, context.ui, context.clock, context.help,
                                                            &context.mainWindow.window());
                             });
}

void ExportCommands::Buchungenexportieren1Click(TDataForm &data, UiServices &ui, const Clock &clock,
                                                HelpViewer &help, QWidget *parent)
{
    TExportForm form(data, ui, clock, help, parent);
    ui.runModal(form);
}

} // namespace kb
