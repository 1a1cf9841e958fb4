#pragma once

#include "Money.h"

#include <QDataStream>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <variant>

namespace kb::report {

// A typed value of the expression language. Money stays on the ten-thousandths grid through
// addition, subtraction and aggregation; only a Float ever carries binary rounding.
class Value
{
public:
    enum class Type { Null, Boolean, Integer, Money, Float, Date, DateTime, String };
    using Data = std::variant<std::monostate, bool, qint64, kb::Money, double, QDate, QDateTime, QString>;

    Value() = default;
    Value(bool v) : m_data(v) {}
    Value(qint64 v) : m_data(v) {}
    Value(int v) : m_data(qint64(v)) {}
    Value(kb::Money v) : m_data(v) {}
    Value(double v) : m_data(v) {}
    Value(const QDate &v) : m_data(v.isValid() ? Data(v) : Data()) {}
    Value(const QDateTime &v) : m_data(v) {}
    Value(const QString &v) : m_data(v) {}

    Type type() const { return Type(m_data.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isNumber() const { return type() == Type::Integer || type() == Type::Money || type() == Type::Float; }
    const Data &data() const { return m_data; }

    bool toBool() const;
    qint64 toInteger() const;
    // Integers and money exactly; a float rounded onto the grid.
    kb::Money toMoney() const;
    double toDouble() const;
    QDate toDate() const;

    bool operator==(const Value &) const = default;

private:
    Data m_data;
};

QDataStream &operator<<(QDataStream &out, const Value &value);
QDataStream &operator>>(QDataStream &in, Value &value);

} // namespace kb::report
