#include "CashCount.h"
#include "CashReconciliation.h"
#include "Errors.h"
#include "LedgerFixture.h"
#include "ScriptedUiServices.h"
#include "TextForms.h"
#include "UiCheck.h"

#include <QTest>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

using Pieces = QHash<QString, qint64>;
Q_DECLARE_METATYPE(Pieces)

class TstCashCount : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void storeCompletesTheCount_data();
    void storeCompletesTheCount();
    void storeRefusesAPieceCountOutOfRange_data();
    void storeRefusesAPieceCountOutOfRange();
    void bookedBalanceIsTheLastBookingUpToTheDay_data();
    void bookedBalanceIsTheLastBookingUpToTheDay();
    void reconciliationMessage_data();
    void reconciliationMessage();

private:
    // Stores a new count of 01.03.2007 with these pieces; the other fields stay empty.
    void storeCount(const Pieces &pieces);
    QString storedText(const QString &field) const;

    std::unique_ptr<LedgerFixture> m_fixture;
    ScriptedUiServices m_ui;
    std::unique_ptr<TDataForm> m_data;
};

void TstCashCount::init()
{
    m_fixture = std::make_unique<LedgerFixture>();
    m_ui = ScriptedUiServices();
    m_data = std::make_unique<TDataForm>(m_fixture->path(), m_ui);
}

void TstCashCount::cleanup()
{
    m_data.reset();
    m_fixture.reset();
    verifyNoUiProblems();
}

void TstCashCount::storeCount(const Pieces &pieces)
{
    Table &bkasse = m_data->BKasseTable;
    bkasse.append();
    bkasse.fieldByName(u"Datum"_s).setAsString(u"01.03.2007"_s);
    bkasse.fieldByName(u"KassenName"_s).setAsString(u"Kasse 1"_s);
    for (auto piece = pieces.begin(); piece != pieces.end(); ++piece)
        bkasse.fieldByName(piece.key()).setAsInteger(piece.value());
    bkasse.post();
}

// What the file holds, read back past the cursor.
QString TstCashCount::storedText(const QString &field) const
{
    Statement row = m_data->database()->prepare(u"SELECT \"%1\" FROM \"BKASSE\""_s.arg(field));
    return row.step() ? storedValue(row, 0) : u"no row"_s;
}

void TstCashCount::storeCompletesTheCount_data()
{
    QTest::addColumn<Pieces>("pieces");
    QTest::addColumn<QString>("summe");
    QTest::newRow("3 × 1 Cent, 1 × 50 Cent, 2 × 20 Euro")
        << Pieces{{u"1_Cent"_s, 3}, {u"50_Cent"_s, 1}, {u"20_Euro"_s, 2}} << u"40,53"_s;
    QTest::newRow("all empty") << Pieces{} << u"0"_s;
    QTest::newRow("one of each") << [] {
        Pieces all;
        for (const CashCount::Denomination &d : CashCount::denominations())
            all.insert(d.fieldName(), 1);
        return all;
    }() << u"888,88"_s;
    // 2,147,483,647 × 500 Euro overflows 32 bits many times over; the sum stays exact.
    QTest::newRow("the largest counts of the largest note and smallest coin")
        << Pieces{{u"500_Euro"_s, 2147483647}, {u"1_Cent"_s, 2147483647}} << u"1073763298336,47"_s;
}

void TstCashCount::storeCompletesTheCount()
{
    QFETCH(Pieces, pieces);
    QFETCH(QString, summe);
    storeCount(pieces);
    QCOMPARE(storedText(u"Summe"_s), summe);
    QCOMPARE(m_data->BKasseTable.fieldByName(u"Summe"_s).asMoney(), TextForms::parseMoney(summe));
    for (const CashCount::Denomination &d : CashCount::denominations())
        QCOMPARE(storedText(d.fieldName()), QString::number(pieces.value(d.fieldName(), 0)));
}

void TstCashCount::storeRefusesAPieceCountOutOfRange_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<qint64>("pieces");
    QTest::addColumn<QString>("error");
    QTest::newRow("negative coins") << u"2_Euro"_s << qint64(-1)
                                    << u"Die Stückzahl -1 für 2 Euro ist ungültig. Erlaubt sind 0 bis 2147483647 Stück."_s;
    QTest::newRow("negative notes") << u"50_Euro"_s << qint64(-3)
                                    << u"Die Stückzahl -3 für 50 Euro ist ungültig. Erlaubt sind 0 bis 2147483647 Stück."_s;
}

