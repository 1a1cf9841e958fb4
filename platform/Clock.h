#pragma once

#include <QDate>
#include <QDateTime>

namespace kb {

// Where "today" comes from: the system clock in the program, a fixed moment in tests, so that
// period buttons, default file names and count dates can be checked on any date.
class Clock
{
public:
    virtual ~Clock();
    virtual QDateTime now() const;
    QDate today() const { return now().date(); }
};

// A clock that stands still at the moment it is given.
class FixedClock : public Clock
{
public:
    explicit FixedClock(const QDateTime &moment) : m_moment(moment) {}
    explicit FixedClock(const QDate &day) : m_moment(day.startOfDay()) {}

    QDateTime now() const override { return m_moment; }
    void set(const QDateTime &moment) { m_moment = moment; }

private:
    QDateTime m_moment;
};

} // namespace kb
