#include "ShortDateText.h"

#include <QRegularExpression>

namespace kb {

namespace {

int completedYear(int written, int digits, const QDate &today)
{
    if (digits > 2)
        return written;
    const int earliest = today.year() - 50;
    return earliest + ((written - earliest) % 100 + 100) % 100;
}

} // namespace

std::optional<QDate> ShortDateText::read(const QString &text, const QDate &today)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{1,9})\\s*\\.\\s*(\\d{1,9})\\s*\\.\\s*(\\d{1,4})\\s*\\.?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int year = completedYear(m.captured(3).toInt(), int(m.capturedLength(3)), today);
    const int month = m.captured(2).toInt();
    const int day = m.captured(1).toInt();
    if (year < 1 || !QDate::isValid(year, month, day))
        return std::nullopt;
    return QDate(year, month, day);
}

} // namespace kb
