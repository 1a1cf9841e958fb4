#pragma once

#include "Money.h"

#include <QString>

namespace kb {

// The program-wide number and currency formats, set once at start and passed to whoever shows
// amounts. Currency amounts: thousands separator ".", decimal comma, the symbol after a blank.
class FormatSettings
{
public:
    QString currencySymbol = QStringLiteral("€");
    int currencyDecimals = 2;

    // 1234.5 -> "1.234,50 €", -1234.5 -> "-1.234,50 €"; no blank or symbol when it is empty.
    QString formatCurrency(Money amount) const;
    // The same without symbol and thousands separator: the form an amount takes while edited.
    QString formatAmount(Money amount) const;
};

} // namespace kb
