#include "MemoryDataset.h"

#include "Errors.h"

#include <QTest>

using namespace kb;
using namespace kb::report;
using namespace kb::test;
using namespace Qt::StringLiterals;

class TstExpressions : public QObject
{
    Q_OBJECT

private:
    MemoryDataset m_row{{u"Betrag"_s, u"Anzahl"_s, u"Name"_s, u"Datum"_s, u"Leer"_s, u"E-mail"_s},
                        {{Value(Money::fromUnits(125000)), Value(qint64(3)), Value(u"Kasse"_s), Value(QDate(2007, 3, 15)),
                          Value(), Value(u"info@example.de"_s)}}};

    // The text a title object "[expression]" prints, with the row above as main dataset "D".
    PreparedReport evaluate(const QString &expression, const QString &format = {})
    {
        DatasetRegistry datasets;
        datasets.add(u"D"_s, m_row);
        ReportTemplate t;
        ReportObject o = textObject(u"Feld"_s, 0, 100, u"[%1]"_s.arg(expression));
        o.format = format;
        t.title = Band{5, {o}};
        return prepare(t, datasets, u"D"_s);
    }

private slots:
    void valuesFollowPrecedenceTypesAndFormats_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("text");
        QTest::newRow("product before sum") << u"1 + 2 * 3"_s << u"7"_s;
        QTest::newRow("parentheses first") << u"(1 + 2) * 3"_s << u"9"_s;
        QTest::newRow("left to right") << u"10 - 4 - 3"_s << u"3"_s;
        QTest::newRow("integer quotient is a number") << u"10 / 4"_s << u"2,5"_s;
        QTest::newRow("unary minus binds tightest") << u"-Anzahl + 1"_s << u"-2"_s;
        QTest::newRow("decimal literals are exact money") << u"FORMAT(0.1 + 0.2, 'number')"_s << u"0,3"_s;
        QTest::newRow("money shows in the currency format") << u"Betrag * 2"_s << u"25,00 €"_s;
        QTest::newRow("money quotient on the grid") << u"FORMAT(Betrag / 3, 'number')"_s << u"4,1667"_s;
        QTest::newRow("comparison, and, not") << u"1 + 2 = 3 and not (2 > 3)"_s << u"Wahr"_s;
        QTest::newRow("or") << u"Anzahl < 1 or Name = 'Kasse'"_s << u"Wahr"_s;
        QTest::newRow("IF takes the then branch") << u"IF(Anzahl > 2, 'viele', 'wenige')"_s << u"viele"_s;
        QTest::newRow("empty field is false") << u"IF(Leer, 'ja', 'nein')"_s << u"nein"_s;
        QTest::newRow("empty field counts as 0") << u"Leer + 1"_s << u"1"_s;
        QTest::newRow("plus joins texts") << u"'Konto ' + Name"_s << u"Konto Kasse"_s;
        QTest::newRow("ampersand joins anything") << u"Name & Anzahl"_s << u"Kasse3"_s;
        QTest::newRow("quote inside a text literal") << u"'Kasse''s'"_s << u"Kasse's"_s;
        QTest::newRow("date pattern") << u"FORMAT(Datum, 'date:MMMM yyyy')"_s << u"März 2007"_s;
        QTest::newRow("date plus days") << u"Datum + 30"_s << u"14.04.2007"_s;
        QTest::newRow("days between dates") << u"Datum - (Datum - 3)"_s << u"3"_s;
        QTest::newRow("fixed decimals with separators") << u"FORMAT(1234.5, 'number:2')"_s << u"1.234,50"_s;
        QTest::newRow("money format") << u"FORMAT(Betrag, 'money')"_s << u"12,50 €"_s;
        QTest::newRow("round half away from zero") << u"FORMAT(ROUND(2.345, 2), 'number')"_s << u"2,35"_s;
        QTest::newRow("text functions") << u"UPPER(Name) & LEN(Name)"_s << u"KASSE5"_s;
        QTest::newRow("qualified field") << u"D.Name"_s << u"Kasse"_s;
        QTest::newRow("quoted field name") << u"D.\"E-mail\""_s << u"info@example.de"_s;
        QTest::newRow("page variables") << u"PAGE & '/' & PAGES"_s << u"1/1"_s;
        QTest::newRow("date of preparation") << u"DATE"_s << u"02.04.2007"_s;
    }

    void valuesFollowPrecedenceTypesAndFormats()
    {
        QFETCH(QString, expression);
        QFETCH(QString, text);
        const PreparedReport r = evaluate(expression);
        QCOMPARE(r.pages.at(0).items.at(0).text, text);
    }

    void objectFormatAppliesToASingleExpression()
    {
        const PreparedReport r = evaluate(u"Betrag"_s, u"number:2"_s);
        QCOMPARE(r.pages[0].items[0].text, u"12,50"_s);
        QCOMPARE(r.pages[0].items[0].raw, Value(Money::fromUnits(125000)));
    }

    void errorsNameTheObjectAndTheExpression_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("reason");
        QTest::newRow("undefined field") << u"Unbekannt"_s << u"unknown field \"Unbekannt\" in D"_s;
        QTest::newRow("unknown dataset") << u"frDBDataSet9.Text"_s << u"unknown dataset \"frDBDataSet9\""_s;
        QTest::newRow("incomplete") << u"1 +"_s << u"unexpected end at position 4"_s;
        QTest::newRow("unclosed string") << u"'abc"_s << u"missing ']'"_s;
        QTest::newRow("type mismatch") << u"Name * 2"_s << u"cannot apply '*' to text and integer"_s;
        QTest::newRow("division by zero") << u"Betrag / 0"_s << u"division by zero"_s;
        QTest::newRow("unknown function") << u"FOO(1)"_s << u"unknown function FOO"_s;
        QTest::newRow("wrong argument count") << u"IF(1, 2)"_s << u"IF takes 3 argument(s)"_s;
    }

    void errorsNameTheObjectAndTheExpression()
    {
        QFETCH(QString, expression);
        QFETCH(QString, reason);
        try {
            evaluate(expression);
            QFAIL("no error");
        } catch (const Error &e) {
            QVERIFY2(e.text().startsWith(u"The object \"Feld\" in the title cannot be evaluated: "_s), qPrintable(e.text()));
            QVERIFY2(e.text().contains(expression), qPrintable(e.text()));
            QVERIFY2(e.text().endsWith(reason), qPrintable(e.text()));
        }
    }

    void moneySumsStayExact()
    {
        MemoryDataset rows({u"X"_s}, std::vector<std::vector<Value>>(1000, {Value(qint64(1))}));
        DatasetRegistry datasets;
        datasets.add(u"D"_s, rows);
        ReportTemplate t;
        DataSection section;
        section.detail = Band{0, {}};
        t.data.push_back(section);
        t.summary = Band{5, {textObject(u"Summe"_s, 0, 50, u"[SUM(0.1 + 0.2, report)]"_s)}};
        const PreparedReport r = prepare(t, datasets, u"D"_s);
        QCOMPARE(r.pages.back().items.back().raw, Value(Money::fromInteger(300)));
        QCOMPARE(r.pages.back().items.back().text, u"300,00 €"_s);
    }
};

QTEST_MAIN(TstExpressions)
#include "tst_expressions.moc"
