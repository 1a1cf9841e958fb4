#include "PeriodArithmetic.h"

namespace kb {

namespace {

QString number(int value)
{
    return QString::number(value);
}

PeriodTexts wholeYear(int year)
{
    return {QStringLiteral("01"), QStringLiteral("01"), number(year),
            QStringLiteral("31"), QStringLiteral("12"), number(year)};
}

PeriodTexts monthEndingOn(const QDate &last)
{
    return {QStringLiteral("01"), number(last.month()), number(last.year()),
            number(last.day()), number(last.month()), number(last.year())};
}

} // namespace

QDate PeriodArithmetic::lastDayOfMonth(int year, int month)
{
    const QDate firstOfNext = month == 12 ? QDate(year + 1, 1, 1) : QDate(year, month + 1, 1);
    return firstOfNext.addDays(-1);
}

PeriodTexts PeriodArithmetic::texts(QuickPeriod period, const QDate &today)
{
    switch (period) {
    case QuickPeriod::CurrentMonth:
        return monthEndingOn(lastDayOfMonth(today.year(), today.month()));
    case QuickPeriod::PreviousMonth:
        return monthEndingOn(QDate(today.year(), today.month(), 1).addDays(-1));
    case QuickPeriod::CurrentYear:
        return wholeYear(today.year());
    case QuickPeriod::PreviousYear:
        return wholeYear(today.year() - 1);
    }
    return {};
}

} // namespace kb
