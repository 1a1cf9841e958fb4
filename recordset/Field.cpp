#include "Field.h"

#include "Cursor.h"
#include "Errors.h"
#include "TextForms.h"

#include <cmath>
#include <limits>

namespace kb {

namespace {

template <class... Ts>
struct Overloaded : Ts...
{
    using Ts::operator()...;
};

// The stored form of a date; anything else is no stored date.
QDate storedDate(const QString &text)
{
    if (text.size() != 10 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-'))
        return {};
    int digits[8];
    int n = 0;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        const int d = text.at(i).digitValue();
        if (d < 0)
            return {};
        digits[n++] = d;
    }
    const int year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
    return QDate(year, digits[4] * 10 + digits[5], digits[6] * 10 + digits[7]);
}

// Rounds to the nearest whole number, ties to even.
qint64 wholeNumberOf(double value)
{
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || std::fabs(rounded) >= 0x1p63)
        throw ConversionError::notAnInteger(TextForms::plainNumber(value));
    return static_cast<qint64>(rounded);
}

QString cutToWidth(const QString &text, int width)
{
    if (width <= 0 || text.size() <= width)
        return text;
    const int length = text.at(width - 1).isHighSurrogate() ? width - 1 : width;
    return text.left(length);
}

bool isIntegerType(FieldType type)
{
    return type == FieldType::AutoIncrement || type == FieldType::Integer || type == FieldType::ShortInteger;
}

} // namespace

Field::Field(QString name, FieldType type, int width)
    : m_name(std::move(name)), m_type(type), m_width(type == FieldType::Text ? width : 0)
{
}

Field::Field(const Field &other)
    : m_name(other.m_name), m_type(other.m_type), m_width(other.m_width), m_value(other.value()),
      m_modified(other.m_modified)
{
}

bool Field::isNumeric() const
{
    return isIntegerType(m_type) || m_type == FieldType::Money || m_type == FieldType::Double;
}

Field Field::withValue(const FieldValue &value) const
{
    Field copy(*this);
    copy.m_value = value;
    copy.m_modified = false;
    return copy;
}

QString Field::asString() const
{
    return std::visit(Overloaded{
                          [](std::monostate) { return QString(); },
                          [this](qint64 v) {
                              if (m_type == FieldType::Logical)
                                  return v != 0 ? trueText() : falseText();
                              return QString::number(v);
                          },
                          [this](double v) {
                              if (m_type == FieldType::Logical)
                                  return v != 0 ? trueText() : falseText();
                              return m_type == FieldType::Money ? TextForms::plainNumber(Money::fromDouble(v))
                                                                : TextForms::plainNumber(v);
                          },
                          [](Money v) { return TextForms::plainNumber(v); },
                          [](const QDate &v) { return TextForms::formatDate(v); },
                          [this](const QString &v) {
                              const QDate date = m_type == FieldType::Date ? storedDate(v) : QDate();
                              return date.isValid() ? TextForms::formatDate(date) : v;
                          },
                          [](Unread) -> QString { return {}; },
                      },
                      value());
}

qint64 Field::asInteger() const
{
    return std::visit(Overloaded{
                          [](std::monostate) -> qint64 { return 0; },
                          [](qint64 v) { return v; },
                          [](double v) { return wholeNumberOf(v); },
                          [](Money v) { return wholeNumberOf(v.toDouble()); },
                          [this](const QDate &) -> qint64 { failConversion(QStringLiteral("Integer")); },
                          [](const QString &v) { return v.isEmpty() ? 0 : TextForms::parseInteger(v); },
                          [](Unread) -> qint64 { return 0; },
                      },
                      value());
}

bool Field::asBoolean() const
{
    return std::visit(Overloaded{
                          [](std::monostate) { return false; },
                          [](qint64 v) { return v != 0; },
                          [](double v) { return v != 0; },
                          [](Money v) { return !v.isZero(); },
                          [this](const QDate &) -> bool { failConversion(QStringLiteral("Boolean")); },
                          [this](const QString &v) { return booleanOf(v); },
                          [](Unread) { return false; },
                      },
                      value());
}

