#pragma once

#include "CashCount.h"

#include <QByteArray>
#include <QPixmap>

namespace kb {

// Our own drawings of the euro coins and notes: coins as discs in their metal with the value
// (the 1 and 2 Euro coins two-coloured), notes as bills in their colour with the value, so that
// each is told apart by value and colour at a glance.
class DenominationPicture
{
public:
    static QByteArray svg(const CashCount::Denomination &denomination);
    static QPixmap pixmap(const CashCount::Denomination &denomination, const QSize &size);
    // The dialogs' icon: a note behind a coin.
    static QPixmap icon(const QSize &size);
};

} // namespace kb
