#pragma once

#include <QDate>
#include <QString>

namespace kb {

enum class QuickPeriod { CurrentMonth, PreviousMonth, CurrentYear, PreviousYear };

// The six texts of the period fields: day, month and year of the first and of the last day.
struct PeriodTexts
{
    QString VonT;
    QString VonM;
    QString VonJ;
    QString BisT;
    QString BisM;
    QString BisJ;
    bool operator==(const PeriodTexts &) const = default;
};

// The month and year arithmetic of the quick-period buttons, shared by the period dialog and the
// export. Numbers are written without leading zeros, except the fixed "01", "12" and "31".
class PeriodArithmetic
{
public:
    // The day before the first of the following month, so the calendar itself gives the length.
    static QDate lastDayOfMonth(int year, int month);
    static PeriodTexts texts(QuickPeriod period, const QDate &today);
};

} // namespace kb
