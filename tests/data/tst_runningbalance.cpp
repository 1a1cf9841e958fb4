#include "UiCheck.h"
#include "Errors.h"
#include "LedgerFixture.h"
#include "ScriptedUiServices.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

class TstRunningBalance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void storingAnEarlierBookingRenumbersTheLaterOnes();
    void deletingTheFirstBookingShiftsEveryBalance();
    void changingABookingRenumbersTheJournal_data();
    void changingABookingRenumbersTheJournal();
    void bookingsOfAnotherCompanyStayUntouched();
    void balancesOfRealAmountsStayOnTheGrid();
    void aFailingWalkLeavesTheFileAsItWas_data();
    void aFailingWalkLeavesTheFileAsItWas();
    void theWalkReportsItsProgress();
    void aDamagedJournalIsRepairedAtOpenAndOnCompanyChange_data();
    void aDamagedJournalIsRepairedAtOpenAndOnCompanyChange();
    void randomStoresAndDeletesKeepTheInvariant();

private:
    enum Operation { NewBeforeOthers, AmountChanged, FirstDeleted };

    QByteArray fileBytes() const
    {
        QFile file(DataDirectorySetup::databasePath(m_fixture->path()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A on 01.03. 100 adding, B on 02.03. 30 minus, C on 02.03. 20 adding, entered in this order.
    void bookABC();
    QStringList journal() const { return kb::test::journal(*m_data->database(), Beispielfirma); }
    QString currentBelegNr() const { return m_data->KasseTable.fieldByName(u"BelegNr"_s).asString(); }
    bool locate(const QString &belegNr) { return m_data->KasseTable.locate(u"BelegNr"_s, belegNr); }

    std::unique_ptr<LedgerFixture> m_fixture;
    ScriptedUiServices m_ui;
    std::unique_ptr<TDataForm> m_data;
};

namespace {

class RecordedProgress : public Progress
{
public:
    QStringList calls;
    void setMaximum(int maximum) override { calls << u"maximum %1"_s.arg(maximum); }
    void setPosition(int position) override { calls << u"position %1"_s.arg(position); }
    void reset() override { calls << u"reset"_s; }
};

} // namespace

void TstRunningBalance::init()
{
    m_fixture = std::make_unique<LedgerFixture>();
    m_fixture->execute({u"INSERT INTO \"FIRMA\" (\"Firma\") VALUES ('Zweitfirma')"_s});
    m_ui = ScriptedUiServices();
    m_data = std::make_unique<TDataForm>(m_fixture->path(), m_ui);
}

void TstRunningBalance::cleanup()
{
    m_data.reset();
    m_fixture.reset();
    kb::test::verifyNoUiProblems();
}

void TstRunningBalance::bookABC()
{
    book(*m_data, u"A"_s, u"01.03.2007"_s, u"100"_s, Anfangsbestand);
    book(*m_data, u"B"_s, u"02.03.2007"_s, u"30"_s, Porto);
    book(*m_data, u"C"_s, u"02.03.2007"_s, u"20"_s, Anfangsbestand);
    QCOMPARE(journal(), QStringList({u"A 1 100"_s, u"B 2 70"_s, u"C 3 90"_s}));
}

void TstRunningBalance::storingAnEarlierBookingRenumbersTheLaterOnes()
{
    bookABC();
    book(*m_data, u"D"_s, u"01.03.2007"_s, u"10"_s, Porto);

    QCOMPARE(journal(), QStringList({u"A 1 100"_s, u"D 2 90"_s, u"B 3 60"_s, u"C 4 80"_s}));
    QCOMPARE(currentBelegNr(), u"D"_s);
    QCOMPARE(m_data->KasseTable.fieldByName(u"lfdNr"_s).asInteger(), 2);
}

void TstRunningBalance::deletingTheFirstBookingShiftsEveryBalance()
{
    bookABC();
    book(*m_data, u"D"_s, u"01.03.2007"_s, u"10"_s, Porto);
    QVERIFY(locate(u"A"_s));
    m_data->KasseTable.deleteRecord();

    QCOMPARE(journal(), QStringList({u"D 1 -10"_s, u"B 2 -40"_s, u"C 3 -20"_s}));
    QCOMPARE(currentBelegNr(), u"D"_s);
}

void TstRunningBalance::changingABookingRenumbersTheJournal_data()
{
    QTest::addColumn<QString>("belegNr");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("moved to the start") << u"C"_s << u"Datum"_s << u"01.01.2007"_s
                                        << QStringList({u"C 1 20"_s, u"A 2 120"_s, u"D 3 110"_s, u"B 4 80"_s});
    QTest::newRow("moved behind the next booking") << u"A"_s << u"Datum"_s << u"02.03.2007"_s
                                                   << QStringList({u"D 1 -10"_s, u"A 2 90"_s, u"B 3 60"_s, u"C 4 80"_s});
    QTest::newRow("amount changed in the middle") << u"D"_s << u"Buchungsbetrag"_s << u"50"_s
                                                  << QStringList({u"A 1 100"_s, u"D 2 50"_s, u"B 3 20"_s, u"C 4 40"_s});
    QTest::newRow("only the text changed") << u"A"_s << u"Text"_s << u"Wechselgeld"_s
                                           << QStringList({u"A 1 100"_s, u"D 2 90"_s, u"B 3 60"_s, u"C 4 80"_s});
}

void TstRunningBalance::changingABookingRenumbersTheJournal()
{
    QFETCH(QString, belegNr);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QStringList, expected);

    bookABC();
    book(*m_data, u"D"_s, u"01.03.2007"_s, u"10"_s, Porto);
    QVERIFY(locate(belegNr));
    m_data->KasseTable.edit();
    m_data->KasseTable.fieldByName(field).setAsString(value);
    m_data->KasseTable.post();

    QCOMPARE(journal(), expected);
    // The journal cursor stays on the booking and shows its new number and balance.
    QCOMPARE(currentBelegNr(), belegNr);
    const QString shown = u"%1 %2 %3"_s.arg(belegNr, m_data->KasseTable.fieldByName(u"lfdNr"_s).asString(),
                                             m_data->KasseTable.fieldByName(u"Zeilenbestand"_s).asString());
    QVERIFY2(expected.contains(shown), qPrintable(shown));
}

void TstRunningBalance::bookingsOfAnotherCompanyStayUntouched()
{
    // Numbers a walk over its own company would never give: any write to them shows.
    m_data->database()->execute(
        u"INSERT INTO \"KASSE\" (\"Firma_ID\", \"Datum\", \"BelegNr\", \"Buchungsbetrag\", \"Minuskonto\", \"lfdNr\", "
        "\"Zeilenbestand\") VALUES (2, '2007-01-01', 'X', 5, 0, 7, 1), (2, '2007-06-01', 'Y', 5, 1, 9, 2)"_s);
    bookABC();
    book(*m_data, u"D"_s, u"01.03.2007"_s, u"10"_s, Porto);
    QVERIFY(locate(u"A"_s));
    m_data->KasseTable.deleteRecord();

    QCOMPARE(kb::test::journal(*m_data->database(), 2), QStringList({u"X 7 1"_s, u"Y 9 2"_s}));
}

void TstRunningBalance::balancesOfRealAmountsStayOnTheGrid()
{
    for (int i = 1; i <= 10; ++i)
        book(*m_data, QString::number(i), u"01.03.2007"_s, u"0,1"_s, Anfangsbestand);

    Statement last = m_data->database()->prepare(
        u"SELECT \"Zeilenbestand\" FROM \"KASSE\" WHERE \"lfdNr\" IN (3, 10) ORDER BY \"lfdNr\""_s);
    QVERIFY(last.step());
    QCOMPARE(last.real(0), 0.3);
    QVERIFY(last.step());
    QCOMPARE(last.real(0), 1.0);
    QCOMPARE(m_data->BalanceBefore(QString()).units(), 10000);
}

void TstRunningBalance::aFailingWalkLeavesTheFileAsItWas_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QStringList>("repaired");

    QTest::newRow("a booking stored before others")
        << int(NewBeforeOthers) << QStringList({u"A 1 100"_s, u"D 2 90"_s, u"B 3 60"_s, u"C 4 80"_s});
    QTest::newRow("an amount changed") << int(AmountChanged) << QStringList({u"A 1 100"_s, u"B 2 60"_s, u"C 3 80"_s});
    QTest::newRow("the first booking deleted") << int(FirstDeleted) << QStringList({u"B 1 -30"_s, u"C 2 -10"_s});
}

