#include "Errors.h"
#include "TextForms.h"

#include <QTest>

using namespace Qt::StringLiterals;
using kb::Money;
using kb::TextForms;

class TstTextForms : public QObject
{
    Q_OBJECT

private slots:
    void plainNumber_data();
    void plainNumber();
    void parseInteger_data();
    void parseInteger();
    void parseFloat_data();
    void parseFloat();
    void parseMoney_data();
    void parseMoney();
    void conversionErrors_data();
    void conversionErrors();
    void formatDate();
    void parseDate_data();
    void parseDate();
    void parseDateLenient_data();
    void parseDateLenient();
    void parseDateLenientRefuses_data();
    void parseDateLenientRefuses();
    void encodeDate_data();
    void encodeDate();
};

void TstTextForms::plainNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("onGrid");
    QTest::addColumn<QString>("expected");
    QTest::newRow("trailing zero dropped") << 12.50 << true << u"12,5"_s;
    QTest::newRow("whole number without decimals") << 100.0 << true << u"100"_s;
    QTest::newRow("zero") << 0.0 << true << u"0"_s;
    QTest::newRow("negative zero") << -0.0 << true << u"0"_s;
    QTest::newRow("negative") << -3.2 << true << u"-3,2"_s;
    QTest::newRow("no thousands separator") << 1234567.89 << true << u"1234567,89"_s;
    QTest::newRow("binary noise hidden by 15 digits") << 0.1 + 0.2 << true << u"0,3"_s;
    QTest::newRow("four decimals of a VAT amount") << 1.5966 << true << u"1,5966"_s;
    QTest::newRow("smallest negative amount") << -0.0001 << true << u"-0,0001"_s;
    QTest::newRow("15 significant digits") << 123456789.123456789 << false << u"123456789,123457"_s;
    QTest::newRow("tiny value in exponent form") << 0.000015 << false << u"1,5E-5"_s;
    QTest::newRow("huge value in exponent form") << 1.5e20 << false << u"1,5E20"_s;
}

void TstTextForms::plainNumber()
{
    QFETCH(double, value);
    QFETCH(bool, onGrid);
    QFETCH(QString, expected);
    QCOMPARE(TextForms::plainNumber(value), expected);
    if (onGrid)
        QCOMPARE(TextForms::plainNumber(Money::fromDouble(value)), expected);
}

void TstTextForms::parseInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    QTest::newRow("plain") << u"42"_s << qint64(42);
    QTest::newRow("signs") << u"-17"_s << qint64(-17);
    QTest::newRow("plus sign") << u"+5"_s << qint64(5);
    QTest::newRow("blanks around") << u" 7 "_s << qint64(7);
    QTest::newRow("leading zeros") << u"007"_s << qint64(7);
    QTest::newRow("largest") << u"2147483647"_s << qint64(2147483647);
    QTest::newRow("smallest") << u"-2147483648"_s << qint64(-2147483648LL);
}

void TstTextForms::parseInteger()
{
    QFETCH(QString, text);
    QFETCH(qint64, value);
    QCOMPARE(TextForms::parseInteger(text), value);
}

void TstTextForms::parseFloat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal comma") << u"12,5"_s << 12.5;
    QTest::newRow("whole") << u"100"_s << 100.0;
    QTest::newRow("negative") << u"-3,2"_s << -3.2;
    QTest::newRow("leading comma") << u",5"_s << 0.5;
    QTest::newRow("trailing comma") << u"5,"_s << 5.0;
    QTest::newRow("exponent") << u"1,5E3"_s << 1500.0;
    QTest::newRow("negative exponent") << u"25e-2"_s << 0.25;
    QTest::newRow("blanks around") << u" 7,25 "_s << 7.25;
}

void TstTextForms::parseFloat()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(TextForms::parseFloat(text), value);
}

