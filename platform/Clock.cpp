#include "Clock.h"

namespace kb {

Clock::~Clock() = default;

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace kb