// The booking's write and its walk are one transaction: when the walk fails half-way, not one
// byte of the file has changed, the booking is still being edited with what was typed, and the
// same store or delete succeeds once the cause is gone.
void TstRunningBalance::aFailingWalkLeavesTheFileAsItWas()
{
    QFETCH(int, operation);
    QFETCH(QStringList, repaired);

    bookABC();
    m_data->database()->execute(u"CREATE TRIGGER walk_fails BEFORE UPDATE OF \"Zeilenbestand\" ON \"KASSE\" "
                                "WHEN NEW.\"BelegNr\" = 'C' BEGIN SELECT RAISE(ABORT, 'Platte voll'); END"_s);
    const QByteArray before = fileBytes();
    Table &kasse = m_data->KasseTable;
    const auto attempt = [&] {
        if (operation == FirstDeleted)
            kasse.deleteRecord();
        else
            kasse.post();
    };
    if (operation == NewBeforeOthers) {
        kasse.append();
        kasse.fieldByName(u"BelegNr"_s).setAsString(u"D"_s);
        kasse.fieldByName(u"Datum"_s).setAsString(u"01.03.2007"_s);
        kasse.fieldByName(u"Buchungsbetrag"_s).setAsString(u"10"_s);
        kasse.fieldByName(u"KontoID"_s).setAsInteger(Porto);
    } else if (operation == AmountChanged) {
        QVERIFY(locate(u"B"_s));
        kasse.edit();
        kasse.fieldByName(u"Buchungsbetrag"_s).setAsString(u"40"_s);
    } else {
        QVERIFY(locate(u"A"_s));
    }
    const CursorState state = kasse.state();
    try {
        attempt();
        QFAIL("the walk did not fail");
    } catch (const EngineError &e) {
        QVERIFY2(e.text().contains(u"Platte voll"_s), qPrintable(e.text()));
    }
    QCOMPARE(fileBytes(), before);
    QCOMPARE(kasse.state(), state);
    QCOMPARE(currentBelegNr(), operation == FirstDeleted ? u"A"_s : operation == AmountChanged ? u"B"_s : u"D"_s);
    if (operation == AmountChanged)
        QCOMPARE(kasse.fieldByName(u"Buchungsbetrag"_s).asString(), u"40"_s);

    m_data->database()->execute(u"DROP TRIGGER walk_fails"_s);
    attempt();
    QCOMPARE(kasse.state(), CursorState::Browse);
    QCOMPARE(journal(), repaired);
}

