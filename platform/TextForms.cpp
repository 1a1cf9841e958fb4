#include "TextForms.h"

#include "Errors.h"

#include <QRegularExpression>

#include <cmath>

namespace kb {

namespace {

const QChar DecimalComma = QLatin1Char(',');

// Qt writes "1.5e-05"; the system's plain form writes "1,5E-5".
QString germanExponentForm(QString text)
{
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e < 0)
        return text;
    QString exponent = text.mid(e + 1);
    const bool negative = exponent.startsWith(QLatin1Char('-'));
    exponent.remove(QLatin1Char('+')).remove(QLatin1Char('-'));
    while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0')))
        exponent.remove(0, 1);
    return text.left(e) + QLatin1Char('E') + (negative ? QStringLiteral("-") : QString()) + exponent;
}

// A text whose numbers form no date is no date: the message names the text.
QDate dateOf(const QString &text, int year, int month, int day)
{
    if (!QDate::isValid(year, month, day))
        throw ConversionError::notADate(text);
    return QDate(year, month, day);
}

// Exponent forms and amounts too long for the exact reading; out of range is no valid number.
Money moneyFromFloatText(const QString &text)
{
    const double value = TextForms::parseFloat(text);
    try {
        return Money::fromDouble(value);
    } catch (const ConversionError &) {
        throw ConversionError::notAFloat(text);
    }
}

} // namespace

QString TextForms::plainNumber(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    text.replace(QLatin1Char('.'), DecimalComma);
    return germanExponentForm(text);
}

QString TextForms::plainNumber(Money value)
{
    const qint64 units = value.units();
    const quint64 magnitude = units < 0 ? quint64(-(units + 1)) + 1 : quint64(units);
    QString text = QString::number(magnitude / Money::UnitsPerOne);
    QString fraction = QStringLiteral("%1").arg(magnitude % Money::UnitsPerOne, 4, 10, QLatin1Char('0'));
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += DecimalComma + fraction;
    return units < 0 ? QLatin1Char('-') + text : text;
}

qint64 TextForms::parseInteger(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
    bool ok = false;
    const qint64 value = form.match(text).hasMatch() ? text.trimmed().toLongLong(&ok) : 0;
    if (!ok || value < INT32_MIN || value > INT32_MAX)
        throw ConversionError::notAnInteger(text);
    return value;
}

double TextForms::parseFloat(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*[+-]?(\\d+,?\\d*|,\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!form.match(text).hasMatch())
        throw ConversionError::notAFloat(text);
    QString c = text.trimmed();
    c.replace(DecimalComma, QLatin1Char('.'));
    bool ok = false;
    const double value = c.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw ConversionError::notAFloat(text);
    return value;
}

Money TextForms::parseMoney(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^\\s*([+-]?)(\\d*),?(\\d*)\\s*$"));
    const QRegularExpressionMatch m = plain.match(text);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty()) || m.captured(2).size() > 14)
        return moneyFromFloatText(text);
    const QString fraction = m.captured(3);
    qint64 units = m.captured(2).toLongLong() * Money::UnitsPerOne
        + QString(fraction.left(4)).leftJustified(4, QLatin1Char('0')).toLongLong();
    const QString rest = fraction.mid(4);
    if (!rest.isEmpty()) {
        const int first = rest.at(0).digitValue();
        const bool beyondHalf = rest.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]")));
        if (first > 5 || (first == 5 && (beyondHalf || (units & 1) != 0)))
            units += 1;
    }
    return Money::fromUnits(m.captured(1) == QLatin1String("-") ? -units : units);
}

QString TextForms::formatDate(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QDate TextForms::encodeDate(qint64 year, qint64 month, qint64 day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31
        || !QDate::isValid(int(year), int(month), int(day)))
        throw ConversionError::invalidDate();
    return QDate(int(year), int(month), int(day));
}

QDate TextForms::parseDate(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        throw ConversionError::notADate(text);
    return dateOf(text, m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
}

QDate TextForms::parseDateLenient(const QString &text, const QDate &today)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})(?:\\.(\\d{2}|\\d{4})?)?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        throw ConversionError::notADate(text);
    const QString yearText = m.captured(3);
    int year = yearText.isEmpty() ? today.year() : yearText.toInt();
    if (yearText.size() == 2) {
        const int century = today.year() / 100 * 100;
        year += century;
        if (year > today.year() + 49)
            year -= 100;
        else if (year < today.year() - 50)
            year += 100;
    }
    return dateOf(text, year, m.captured(2).toInt(), m.captured(1).toInt());
}

} // namespace kb