void TstTextForms::parseMoney_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("units");
    QTest::newRow("four decimals exactly") << u"1,5966"_s << qint64(15966);
    QTest::newRow("whole") << u"100"_s << qint64(1000000);
    QTest::newRow("negative") << u"-3,2"_s << qint64(-32000);
    QTest::newRow("tie down to even") << u"0,00005"_s << qint64(0);
    QTest::newRow("tie up to even") << u"0,00015"_s << qint64(2);
    QTest::newRow("negative tie to even") << u"-0,00015"_s << qint64(-2);
    QTest::newRow("just beyond the tie") << u"0,000050001"_s << qint64(1);
    QTest::newRow("below the tie") << u"0,00004999"_s << qint64(0);
    QTest::newRow("fourteen whole digits") << u"12345678901234,5678"_s << qint64(123456789012345678);
    QTest::newRow("exponent form") << u"1,5E2"_s << qint64(1500000);
    QTest::newRow("leading comma") << u",5"_s << qint64(5000);
}

void TstTextForms::parseMoney()
{
    QFETCH(QString, text);
    QFETCH(qint64, units);
    QCOMPARE(TextForms::parseMoney(text).units(), units);
}

void TstTextForms::conversionErrors_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString integer = u"integer"_s;
    const QString decimal = u"float"_s;
    const QString amount = u"money"_s;
    QTest::newRow("empty integer") << integer << u""_s << u"'' ist kein gültiger Integerwert"_s;
    QTest::newRow("letters as integer") << integer << u"abc"_s << u"'abc' ist kein gültiger Integerwert"_s;
    QTest::newRow("decimal as integer") << integer << u"1,5"_s << u"'1,5' ist kein gültiger Integerwert"_s;
    QTest::newRow("integer beyond 32 bits") << integer << u"2147483648"_s
                                            << u"'2147483648' ist kein gültiger Integerwert"_s;
    QTest::newRow("empty float") << decimal << u""_s << u"'' ist kein gültiger Gleitkommawert"_s;
    QTest::newRow("lone minus") << decimal << u"-"_s << u"'-' ist kein gültiger Gleitkommawert"_s;
    QTest::newRow("decimal point") << decimal << u"1.5"_s << u"'1.5' ist kein gültiger Gleitkommawert"_s;
    QTest::newRow("two commas") << decimal << u"1,2,3"_s << u"'1,2,3' ist kein gültiger Gleitkommawert"_s;
    QTest::newRow("thousands separator") << decimal << u"1.234,5"_s
                                         << u"'1.234,5' ist kein gültiger Gleitkommawert"_s;
    QTest::newRow("blank amount") << amount << u" "_s << u"' ' ist kein gültiger Gleitkommawert"_s;
    QTest::newRow("amount with currency") << amount << u"12,50 €"_s
                                          << u"'12,50 €' ist kein gültiger Gleitkommawert"_s;
    QTest::newRow("amount beyond the grid") << amount << u"1E20"_s
                                            << u"'1E20' ist kein gültiger Gleitkommawert"_s;
}

void TstTextForms::conversionErrors()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, message);
    try {
        if (kind == u"integer")
            TextForms::parseInteger(text);
        else if (kind == u"float")
            TextForms::parseFloat(text);
        else
            TextForms::parseMoney(text);
        QFAIL("no conversion error");
    } catch (const kb::ConversionError &error) {
        QCOMPARE(error.text(), message);
    }
}

void TstTextForms::formatDate()
{
    QCOMPARE(TextForms::formatDate(QDate(2007, 3, 5)), u"05.03.2007"_s);
    QCOMPARE(TextForms::formatDate(QDate(812, 12, 31)), u"31.12.0812"_s);
    QCOMPARE(TextForms::formatDate(QDate()), QString());
}

void TstTextForms::parseDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("error");
    QTest::newRow("two digit day and month") << u"05.03.2007"_s << QDate(2007, 3, 5) << QString();
    QTest::newRow("one digit day and month") << u"5.3.2007"_s << QDate(2007, 3, 5) << QString();
    QTest::newRow("leap day") << u"29.02.2008"_s << QDate(2008, 2, 29) << QString();
    QTest::newRow("two digit year refused") << u"05.03.07"_s << QDate()
                                            << u"'05.03.07' ist kein gültiges Datum"_s;
    QTest::newRow("no leap day") << u"29.02.2007"_s << QDate()
                                 << u"'29.02.2007' ist kein gültiges Datum"_s;
    QTest::newRow("month 13") << u"01.13.2007"_s << QDate() << u"'01.13.2007' ist kein gültiges Datum"_s;
    QTest::newRow("ISO form refused") << u"2007-03-05"_s << QDate()
                                      << u"'2007-03-05' ist kein gültiges Datum"_s;
    QTest::newRow("empty") << QString() << QDate() << u"'' ist kein gültiges Datum"_s;
}

