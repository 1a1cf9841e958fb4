#include "Vat.h"

#include "Errors.h"

namespace kb {

Money Vat::contained(Money gross, Money percent)
{
    // Multiplying the units exactly and dividing once keeps a single rounding; Money's own
    // multiplication would round the product first.
    std::int64_t product = 0;
    std::int64_t divisor = 0;
    const Money base = percent + Money::fromInteger(100);
    if (__builtin_mul_overflow(gross.units(), percent.units(), &product)
        || __builtin_mul_overflow(base.units(), Money::UnitsPerOne, &divisor))
        throw ConversionError(QStringLiteral("Arithmetischer Überlauf"));
    return Money::fromUnits(product) / Money::fromUnits(divisor);
}

} // namespace kb
