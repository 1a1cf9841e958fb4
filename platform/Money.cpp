#include "Money.h"

#include "Errors.h"

#include <cmath>
#include <algorithm>
#include <limits>

#include <QString>

namespace kb {

namespace {

using Wide = __int128;

ConversionError overflow()
{
    return ConversionError(QStringLiteral("Arithmetischer Überlauf"));
}

// Quotient of numerator / denominator rounded to the nearest integer, ties to even.
std::int64_t divideHalfEven(Wide numerator, Wide denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    Wide quotient = numerator / denominator;
    Wide remainder = numerator % denominator;
    if (remainder < 0) {
        quotient -= 1;
        remainder += denominator;
    }
    const Wide twice = remainder * 2;
    if (twice > denominator || (twice == denominator && (quotient & 1) != 0))
        quotient += 1;
    if (quotient > std::numeric_limits<std::int64_t>::max()
        || quotient < std::numeric_limits<std::int64_t>::min())
        throw overflow();
    return static_cast<std::int64_t>(quotient);
}

} // namespace

Money Money::fromDouble(double value)
{
    if (!std::isfinite(value))
        throw ConversionError::notAFloat(QString::number(value));
    // A double within a hair of a grid point is that point (1.5966 read back from a REAL column);
    // otherwise its decimal expansion decides, so a printed tie such as 0.00005 rounds to even.
    const double scaled = value * UnitsPerOne;
    if (std::fabs(scaled) >= 0x1p63)
        throw overflow();
    const double nearest = std::nearbyint(scaled);
    if (std::fabs(scaled - nearest) < 1e-6 * std::max(1.0, std::fabs(scaled)))
        return Money(static_cast<std::int64_t>(nearest));
    const QString decimal = QString::number(value, 'f', 12);
    const qsizetype point = decimal.indexOf(QLatin1Char('.'));
    const bool negative = decimal.startsWith(QLatin1Char('-'));
    const QString integerPart = decimal.left(point).remove(QLatin1Char('-'));
    const QString fraction = decimal.mid(point + 1);
    const Wide fractionUnits = fraction.toLongLong();
    Wide units = Wide(integerPart.toLongLong()) * Wide(1000000000000LL) + fractionUnits;
    if (negative)
        units = -units;
    return Money(divideHalfEven(units, 100000000LL));
}

double Money::toDouble() const
{
    return static_cast<double>(m_units) / UnitsPerOne;
}

Money Money::operator*(Money factor) const
{
    return Money(divideHalfEven(Wide(m_units) * factor.m_units, UnitsPerOne));
}

Money Money::operator/(Money divisor) const
{
    if (divisor.m_units == 0)
        throw ConversionError(QStringLiteral("Division durch Null"));
    return Money(divideHalfEven(Wide(m_units) * UnitsPerOne, divisor.m_units));
}

} // namespace kb
