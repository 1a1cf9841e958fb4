#pragma once

#include <QDate>

namespace kb {

// A first and a last day, both included.
struct Period
{
    QDate first;
    QDate last;
    bool operator==(const Period &) const = default;
};

} // namespace kb
