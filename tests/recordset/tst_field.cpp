#include "Errors.h"
#include "Field.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kb;

Q_DECLARE_METATYPE(kb::FieldType)
Q_DECLARE_METATYPE(kb::FieldValue)

class TstField : public QObject
{
    Q_OBJECT

private slots:
    void readsTextForms_data();
    void readsTextForms();
    void emptyReadsNothing_data();
    void emptyReadsNothing();
    void writesTextForms_data();
    void writesTextForms();
    void refusesText_data();
    void refusesText();
    void cutsTextToWidth_data();
    void cutsTextToWidth();
    void checksIntegerRange_data();
    void checksIntegerRange();
    void takesStoredRealOntoMoneyGrid();
    void readsStoredDate();
};

void TstField::readsTextForms_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<FieldValue>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("money 12.50 in its plain form") << FieldType::Money << FieldValue(12.5) << u"12,5"_s;
    QTest::newRow("money 100.00 without decimals") << FieldType::Money << FieldValue(100.0) << u"100"_s;
    QTest::newRow("money keeps four decimals") << FieldType::Money << FieldValue(1.5966) << u"1,5966"_s;
    QTest::newRow("negative money") << FieldType::Money << FieldValue(Money::fromUnits(-32000)) << u"-3,2"_s;
    QTest::newRow("double percentage") << FieldType::Double << FieldValue(19.0) << u"19"_s;
    QTest::newRow("integer") << FieldType::Integer << FieldValue(qint64(-42)) << u"-42"_s;
    QTest::newRow("logical true") << FieldType::Logical << FieldValue(qint64(1)) << u"Wahr"_s;
    QTest::newRow("logical false") << FieldType::Logical << FieldValue(qint64(0)) << u"Falsch"_s;
    QTest::newRow("date") << FieldType::Date << FieldValue(QDate(2007, 3, 5)) << u"05.03.2007"_s;
}

void TstField::readsTextForms()
{
    QFETCH(FieldType, type);
    QFETCH(FieldValue, value);
    QFETCH(QString, text);
    QCOMPARE(Field(u"F"_s, type).withValue(value).asString(), text);
}

void TstField::emptyReadsNothing_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::newRow("money") << FieldType::Money;
    QTest::newRow("integer") << FieldType::Integer;
    QTest::newRow("logical") << FieldType::Logical;
    QTest::newRow("date") << FieldType::Date;
    QTest::newRow("text") << FieldType::Text;
}

void TstField::emptyReadsNothing()
{
    QFETCH(FieldType, type);
    const Field field(u"F"_s, type, 10);
    QVERIFY(field.isNull());
    QCOMPARE(field.asString(), QString());
    QCOMPARE(field.asInteger(), 0);
    QCOMPARE(field.asMoney(), Money());
    QCOMPARE(field.asFloat(), 0.0);
    QCOMPARE(field.asBoolean(), false);
    QCOMPARE(field.asDate(), QDate());
}

void TstField::writesTextForms_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("money with decimal comma") << FieldType::Money << u"23,80"_s << u"23,8"_s;
    QTest::newRow("money rounds onto the grid, ties to even") << FieldType::Money << u"0,00005"_s << u"0"_s;
    QTest::newRow("double") << FieldType::Double << u"7"_s << u"7"_s;
    QTest::newRow("date") << FieldType::Date << u"15.3.2007"_s << u"15.03.2007"_s;
    QTest::newRow("logical in any case") << FieldType::Logical << u"wahr"_s << u"Wahr"_s;
    QTest::newRow("short integer at its limit") << FieldType::ShortInteger << u"-32768"_s << u"-32768"_s;
    QTest::newRow("empty text empties") << FieldType::Money << QString() << QString();
}

void TstField::writesTextForms()
{
    QFETCH(FieldType, type);
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    Field field(u"F"_s, type);
    field.setAsString(text);
    QCOMPARE(field.asString(), readBack);
    QCOMPARE(field.isNull(), text.isEmpty());
}

