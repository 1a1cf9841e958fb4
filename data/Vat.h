#pragma once

#include "Money.h"

namespace kb {

// The VAT contained in a gross amount and the net amount, on the grid of 1/10000.
class Vat
{
public:
    // gross × percent ÷ (percent + 100), rounded once to the nearest 1/10000, ties to even; it has
    // the sign of gross. A percent of −100 is a ConversionError (division by zero).
    static Money contained(Money gross, Money percent);
    static Money net(Money gross, Money percent) { return gross - contained(gross, percent); }
};

} // namespace kb
