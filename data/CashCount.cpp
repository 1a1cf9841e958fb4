#include "CashCount.h"

#include "Errors.h"
#include "Table.h"

#include <limits>

namespace kb {

namespace {

constexpr CashCount::Denomination Denominations[] = {
    {"1_Cent", "1 Cent", 1},          {"2_Cent", "2 Cent", 2},          {"5_Cent", "5 Cent", 5},
    {"10_Cent", "10 Cent", 10},       {"20_Cent", "20 Cent", 20},       {"50_Cent", "50 Cent", 50},
    {"1_Euro", "1 Euro", 100},        {"2_Euro", "2 Euro", 200},        {"5_Euro", "5 Euro", 500},
    {"10_Euro", "10 Euro", 1000},     {"20_Euro", "20 Euro", 2000},     {"50_Euro", "50 Euro", 5000},
    {"100_Euro", "100 Euro", 10000},  {"200_Euro", "200 Euro", 20000},  {"500_Euro", "500 Euro", 50000},
};

constexpr qint64 MostPieces = std::numeric_limits<qint32>::max();

} // namespace

std::span<const CashCount::Denomination> CashCount::denominations()
{
    return Denominations;
}

void CashCount::checkPieces(const Denomination &denomination, qint64 pieces)
{
    if (pieces < 0 || pieces > MostPieces)
        throw ConversionError(QStringLiteral("Die Stückzahl %1 für %2 ist ungültig. Erlaubt sind 0 bis %3 Stück.")
                                  .arg(QString::number(pieces), denomination.labelText(), QString::number(MostPieces)));
}

Money CashCount::total(const std::function<qint64(const Denomination &)> &pieces)
{
    qint64 cents = 0;
    for (const Denomination &denomination : Denominations)
        cents += pieces(denomination) * denomination.cents;
    return Money::fromUnits(cents * (Money::UnitsPerOne / 100));
}

void CashCount::completeBeforePost(Table &bkasse)
{
    for (const Denomination &denomination : Denominations) {
        Field &field = bkasse.fieldByName(denomination.fieldName());
        if (field.isNull())
            field.setAsInteger(0);
        checkPieces(denomination, field.asInteger());
    }
    bkasse.fieldByName(QStringLiteral("Summe")).setAsMoney(total([&bkasse](const Denomination &denomination) {
        return bkasse.fieldByName(denomination.fieldName()).asInteger();
    }));
}

} // namespace kb