void TstRunningBalance::theWalkReportsItsProgress()
{
    bookABC();
    RecordedProgress progress;
    m_data->setProgress(&progress);
    book(*m_data, u"D"_s, u"01.03.2007"_s, u"10"_s, Porto);
    m_data->setProgress(nullptr);

    QVERIFY(progress.calls.size() >= 3);
    QCOMPARE(progress.calls.first(), u"maximum 4"_s);
    QCOMPARE(progress.calls.mid(progress.calls.size() - 2), QStringList({u"position 4"_s, u"reset"_s}));
}

void TstRunningBalance::aDamagedJournalIsRepairedAtOpenAndOnCompanyChange_data()
{
    QTest::addColumn<QString>("damage");

    QTest::newRow("a number twice") << u"\"lfdNr\" = 1"_s;
    QTest::newRow("a number missing") << u"\"lfdNr\" = NULL"_s;
    QTest::newRow("a balance off by a cent") << u"\"Zeilenbestand\" = \"Zeilenbestand\" + 0.01"_s;
    QTest::newRow("a balance missing") << u"\"Zeilenbestand\" = NULL"_s;
}

// A file whose journal is wrong in the middle (an old file, a restored backup): the last booking
// is right, so only a check of every row finds it.
void TstRunningBalance::aDamagedJournalIsRepairedAtOpenAndOnCompanyChange()
{
    QFETCH(QString, damage);

    bookABC();
    m_data->FirmaTable.moveTo(1);
    book(*m_data, u"X"_s, u"01.03.2007"_s, u"5"_s, Anfangsbestand);
    book(*m_data, u"Y"_s, u"02.03.2007"_s, u"6"_s, Anfangsbestand);
    book(*m_data, u"Z"_s, u"03.03.2007"_s, u"7"_s, Anfangsbestand);
    m_data->FirmaTable.moveTo(0);
    const QStringList other = kb::test::journal(*m_data->database(), 2);
    m_data->CloseTables();
    m_fixture->execute({u"UPDATE \"KASSE\" SET %1 WHERE \"BelegNr\" IN ('B', 'Y')"_s.arg(damage)});

    m_data->OpenTables();
    QCOMPARE(journal(), QStringList({u"A 1 100"_s, u"B 2 70"_s, u"C 3 90"_s}));
    QVERIFY(kb::test::journal(*m_data->database(), 2) != other);
    m_data->FirmaTable.moveTo(1);
    QCOMPARE(kb::test::journal(*m_data->database(), 2), other);
}