void TstTextForms::parseDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QFETCH(QString, error);
    try {
        QCOMPARE(TextForms::parseDate(text), date);
        QVERIFY2(error.isEmpty(), "no conversion error");
    } catch (const kb::ConversionError &e) {
        QCOMPARE(e.text(), error);
    }
}

void TstTextForms::parseDateLenient_data()
{
    const QDate today(2026, 6, 15);
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("full date") << u"05.03.2007"_s << QDate(2007, 3, 5);
    QTest::newRow("no year takes this year") << u"15.3."_s << QDate(today.year(), 3, 15);
    QTest::newRow("no year, no final dot") << u"15.3"_s << QDate(today.year(), 3, 15);
    QTest::newRow("two digit year of this century") << u"5.3.07"_s << QDate(2007, 3, 5);
    QTest::newRow("short day and month, long year") << u"5.4.2007"_s << QDate(2007, 4, 5);
    QTest::newRow("two digits each") << u"05.04.07"_s << QDate(2007, 4, 5);
    QTest::newRow("49 years ahead stays ahead") << u"1.1.75"_s << QDate(2075, 1, 1);
    QTest::newRow("50 years ahead is past") << u"1.1.76"_s << QDate(1976, 1, 1);
}

void TstTextForms::parseDateLenient()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(TextForms::parseDateLenient(text, QDate(2026, 6, 15)), date);
}

void TstTextForms::parseDateLenientRefuses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("year glued to the month") << u"15.32007"_s << u"'15.32007' ist kein gültiges Datum"_s;
    QTest::newRow("three digit year") << u"1.1.200"_s << u"'1.1.200' ist kein gültiges Datum"_s;
    QTest::newRow("day only") << u"15"_s << u"'15' ist kein gültiges Datum"_s;
    QTest::newRow("no such day") << u"31.4."_s << u"'31.4.' ist kein gültiges Datum"_s;
}

void TstTextForms::parseDateLenientRefuses()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    try {
        TextForms::parseDateLenient(text, QDate(2026, 6, 15));
        QFAIL("no conversion error");
    } catch (const kb::ConversionError &e) {
        QCOMPARE(e.text(), error);
    }
}

void TstTextForms::encodeDate_data()
{
    QTest::addColumn<qint64>("year");
    QTest::addColumn<qint64>("month");
    QTest::addColumn<qint64>("day");
    QTest::addColumn<bool>("valid");
    QTest::newRow("ordinary") << qint64(2007) << qint64(3) << qint64(5) << true;
    QTest::newRow("leap day") << qint64(2000) << qint64(2) << qint64(29) << true;
    QTest::newRow("no leap day in 1900") << qint64(1900) << qint64(2) << qint64(29) << false;
    QTest::newRow("month zero") << qint64(2007) << qint64(0) << qint64(5) << false;
    QTest::newRow("day 32") << qint64(2007) << qint64(1) << qint64(32) << false;
    QTest::newRow("year zero") << qint64(0) << qint64(1) << qint64(1) << false;
    QTest::newRow("year 10000") << qint64(10000) << qint64(1) << qint64(1) << false;
    QTest::newRow("month beyond int") << qint64(2007) << qint64(4294967297LL) << qint64(1) << false;
}

void TstTextForms::encodeDate()
{
    QFETCH(qint64, year);
    QFETCH(qint64, month);
    QFETCH(qint64, day);
    QFETCH(bool, valid);
    try {
        QCOMPARE(TextForms::encodeDate(year, month, day), QDate(int(year), int(month), int(day)));
        QVERIFY2(valid, "no conversion error");
    } catch (const kb::ConversionError &e) {
        QVERIFY2(!valid, qPrintable(e.text()));
        QCOMPARE(e.text(), u"Ungültiges Argument zum Codieren des Datums"_s);
    }
}

QTEST_MAIN(TstTextForms)
#include "tst_textforms.moc"
