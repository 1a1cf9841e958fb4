#pragma once

#include <QDate>
#include <QStringList>

class QPrinter;
class QWidget;

namespace kb {

class TDataForm;
class UiServices;
struct ApplicationContext;

// The chart commands of the main window: account or group totals of a period as a pie chart in
// the chart window.
class ChartCommands
{
public:
    enum class Totals { Accounts, Groups };

    // Kontensummen1Click and Kontengruppen2Click: the period dialog, then the totals.
    static void install(ApplicationContext &context);

    // Totals the current company's bookings of first … last and shows them; without any, says so
    // and shows no window. The window is modal and gone when this returns.
    static void showTotals(TDataForm &data, UiServices &ui, QPrinter &printer, QWidget *parent, Totals totals,
                           const QDate &first, const QDate &last);

    static QStringList totalsSql(Totals totals, const QDate &first, const QDate &last, qint64 company);
    static QString title(Totals totals, const QDate &first, const QDate &last);
};

} // namespace kb
