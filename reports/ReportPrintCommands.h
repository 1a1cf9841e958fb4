#pragma once

#include "Period.h"

#include <functional>
#include <optional>

class QPrinter;

namespace kb {

class FormatSettings;
class ReportComponents;
class TDataForm;
class UiServices;

// The three print commands: ask for a period, prepare the data of the cash book, the account
// overview or the group overview, put the period into the company's Print1 and show the report.
class ReportPrintCommands
{
public:
    // Shows the period dialog; nullopt when the user cancelled.
    using AskPeriod = std::function<std::optional<Period>()>;

    ReportPrintCommands(TDataForm &data, UiServices &ui, const FormatSettings &formats, QPrinter &printer, AskPeriod askPeriod);

    // KasseTable filtered to the period during the report; the filter is removed in every case.
    void Kassenbuch1Click();
    void Kontenbersicht1Click();
    void Gruppenbersicht1Click();

private:
    void overview(const std::function<QStringList(const Period &)> &sql, const QString &templateFile);
    void setPrint1(const Period &period);
    ReportComponents &reports();

    TDataForm &m_data;
    UiServices &m_ui;
    const FormatSettings &m_formats;
    QPrinter &m_printer;
    AskPeriod m_askPeriod;
};

} // namespace kb
