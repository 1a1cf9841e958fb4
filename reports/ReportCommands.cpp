#include "ReportCommands.h"

#include "ApplicationContext.h"
#include "CommandRegistry.h"
#include "MainWindowServices.h"
#include "ReportPrintCommands.h"
#include "TTimeSpanForm.h"

#include <memory>

namespace kb {

void ReportCommands::install(ApplicationContext &context)
{
    auto print = std::make_shared<ReportPrintCommands>(
        context.data, context.ui, context.formats, context.printer,
        [&context] { return TTimeSpanForm::ask(context.ui, context.clock, &context.mainWindow.window()); });
    context.commands.install(QStringLiteral("Kassenbuch1Click"),
                             {QStringLiteral("Kassenbuch1"), QStringLiteral("Kassenbuch2"), QStringLiteral("Kassenbuch3")},
                             [print] { print->Kassenbuch1Click(); });
    context.commands.install(QStringLiteral("Kontenbersicht1Click"),
                             {QStringLiteral("Kontenbersicht1"), QStringLiteral("Kontenbersicht3"),
                              QStringLiteral("Kontenbersicht4")},
                             [print] { print->Kontenbersicht1Click(); });
    context.commands.install(QStringLiteral("Gruppenbersicht1Click"),
                             {QStringLiteral("Gruppenbersicht1"), QStringLiteral("Gruppenbersicht3"),
                              QStringLiteral("Gruppenbersicht4")},
                             [print] { print->Gruppenbersicht1Click(); });
}

} // namespace kb