Money Field::asMoney() const
{
    return std::visit(Overloaded{
                          [](std::monostate) { return Money(); },
                          [](qint64 v) { return Money::fromInteger(v); },
                          [](double v) { return Money::fromDouble(v); },
                          [](Money v) { return v; },
                          [this](const QDate &) -> Money { failConversion(QStringLiteral("Currency")); },
                          [](const QString &v) { return v.isEmpty() ? Money() : TextForms::parseMoney(v); },
                          [](Unread) { return Money(); },
                      },
                      value());
}

double Field::asFloat() const
{
    return std::visit(Overloaded{
                          [](std::monostate) { return 0.0; },
                          [](qint64 v) { return double(v); },
                          [](double v) { return v; },
                          [](Money v) { return v.toDouble(); },
                          [this](const QDate &) -> double { failConversion(QStringLiteral("Float")); },
                          [](const QString &v) { return v.isEmpty() ? 0.0 : TextForms::parseFloat(v); },
                          [](Unread) { return 0.0; },
                      },
                      value());
}

QDate Field::asDate() const
{
    if (const auto *date = std::get_if<QDate>(&value()))
        return *date;
    if (const auto *text = std::get_if<QString>(&m_value))
        return dateOf(*text);
    if (isNull())
        return {};
    failConversion(QStringLiteral("Date"));
}

void Field::clear()
{
    store(std::monostate());
}

void Field::setAsString(const QString &text)
{
    if (text.isEmpty()) {
        clear();
        return;
    }
    switch (m_type) {
    case FieldType::AutoIncrement:
    case FieldType::Integer:
    case FieldType::ShortInteger: {
        const qint64 value = TextForms::parseInteger(text);
        checkRange(value);
        store(value);
        break;
    }
    case FieldType::Logical: store(qint64(booleanOf(text) ? 1 : 0)); break;
    case FieldType::Money: store(TextForms::parseMoney(text)); break;
    case FieldType::Double: store(TextForms::parseFloat(text)); break;
    // Users type dates quickly: 5.4.07 and 05.04.2007 name the same day.
    case FieldType::Date: store(TextForms::parseDateLenient(text, QDate::currentDate())); break;
    case FieldType::Text:
    case FieldType::Memo: store(cutToWidth(text, m_width)); break;
    }
}

void Field::setAsInteger(qint64 value)
{
    switch (m_type) {
    case FieldType::AutoIncrement:
    case FieldType::Integer:
    case FieldType::ShortInteger:
        checkRange(value);
        store(value);
        break;
    case FieldType::Logical: store(qint64(value != 0 ? 1 : 0)); break;
    case FieldType::Money: store(Money::fromInteger(value)); break;
    case FieldType::Double: store(double(value)); break;
    case FieldType::Text:
    case FieldType::Memo: store(cutToWidth(QString::number(value), m_width)); break;
    case FieldType::Date: failConversion(QStringLiteral("Integer"));
    }
}

void Field::setAsBoolean(bool value)
{
    if (isIntegerType(m_type) || m_type == FieldType::Logical)
        store(qint64(value ? 1 : 0));
    else if (m_type == FieldType::Text || m_type == FieldType::Memo)
        store(cutToWidth(value ? trueText() : falseText(), m_width));
    else
        failConversion(QStringLiteral("Boolean"));
}

void Field::setAsMoney(Money value)
{
    switch (m_type) {
    case FieldType::Money: store(value); break;
    case FieldType::Double: store(value.toDouble()); break;
    case FieldType::Logical: store(qint64(value.isZero() ? 0 : 1)); break;
    case FieldType::AutoIncrement:
    case FieldType::Integer:
    case FieldType::ShortInteger: setAsInteger(wholeNumberOf(value.toDouble())); break;
    case FieldType::Text:
    case FieldType::Memo: store(cutToWidth(TextForms::plainNumber(value), m_width)); break;
    case FieldType::Date: failConversion(QStringLiteral("Currency"));
    }
}

