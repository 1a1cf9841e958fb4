#include "Value.h"

namespace kb::report {

bool Value::toBool() const
{
    switch (type()) {
    case Type::Null: return false;
    case Type::Boolean: return std::get<bool>(m_data);
    case Type::Integer: return std::get<qint64>(m_data) != 0;
    case Type::Money: return !std::get<kb::Money>(m_data).isZero();
    case Type::Float: return std::get<double>(m_data) != 0.0;
    case Type::Date: case Type::DateTime: return true;
    case Type::String: return !std::get<QString>(m_data).isEmpty();
    }
    return false;
}

qint64 Value::toInteger() const
{
    switch (type()) {
    case Type::Boolean: return std::get<bool>(m_data) ? 1 : 0;
    case Type::Integer: return std::get<qint64>(m_data);
    case Type::Money: return std::get<kb::Money>(m_data).units() / kb::Money::UnitsPerOne;
    case Type::Float: return qint64(std::get<double>(m_data));
    default: return 0;
    }
}

kb::Money Value::toMoney() const
{
    switch (type()) {
    case Type::Money: return std::get<kb::Money>(m_data);
    case Type::Float: return kb::Money::fromDouble(std::get<double>(m_data));
    default: return kb::Money::fromInteger(toInteger());
    }
}

double Value::toDouble() const
{
    switch (type()) {
    case Type::Money: return std::get<kb::Money>(m_data).toDouble();
    case Type::Float: return std::get<double>(m_data);
    default: return double(toInteger());
    }
}

QDate Value::toDate() const
{
    if (type() == Type::Date)
        return std::get<QDate>(m_data);
    if (type() == Type::DateTime)
        return std::get<QDateTime>(m_data).date();
    return {};
}

QDataStream &operator<<(QDataStream &out, const Value &value)
{
    out << quint8(value.type());
    std::visit([&out](const auto &v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, kb::Money>)
            out << qint64(v.units());
        else if constexpr (!std::is_same_v<T, std::monostate>)
            out << v;
    }, value.data());
    return out;
}

QDataStream &operator>>(QDataStream &in, Value &value)
{
    quint8 type = 0;
    in >> type;
    switch (Value::Type(type)) {
    case Value::Type::Null: value = Value(); break;
    case Value::Type::Boolean: { bool v = false; in >> v; value = Value(v); break; }
    case Value::Type::Integer: { qint64 v = 0; in >> v; value = Value(v); break; }
    case Value::Type::Money: { qint64 v = 0; in >> v; value = Value(kb::Money::fromUnits(v)); break; }
    case Value::Type::Float: { double v = 0; in >> v; value = Value(v); break; }
    case Value::Type::Date: { QDate v; in >> v; value = Value(v); break; }
    case Value::Type::DateTime: { QDateTime v; in >> v; value = Value(v); break; }
    case Value::Type::String: { QString v; in >> v; value = Value(v); break; }
    default: in.setStatus(QDataStream::ReadCorruptData); break;
    }
    return in;
}

} // namespace kb::report
