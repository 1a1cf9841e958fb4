#pragma once

#include <QStringList>

class QPrinter;

namespace kb {

struct ApplicationContext;
class FormatSettings;
class ReportComponents;
class TDataForm;
class UiServices;

// The three design commands: prepare the data of the cash book, the account overview or the
// group overview without a period and open its template in the report designer.
class DesignCommands
{
public:
    // Makes the designer available to the report object and installs the three handlers.
    static void install(ApplicationContext &context);

    DesignCommands(TDataForm &data, UiServices &ui, const FormatSettings &formats, QPrinter &printer);

    // All bookings of the current company; Print1 keeps what it holds.
    void Kassenbuch4Click();
    // All bookings of all companies; Print1 = "... bis ...".
    void Kontenbersicht2Click();
    void Gruppenbersicht2Click();

private:
    void overview(const QStringList &sql, const QString &templateFile);
    ReportComponents &reports();

    TDataForm &m_data;
    UiServices &m_ui;
    const FormatSettings &m_formats;
    QPrinter &m_printer;
};

} // namespace kb
