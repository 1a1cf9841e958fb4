#pragma once

#include "Money.h"

#include <QDate>
#include <QString>

#include <optional>

namespace kb {

class Table;

// The comparison of a counted till with the booked cash balance of the current company.
class CashReconciliation
{
public:
    struct Booked
    {
        Money balance;  // Zeilenbestand of the booking
        QDate date;     // its Datum
    };

    // The last booking of the journal cursor (ordered by Datum, Nr) dated on or before day; the
    // cursor is left on it. nullopt when every booking lies after day: a later booking says
    // nothing about the till on that day. Found by bisection, so a long journal costs a few reads.
    static std::optional<Booked> lastBookingUpTo(Table &kasse, const QDate &day);

    // The information text: agreement, or the difference and whether the till holds too little
    // or too much. Without a booking the booked balance is 0 and the text says so.
    static QString message(const Money &counted, const std::optional<Booked> &booked, const QDate &countDate);
};

} // namespace kb
