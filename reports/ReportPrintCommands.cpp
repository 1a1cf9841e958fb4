#include "ReportPrintCommands.h"

#include "ReportComponents.h"
#include "ReportRunner.h"
#include "ReportSql.h"
#include "TDataForm.h"

namespace kb {

ReportPrintCommands::ReportPrintCommands(TDataForm &data, UiServices &ui, const FormatSettings &formats, QPrinter &printer,
                                         AskPeriod askPeriod)
    : m_data(data), m_ui(ui), m_formats(formats), m_printer(printer), m_askPeriod(std::move(askPeriod))
{
}

ReportComponents &ReportPrintCommands::reports()
{
    return ReportRunner::components(m_data, m_ui, m_formats, m_printer);
}

void ReportPrintCommands::setPrint1(const Period &period)
{
    m_data.FirmaTable.edit();
    m_data.FirmaTable.fieldByName(QStringLiteral("Print1")).setAsString(ReportSql::periodText(period));
}

void ReportPrintCommands::Kassenbuch1Click()
{
    const auto removeFilter = [this] {
        m_data.KasseTable.setFilter({});
        m_data.KasseTable.setFiltered(false);
    };
    try {
        const std::optional<Period> period = m_askPeriod();
        if (period) {
            m_data.KasseTable.setFilter(ReportSql::cashBookFilter(*period));
            m_data.KasseTable.setFiltered(true);
            setPrint1(*period);
            ReportRunner::show(reports(), QStringLiteral("frDBDataSet1"), QStringLiteral("Kassenbuch.frf"));
        }
    } catch (...) {
        removeFilter();
        throw;
    }
    removeFilter();
}

void ReportPrintCommands::overview(const std::function<QStringList(const Period &)> &sql, const QString &templateFile)
{
    const std::optional<Period> period = m_askPeriod();
    if (!period)
        return;
    m_data.Query.close();
    m_data.Query.setSql(sql(*period));
    m_data.Query.open();
    setPrint1(*period);
    ReportRunner::show(reports(), QStringLiteral("frDBDataSet3"), templateFile);
}

void ReportPrintCommands::Kontenbersicht1Click()
{
    overview([this](const Period &p) { return ReportSql::accounts(&p, m_data.FirmaTable.fieldByName(QStringLiteral("ID")).asInteger()); },
             QStringLiteral("Konten.frf"));
}

void ReportPrintCommands::Gruppenbersicht1Click()
{
    overview([this](const Period &p) { return ReportSql::groups(&p, m_data.FirmaTable.fieldByName(QStringLiteral("ID")).asInteger()); },
             QStringLiteral("Gruppen.frf"));
}

} // namespace kb
