#pragma once

// <version> first: moc cannot parse <compare> before the library's configuration is read.
#include <version>

#include <compare>
#include <cstdint>

namespace kb {

// A fixed-point amount in whole ten-thousandths. Every conversion from double and every
// multiplication or division rounds to the nearest ten-thousandth, ties to even.
class Money
{
public:
    static constexpr std::int64_t UnitsPerOne = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t units) { return Money(units); }
    static constexpr Money fromInteger(std::int64_t value) { return Money(value * UnitsPerOne); }
    static Money fromDouble(double value);

    constexpr std::int64_t units() const { return m_units; }
    double toDouble() const;
    constexpr bool isZero() const { return m_units == 0; }

    // Throws ConversionError for a division by zero.
    Money operator*(Money factor) const;
    Money operator/(Money divisor) const;

    constexpr Money operator+(Money other) const { return Money(m_units + other.m_units); }
    constexpr Money operator-(Money other) const { return Money(m_units - other.m_units); }
    constexpr Money operator-() const { return Money(-m_units); }
    Money &operator+=(Money other) { m_units += other.m_units; return *this; }
    Money &operator-=(Money other) { m_units -= other.m_units; return *this; }
    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};

} // namespace kb