namespace {

// The journal the invariant demands, computed from the stored amounts and flags alone.
QStringList expectedJournal(const Database &db, qint64 company)
{
    Statement rows = db.prepare(QStringLiteral(
        "SELECT \"BelegNr\", \"Buchungsbetrag\", \"Minuskonto\" FROM \"KASSE\" WHERE \"Firma_ID\" = ?1"
        " ORDER BY \"Datum\", \"Nr\""));
    rows.bindInteger(1, company);
    QStringList lines;
    Money balance;
    for (int k = 1; rows.step(); ++k) {
        const Money amount = Money::fromDouble(rows.real(1));
        balance += rows.integer(2) != 0 ? -amount : amount;
        lines.append(u"%1 %2 %3"_s.arg(rows.text(0)).arg(k).arg(TextForms::plainNumber(balance)));
    }
    return lines;
}

} // namespace

// Stores at random places, changed dates and amounts, deletes and switches of the company, each
// followed by a comparison of the whole file with the invariant computed from scratch.
void TstRunningBalance::randomStoresAndDeletesKeepTheInvariant()
{
    QRandomGenerator random(20071231);
    const int accounts[] = {Anfangsbestand, Erloese19, Erloese7, Buerobedarf, Porto, Kassendifferenz};
    const auto someDate = [&random] { return u"%1.0%2.2007"_s.arg(1 + random.bounded(28), 2, 10, QLatin1Char('0')).arg(1 + random.bounded(3)); };
    const auto someAmount = [&random] { return u"%1,%2"_s.arg(random.bounded(500)).arg(random.bounded(10000), 4, 10, QLatin1Char('0')); };
    for (int step = 0; step < 300; ++step) {
        Table &kasse = m_data->KasseTable;
        const int action = random.bounded(10);
        if (action < 5 || kasse.recordCount() == 0) {
            book(*m_data, u"S%1"_s.arg(step), someDate(), someAmount(), accounts[random.bounded(6)]);
        } else if (action < 8) {
            kasse.moveTo(random.bounded(kasse.recordCount()));
            kasse.edit();
            if (action == 5)
                kasse.fieldByName(u"Datum"_s).setAsString(someDate());
            else if (action == 6)
                kasse.fieldByName(u"Buchungsbetrag"_s).setAsString(someAmount());
            else
                kasse.fieldByName(u"KontoID"_s).setAsInteger(accounts[random.bounded(6)]);
            kasse.post();
        } else if (action == 8) {
            kasse.moveTo(random.bounded(kasse.recordCount()));
            kasse.deleteRecord();
        } else {
            // A booking still being entered when the company changes belongs to the company it
            // was entered in, with that company's balance.
            const qint64 entered = m_data->FirmaTable.fieldByName(u"ID"_s).asInteger();
            const QString pending = u"P%1"_s.arg(step);
            if (random.bounded(2) == 0) {
                kasse.append();
                kasse.fieldByName(u"BelegNr"_s).setAsString(pending);
                kasse.fieldByName(u"Datum"_s).setAsString(someDate());
                kasse.fieldByName(u"Buchungsbetrag"_s).setAsString(someAmount());
                kasse.fieldByName(u"KontoID"_s).setAsInteger(accounts[random.bounded(6)]);
            }
            m_data->FirmaTable.moveTo(random.bounded(2));
            kasse.post();
            Statement owner = m_data->database()->prepare(u"SELECT \"Firma_ID\" FROM \"KASSE\" WHERE \"BelegNr\" = ?1"_s);
            owner.bindText(1, pending);
            if (owner.step())
                QCOMPARE(owner.integer(0), entered);
            m_data->EnsureLfdNr();
        }
        for (const qint64 company : {Beispielfirma, qint64(2)})
            QCOMPARE(kb::test::journal(*m_data->database(), company), expectedJournal(*m_data->database(), company));
    }
}

QTEST_MAIN(TstRunningBalance)
#include "tst_runningbalance.moc"