void TstField::refusesText_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("integer") << FieldType::Integer << u"12a"_s << u"'12a' ist kein gültiger Integerwert"_s;
    QTest::newRow("money") << FieldType::Money << u"1.234,5"_s << u"'1.234,5' ist kein gültiger Gleitkommawert"_s;
    QTest::newRow("double") << FieldType::Double << u"x"_s << u"'x' ist kein gültiger Gleitkommawert"_s;
    QTest::newRow("date") << FieldType::Date << u"31.02.2007"_s << u"'31.02.2007' ist kein gültiges Datum"_s;
}

void TstField::refusesText()
{
    QFETCH(FieldType, type);
    QFETCH(QString, text);
    QFETCH(QString, message);
    Field field(u"F"_s, type);
    try {
        field.setAsString(text);
        QFAIL("no conversion error");
    } catch (const ConversionError &error) {
        QCOMPARE(error.text(), message);
    }
    QVERIFY(field.isNull());
}

void TstField::cutsTextToWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("shorter stays") << u"Porto"_s << u"Porto"_s;
    QTest::newRow("exactly the width stays") << u"Bürobedarf"_s << u"Bürobedarf"_s;
    QTest::newRow("longer is cut") << u"Bürobedarf und Porto"_s << u"Bürobedarf"_s;
    QTest::newRow("euro sign counts one") << u"€€€€€€€€€€€"_s << u"€€€€€€€€€€"_s;
}

void TstField::cutsTextToWidth()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    Field field(u"Kontoname"_s, FieldType::Text, 10);
    field.setAsString(text);
    QCOMPARE(field.asString(), stored);
}

void TstField::checksIntegerRange_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("short integer lowest") << FieldType::ShortInteger << qint64(-32768) << QString();
    QTest::newRow("short integer highest") << FieldType::ShortInteger << qint64(32767) << QString();
    QTest::newRow("short integer above")
        << FieldType::ShortInteger << qint64(32768)
        << u"32768 ist kein gültiger Wert für das Feld 'KontoID'. Der erlaubte Bereich ist -32768 bis 32767."_s;
    QTest::newRow("short integer below")
        << FieldType::ShortInteger << qint64(-32769)
        << u"-32769 ist kein gültiger Wert für das Feld 'KontoID'. Der erlaubte Bereich ist -32768 bis 32767."_s;
    QTest::newRow("integer above 32 bits")
        << FieldType::Integer << qint64(2147483648)
        << u"2147483648 ist kein gültiger Wert für das Feld 'KontoID'. Der erlaubte Bereich ist -2147483648 bis 2147483647."_s;
}

void TstField::checksIntegerRange()
{
    QFETCH(FieldType, type);
    QFETCH(qint64, value);
    QFETCH(QString, message);
    Field field(u"KontoID"_s, type);
    try {
        field.setAsInteger(value);
        QVERIFY2(message.isEmpty(), "no range error");
        QCOMPARE(field.asInteger(), value);
    } catch (const ConversionError &error) {
        QCOMPARE(error.text(), message);
        QVERIFY(field.isNull());
    }
}

void TstField::takesStoredRealOntoMoneyGrid()
{
    // 10 * 19 / 119 as SQLite hands it back
    const Field vat = Field(u"UMSTinEURO"_s, FieldType::Money).withValue(10.0 * 19 / 119);
    QCOMPARE(vat.asMoney(), Money::fromUnits(15966));
    QCOMPARE(vat.asString(), u"1,5966"_s);
}

void TstField::readsStoredDate()
{
    const Field date = Field(u"Datum"_s, FieldType::Date).withValue(u"2007-03-15"_s);
    QCOMPARE(date.asDate(), QDate(2007, 3, 15));
    QCOMPARE(date.asString(), u"15.03.2007"_s);
}

QTEST_MAIN(TstField)
#include "tst_field.moc"
