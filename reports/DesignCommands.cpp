#include "DesignCommands.h"

#include "ApplicationContext.h"
#include "CommandRegistry.h"
#include "ReportComponents.h"
#include "ReportDesigner.h"
#include "ReportRunner.h"
#include "ReportSql.h"
#include "TDataForm.h"

namespace kb {

void DesignCommands::install(ApplicationContext &context)
{
    auto commands = std::make_shared<DesignCommands>(context.data, context.ui, context.formats, context.printer);
    report::ReportDesigner::install(commands->reports().frReport1, context.ui);
    context.commands.install(QStringLiteral("Kassenbuch4Click"), {QStringLiteral("Kassenbuch4")}, [commands] { commands->Kassenbuch4Click(); });
    context.commands.install(QStringLiteral("Kontenbersicht2Click"), {QStringLiteral("Kontenbersicht2")},
                             [commands] { commands->Kontenbersicht2Click(); });
    context.commands.install(QStringLiteral("Gruppenbersicht2Click"), {QStringLiteral("Gruppenbersicht2")},
                             [commands] { commands->Gruppenbersicht2Click(); });
}

DesignCommands::DesignCommands(TDataForm &data, UiServices &ui, const FormatSettings &formats, QPrinter &printer)
    : m_data(data), m_ui(ui), m_formats(formats), m_printer(printer)
{
}

ReportComponents &DesignCommands::reports()
{
    return ReportRunner::components(m_data, m_ui, m_formats, m_printer);
}

void DesignCommands::Kassenbuch4Click()
{
    ReportRunner::design(reports(), QStringLiteral("frDBDataSet1"), QStringLiteral("Kassenbuch.frf"));
}

void DesignCommands::overview(const QStringList &sql, const QString &templateFile)
{
    m_data.Query.close();
    m_data.Query.setSql(sql);
    m_data.Query.open();
    m_data.FirmaTable.edit();
    m_data.FirmaTable.fieldByName(QStringLiteral("Print1")).setAsString(QStringLiteral("... bis ..."));
    ReportRunner::design(reports(), QStringLiteral("frDBDataSet3"), templateFile);
}

void DesignCommands::Kontenbersicht2Click()
{
    overview(ReportSql::accounts(nullptr, 0), QStringLiteral("Konten.frf"));
}

void DesignCommands::Gruppenbersicht2Click()
{
    overview(ReportSql::groups(nullptr, 0), QStringLiteral("Gruppen.frf"));
}

} // namespace kb
