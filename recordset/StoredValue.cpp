#include "StoredValue.h"

#include "Database.h"
#include "Statement.h"

#include <stdexcept>

namespace kb {

namespace {

template <class... Ts>
struct Overloaded : Ts...
{
    using Ts::operator()...;
};

QString storedDate(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

// 'yyyy-mm-dd', else an invalid date.
QDate dateOf(QByteArrayView text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return {};
    int digits[8];
    int n = 0;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9')
            return {};
        digits[n++] = text[i] - '0';
    }
    return QDate(digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3], digits[4] * 10 + digits[5],
                 digits[6] * 10 + digits[7]);
}

int rank(const FieldValue &value)
{
    if (std::holds_alternative<std::monostate>(value) || std::holds_alternative<Unread>(value))
        return 0;
    if (std::holds_alternative<QString>(value) || std::holds_alternative<QDate>(value))
        return 2;
    return 1;
}

double numberOf(const FieldValue &value)
{
    if (const auto *i = std::get_if<qint64>(&value))
        return double(*i);
    if (const auto *m = std::get_if<Money>(&value))
        return m->toDouble();
    return std::get<double>(value);
}

QString textOf(const FieldValue &value)
{
    if (const auto *date = std::get_if<QDate>(&value))
        return storedDate(*date);
    return std::get<QString>(value);
}

template <typename T>
int sign(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

QString StoredValue::quoted(const QString &identifier)
{
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

void StoredValue::bind(Statement &statement, int index, const FieldValue &value)
{
    std::visit(Overloaded{
                   [&](std::monostate) { statement.bindNull(index); },
                   [&](qint64 v) { statement.bindInteger(index, v); },
                   [&](double v) { statement.bindDouble(index, v); },
                   [&](Money v) { statement.bindDouble(index, v.toDouble()); },
                   [&](const QDate &v) { statement.bindText(index, storedDate(v)); },
                   [&](const QString &v) { statement.bindText(index, v); },
                   [](Unread) { throw std::logic_error("a value that was never read cannot be written"); },
               },
               value);
}

FieldValue StoredValue::read(const Statement &statement, int column, FieldType type)
{
    switch (statement.storageClass(column)) {
    case Statement::StorageClass::Null: return std::monostate();
    case Statement::StorageClass::Integer: return statement.integer(column);
    case Statement::StorageClass::Real: return statement.real(column);
    case Statement::StorageClass::Text:
        if (type == FieldType::Date) {
            if (const QDate date = dateOf(statement.utf8(column)); date.isValid())
                return date;
        }
        return statement.text(column);
    case Statement::StorageClass::Blob: return statement.text(column);
    }
    return std::monostate();
}

int StoredValue::compare(const FieldValue &a, const FieldValue &b, bool collated)
{
    const int rankA = rank(a);
    const int rankB = rank(b);
    if (rankA != rankB || rankA == 0)
        return sign(rankA, rankB);
    if (rankA == 1) {
        const auto *intA = std::get_if<qint64>(&a);
        const auto *intB = std::get_if<qint64>(&b);
        return intA && intB ? sign(*intA, *intB) : sign(numberOf(a), numberOf(b));
    }
    if (const auto *dateA = std::get_if<QDate>(&a); dateA && std::holds_alternative<QDate>(b))
        return sign(*dateA, std::get<QDate>(b));
    const QString textA = textOf(a);
    const QString textB = textOf(b);
    return collated ? Database::compareText(textA, textB) : sign(textA.compare(textB), 0);
}

} // namespace kb