void Field::setAsFloat(double value)
{
    if (!std::isfinite(value))
        throw ConversionError::notAFloat(QString::number(value));
    switch (m_type) {
    case FieldType::Money: store(Money::fromDouble(value)); break;
    case FieldType::Double: store(value); break;
    case FieldType::Logical: store(qint64(value != 0 ? 1 : 0)); break;
    case FieldType::AutoIncrement:
    case FieldType::Integer:
    case FieldType::ShortInteger: setAsInteger(wholeNumberOf(value)); break;
    case FieldType::Text:
    case FieldType::Memo: store(cutToWidth(TextForms::plainNumber(value), m_width)); break;
    case FieldType::Date: failConversion(QStringLiteral("Float"));
    }
}

void Field::setAsDate(const QDate &date)
{
    if (!date.isValid())
        clear();
    else if (m_type == FieldType::Date)
        store(date);
    else if (m_type == FieldType::Text || m_type == FieldType::Memo)
        store(cutToWidth(TextForms::formatDate(date), m_width));
    else
        failConversion(QStringLiteral("Date"));
}

void Field::setAsVariant(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType: clear(); break;
    case QMetaType::Bool: setAsBoolean(value.toBool()); break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: setAsInteger(value.toLongLong()); break;
    case QMetaType::Double:
    case QMetaType::Float: setAsFloat(value.toDouble()); break;
    case QMetaType::QDate: setAsDate(value.toDate()); break;
    default:
        if (value.isNull())
            clear();
        else
            setAsString(value.toString());
    }
}

void Field::assign(const FieldValue &value)
{
    std::visit(Overloaded{
                   [this](std::monostate) { clear(); },
                   [this](qint64 v) { setAsInteger(v); },
                   [this](double v) { setAsFloat(v); },
                   [this](Money v) { setAsMoney(v); },
                   [this](const QDate &v) { setAsDate(v); },
                   [this](const QString &v) {
                       const QDate date = m_type == FieldType::Date ? storedDate(v) : QDate();
                       if (date.isValid())
                           setAsDate(date);
                       else
                           setAsString(v);
                   },
                   [](Unread) {},
               },
               value);
}

void Field::fetchValue() const
{
    if (m_cursor)
        m_cursor->loadMissingValues(this);
}

void Field::store(FieldValue value)
{
    if (m_cursor)
        m_cursor->beforeFieldWrite(*this);
    m_value = std::move(value);
    m_modified = true;
    if (m_cursor)
        m_cursor->afterFieldWrite(*this);
}

void Field::checkRange(qint64 value) const
{
    const bool isShort = m_type == FieldType::ShortInteger;
    const qint64 lowest = isShort ? std::numeric_limits<qint16>::min() : std::numeric_limits<qint32>::min();
    const qint64 highest = isShort ? std::numeric_limits<qint16>::max() : std::numeric_limits<qint32>::max();
    if (value < lowest || value > highest)
        throw ConversionError(QStringLiteral("%1 ist kein gültiger Wert für das Feld '%2'. Der erlaubte Bereich ist %3 bis %4.")
                                  .arg(QString::number(value), m_name, QString::number(lowest),
                                       QString::number(highest)));
}

void Field::failConversion(const QString &target) const
{
    throw ConversionError(QStringLiteral("Das Feld '%1' kann nicht als %2 verwendet werden.").arg(m_name, target));
}

QDate Field::dateOf(const QString &text) const
{
    if (text.isEmpty())
        return {};
    const QDate stored = storedDate(text);
    return stored.isValid() ? stored : TextForms::parseDate(text);
}

bool Field::booleanOf(const QString &text) const
{
    if (text.isEmpty())
        return false;
    for (const QString &yes : {trueText(), QStringLiteral("True"), QStringLiteral("1")}) {
        if (text.compare(yes, Qt::CaseInsensitive) == 0)
            return true;
    }
    for (const QString &no : {falseText(), QStringLiteral("False"), QStringLiteral("0")}) {
        if (text.compare(no, Qt::CaseInsensitive) == 0)
            return false;
    }
    throw ConversionError(QStringLiteral("'%1' ist kein gültiger Boolescher Wert").arg(text));
}

} // namespace kb