void TstCashCount::storeRefusesAPieceCountOutOfRange()
{
    QFETCH(QString, field);
    QFETCH(qint64, pieces);
    QFETCH(QString, error);
    try {
        storeCount({{u"1_Cent"_s, 5}, {field, pieces}});
        QFAIL("stored");
    } catch (const ConversionError &e) {
        QCOMPARE(e.text(), error);
    }
    QCOMPARE(storedText(u"Summe"_s), u"no row"_s);
    QVERIFY(m_data->BKasseTable.isEditing());
}

void TstCashCount::bookedBalanceIsTheLastBookingUpToTheDay_data()
{
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("booked");
    QTest::addColumn<QString>("current");
    // A on 01.03. 100, B on 02.03. −30, C on 02.03. +20, D on 05.03. +1.
    QTest::newRow("bookings on the day: the day's last") << u"02.03.2007"_s << u"90 02.03.2007"_s << u"C"_s;
    QTest::newRow("none on the day: the last before it") << u"04.03.2007"_s << u"90 02.03.2007"_s << u"C"_s;
    QTest::newRow("the first day") << u"01.03.2007"_s << u"100 01.03.2007"_s << u"A"_s;
    QTest::newRow("after the last booking") << u"31.12.2007"_s << u"91 05.03.2007"_s << u"D"_s;
    QTest::newRow("before every booking: none, never a later one") << u"28.02.2007"_s << u"none"_s << u""_s;
}

void TstCashCount::bookedBalanceIsTheLastBookingUpToTheDay()
{
    QFETCH(QString, day);
    QFETCH(QString, booked);
    QFETCH(QString, current);
    book(*m_data, u"A"_s, u"01.03.2007"_s, u"100"_s, Anfangsbestand);
    book(*m_data, u"B"_s, u"02.03.2007"_s, u"30"_s, Porto);
    book(*m_data, u"D"_s, u"05.03.2007"_s, u"1"_s, Anfangsbestand);
    book(*m_data, u"C"_s, u"02.03.2007"_s, u"20"_s, Anfangsbestand);
    Table &kasse = m_data->KasseTable;
    kasse.first();
    const auto found = CashReconciliation::lastBookingUpTo(kasse, TextForms::parseDate(day));
    QCOMPARE(found ? u"%1 %2"_s.arg(TextForms::plainNumber(found->balance), TextForms::formatDate(found->date)) : u"none"_s,
             booked);
    if (found)
        QCOMPARE(kasse.fieldByName(u"BelegNr"_s).asString(), current);
}

void TstCashCount::reconciliationMessage_data()
{
    QTest::addColumn<QString>("counted");
    QTest::addColumn<QString>("booked");  // empty: no booking up to the day
    QTest::addColumn<QString>("message");
    QTest::newRow("equal") << u"100,5"_s << u"100,5"_s
                           << u"Der gezählte Kassenbestand stimmt mit dem letzten Kassenbestand vom 02.03.2007 überein."_s;
    QTest::newRow("too little") << u"100"_s << u"100,5"_s
                                << u"Der gezählte Kassenbestand mit 100 Euro stimmt mit dem letzten Kassenbestand über 100,5 Euro "
                                   "vom 02.03.2007 nicht überein.\n\nEs sind 0,5 Euro zu wenig in der Kasse."_s;
    QTest::newRow("too much against a negative balance")
        << u"12,3"_s << u"-3,2"_s
        << u"Der gezählte Kassenbestand mit 12,3 Euro stimmt mit dem letzten Kassenbestand über -3,2 Euro "
           "vom 02.03.2007 nicht überein.\n\nEs sind 15,5 Euro zu viel in der Kasse."_s;
    QTest::newRow("no booking, empty till") << u"0"_s << QString()
        << u"Bis zum 03.03.2007 ist keine Buchung vorhanden, der gebuchte Kassenbestand ist 0 Euro. "
           "Der gezählte Kassenbestand stimmt damit überein."_s;
    QTest::newRow("no booking, money in the till") << u"40,53"_s << QString()
        << u"Bis zum 03.03.2007 ist keine Buchung vorhanden, der gebuchte Kassenbestand ist 0 Euro. "
           "Der gezählte Kassenbestand mit 40,53 Euro stimmt damit nicht überein.\n\nEs sind 40,53 Euro zu viel in der Kasse."_s;
}

void TstCashCount::reconciliationMessage()
{
    QFETCH(QString, counted);
    QFETCH(QString, booked);
    QFETCH(QString, message);
    std::optional<CashReconciliation::Booked> balance;
    if (!booked.isNull())
        balance = CashReconciliation::Booked{TextForms::parseMoney(booked), QDate(2007, 3, 2)};
    QCOMPARE(CashReconciliation::message(TextForms::parseMoney(counted), balance, QDate(2007, 3, 3)), message);
}

QTEST_MAIN(TstCashCount)
#include "tst_cashcount.moc"
