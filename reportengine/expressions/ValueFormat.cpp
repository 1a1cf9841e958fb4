#include "ValueFormat.h"

#include "Errors.h"
#include "TextForms.h"

#include <QLocale>

namespace kb::report {

namespace {

QString ownForm(const Value &value, const FormatSettings &formats)
{
    switch (value.type()) {
    case Value::Type::Null: return {};
    case Value::Type::Boolean: return value.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case Value::Type::Integer: return QString::number(value.toInteger());
    case Value::Type::Money: return formats.formatCurrency(value.toMoney());
    case Value::Type::Float: return TextForms::plainNumber(std::get<double>(value.data()));
    case Value::Type::Date: return TextForms::formatDate(value.toDate());
    case Value::Type::DateTime: {
        const QDateTime t = std::get<QDateTime>(value.data());
        return TextForms::formatDate(t.date()) + QLatin1Char(' ') + t.time().toString(QStringLiteral("HH:mm"));
    }
    case Value::Type::String: return std::get<QString>(value.data());
    }
    return {};
}

QString plainNumber(const Value &value)
{
    switch (value.type()) {
    case Value::Type::Money: return TextForms::plainNumber(value.toMoney());
    case Value::Type::Float: return TextForms::plainNumber(value.toDouble());
    case Value::Type::Integer: return QString::number(value.toInteger());
    default: return {};
    }
}

QString fixedNumber(const Value &value, int decimals)
{
    if (value.type() != Value::Type::Float && decimals <= 4) {
        // The program's own display rounding, on the exact grid.
        FormatSettings grouped;
        grouped.currencySymbol.clear();
        grouped.currencyDecimals = decimals;
        return grouped.formatCurrency(value.toMoney());
    }
    return QLocale(QLocale::German, QLocale::Germany).toString(value.toDouble(), 'f', decimals);
}

} // namespace

QString ValueFormat::format(const Value &value, const QString &format, const FormatSettings &formats)
{
    if (value.isNull())
        return {};
    if (format.isEmpty())
        return ownForm(value, formats);
    const QString kind = format.section(QLatin1Char(':'), 0, 0).trimmed().toLower();
    const QString argument = format.section(QLatin1Char(':'), 1);
    if (kind == QLatin1String("text"))
        return ownForm(value, formats);
    if (kind == QLatin1String("money"))
        return value.isNumber() ? formats.formatCurrency(value.toMoney()) : ownForm(value, formats);
    if (kind == QLatin1String("number")) {
        if (!value.isNumber())
            return ownForm(value, formats);
        if (argument.isEmpty())
            return plainNumber(value);
        bool ok = false;
        const int decimals = argument.toInt(&ok);
        if (!ok || decimals < 0 || decimals > 10)
            throw Error(QStringLiteral("unknown format \"%1\"").arg(format));
        return fixedNumber(value, decimals);
    }
    if (kind == QLatin1String("date")) {
        const QDate date = value.toDate();
        if (!date.isValid())
            return ownForm(value, formats);
        return argument.isEmpty() ? TextForms::formatDate(date) : QLocale(QLocale::German).toString(date, argument);
    }
    throw Error(QStringLiteral("unknown format \"%1\"").arg(format));
}

} // namespace kb::report
