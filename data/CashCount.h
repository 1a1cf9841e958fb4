#pragma once

#include "Money.h"

#include <QString>

#include <functional>
#include <span>

namespace kb {

class Table;

// The euro coins and notes a till is counted in, and the rule that completes a count record on
// every store: empty piece counts become 0 and Summe is the exact value of the count.
class CashCount
{
public:
    struct Denomination
    {
        const char *field;  // the count field of BKASSE.ADT
        const char *label;  // as the count dialog shows it: "1 Cent", "500 Euro"
        qint64 cents;       // face value
        QString fieldName() const { return QString::fromLatin1(field); }
        QString labelText() const { return QString::fromLatin1(label); }
    };

    // Coins from 1 Cent up, then notes from 5 Euro up: the order of the table's fields.
    static std::span<const Denomination> denominations();

    // Throws ConversionError naming the denomination unless pieces lies in 0 … 2,147,483,647.
    static void checkPieces(const Denomination &denomination, qint64 pieces);
    // The exact value of the pieces per denomination, computed in 64-bit integers so that no
    // count a field can hold overflows.
    static Money total(const std::function<qint64(const Denomination &)> &pieces);

    // The store rule of BKasseTable: fills empty counts with 0, refuses a piece count out of
    // range (nothing is stored) and sets Summe.
    static void completeBeforePost(Table &bkasse);
};

} // namespace kb
