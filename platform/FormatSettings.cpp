#include "FormatSettings.h"

namespace kb {

namespace {

// Whole units of the display grid, rounded half away from zero as amounts are shown.
qint64 displayUnits(Money amount, int decimals)
{
    qint64 divisor = 1;
    for (int i = decimals; i < 4; ++i)
        divisor *= 10;
    const qint64 units = amount.units();
    const qint64 magnitude = (units < 0 ? -units : units) + divisor / 2;
    const qint64 rounded = divisor == 1 ? units : magnitude / divisor;
    return units < 0 && divisor != 1 ? -rounded : rounded;
}

QString digitsWithSeparators(qint64 whole, bool separators)
{
    QString digits = QString::number(whole);
    if (separators) {
        for (qsizetype pos = digits.size() - 3; pos > 0; pos -= 3)
            digits.insert(pos, QLatin1Char('.'));
    }
    return digits;
}

QString formatFixed(Money amount, int decimals, bool separators)
{
    const int places = qBound(0, decimals, 4);
    const qint64 units = displayUnits(amount, places);
    qint64 scale = 1;
    for (int i = 0; i < places; ++i)
        scale *= 10;
    const qint64 magnitude = units < 0 ? -units : units;
    QString text = digitsWithSeparators(magnitude / scale, separators);
    if (places > 0)
        text += QLatin1Char(',') + QStringLiteral("%1").arg(magnitude % scale, places, 10, QLatin1Char('0'));
    return units < 0 ? QLatin1Char('-') + text : text;
}

} // namespace

QString FormatSettings::formatCurrency(Money amount) const
{
    const QString number = formatFixed(amount, currencyDecimals, true);
    return currencySymbol.isEmpty() ? number : number + QLatin1Char(' ') + currencySymbol;
}

QString FormatSettings::formatAmount(Money amount) const
{
    return formatFixed(amount, currencyDecimals, false);
}

} // namespace kb
