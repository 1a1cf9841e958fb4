#include "CashCountCommands.h"

#include "ApplicationContext.h"
#include "CommandRegistry.h"
#include "MainWindowServices.h"
#include "TBKasseForm.h"
#include "UiServices.h"

namespace kb {

void CashCountCommands::install(ApplicationContext &context)
{
    context.commands.install(QStringLiteral("BtnBKasseClick"),
                             {QStringLiteral("BtnBKasse"), QStringLiteral("Kassenauszhlung1")}, [&context] {
                                 TBKasseForm form(context, &context.mainWindow.window());
                                 context.ui.runModal(form);
                             });
}

} // namespace kb
