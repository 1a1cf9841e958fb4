#pragma once

#include "Money.h"

#include <QDate>
#include <QString>

namespace kb {

// The text forms every conversion of the system uses: numbers in their plain form (up to 15
// significant digits, decimal comma, no thousands separator, no trailing zeros) and dates as
// DD.MM.YYYY. Reading throws ConversionError with the German texts.
class TextForms
{
public:
    static QString plainNumber(double value);
    static QString plainNumber(Money value);
    static QString plainNumber(qint64 value) { return QString::number(value); }

    static qint64 parseInteger(const QString &text);
    static double parseFloat(const QString &text);
    // Reads the decimal text exactly (no detour through double) and rounds it onto the grid.
    static Money parseMoney(const QString &text);

    static QString formatDate(const QDate &date);
    // Strict: day and month of one or two digits, a year of four; the year taken as written.
    static QDate parseDate(const QString &text);
    // Lenient, for typed entry: also "15.3." (current year) and two-digit years, taken within the
    // current year minus 50 to plus 49, as a shop owner means them.
    static QDate parseDateLenient(const QString &text, const QDate &today);
    // Throws "Ungültiges Argument zum Codieren des Datums" unless the three numbers form a date.
    static QDate encodeDate(qint64 year, qint64 month, qint64 day);
};

} // namespace kb
