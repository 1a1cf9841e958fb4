#include "SearchCommands.h"

#include "ApplicationContext.h"
#include "CommandRegistry.h"
#include "MainWindowServices.h"
#include "TDataForm.h"
#include "TSearchForm.h"
#include "UiServices.h"

namespace kb {

void SearchCommands::install(ApplicationContext &context)
{
    context.commands.install(QStringLiteral("BtnSearchClick"), {QStringLiteral("BtnSearch"), QStringLiteral("Vorgangsuchen1")},
                             [&context] { BtnSearchClick(context.data, context.ui, &context.mainWindow.window()); });
}

void SearchCommands::BtnSearchClick(TDataForm &data, UiServices &ui, QWidget *parent)
{
    TSearchForm form(data, ui, parent);
    if (ui.runModal(form) != QDialog::Accepted)
        return;
    if (const std::optional<qint64> nr = form.selectedNr())
        data.KasseTable.locate(QStringLiteral("Nr"), *nr);
}

} // namespace kb
