#include "CashReconciliation.h"

#include "Table.h"
#include "TextForms.h"

namespace kb {

namespace {

QString euro(const Money &amount)
{
    return TextForms::plainNumber(amount);
}

QString difference(const Money &counted, const Money &booked)
{
    if (counted < booked)
        return QStringLiteral("Es sind %1 Euro zu wenig in der Kasse.").arg(euro(booked - counted));
    return QStringLiteral("Es sind %1 Euro zu viel in der Kasse.").arg(euro(counted - booked));
}

} // namespace

std::optional<CashReconciliation::Booked> CashReconciliation::lastBookingUpTo(Table &kasse, const QDate &day)
{
    const auto dateAt = [&kasse](int position) {
        kasse.moveTo(position);
        return kasse.fieldByName(QStringLiteral("Datum")).asDate();
    };
    // Invariant: positions below low are on or before day, positions from high on after it.
    int low = 0;
    int high = kasse.recordCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (dateAt(middle) <= day)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == 0)
        return std::nullopt;
    const QDate date = dateAt(low - 1);
    return Booked{kasse.fieldByName(QStringLiteral("Zeilenbestand")).asMoney(), date};
}

QString CashReconciliation::message(const Money &counted, const std::optional<Booked> &booked, const QDate &countDate)
{
    if (!booked) {
        const QString none = QStringLiteral("Bis zum %1 ist keine Buchung vorhanden, der gebuchte Kassenbestand ist 0 Euro.")
                                 .arg(TextForms::formatDate(countDate));
        if (counted.isZero())
            return none + QStringLiteral(" Der gezählte Kassenbestand stimmt damit überein.");
        return QStringLiteral("%1 Der gezählte Kassenbestand mit %2 Euro stimmt damit nicht überein.\n\n%3")
            .arg(none, euro(counted), difference(counted, Money()));
    }
    const QString date = TextForms::formatDate(booked->date);
    if (counted == booked->balance)
        return QStringLiteral("Der gezählte Kassenbestand stimmt mit dem letzten Kassenbestand vom %1 überein.").arg(date);
    return QStringLiteral("Der gezählte Kassenbestand mit %1 Euro stimmt mit dem letzten Kassenbestand über %2 Euro vom "
                          "%3 nicht überein.\n\n%4")
        .arg(euro(counted), euro(booked->balance), date, difference(counted, booked->balance));
}

} // namespace kb
