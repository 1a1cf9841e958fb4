#include "UiCheck.h"
#include "Errors.h"
#include "LedgerFixture.h"
#include "ScriptedUiServices.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

class TstDataModule : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsOnTheLastBookingAsEntryDefaults();
    void aMissingTableRefusesStart_data();
    void aMissingTableRefusesStart();
    void closedTablesHoldNoFileOpen();
    void upgradeAddsTheSequenceNumberOnce();
    void upgradeLeavesAnExistingFieldInOtherCase_data();
    void upgradeLeavesAnExistingFieldInOtherCase();
    void aFailingUpgradeRefusesStart();
    void nextBelegNrCountsTheTrailingDigits_data();
    void nextBelegNrCountsTheTrailingDigits();

private:
    std::unique_ptr<LedgerFixture> m_fixture;
    ScriptedUiServices m_ui;
};

namespace {

const QString UpgradeMessage = u"Eine Aktualisierung wird durchgeführt.\n\n"
                               "Abhängig von der Datenmenge kann dieser Vorgang einige Minuten in Anspruch nehmen."_s;

// KASSE as an older version wrote it: without lfdNr (and so without the index over it).
const QStringList WithoutSequenceNumber{u"DROP INDEX \"KASSE_BALANCE\""_s,
                                        u"ALTER TABLE \"KASSE\" DROP COLUMN \"lfdNr\""_s};

const QString TwoCompaniesBookings =
    u"INSERT INTO \"KASSE\" (\"Firma_ID\", \"Datum\", \"BelegNr\", \"Buchungsbetrag\", \"Minuskonto\") VALUES "
    "(1, '2007-03-02', 'B', 30, 1), (1, '2007-03-01', 'A', 100, 0), (2, '2007-03-01', 'X', 5, 0)"_s;

QStringList columnNames(const Database &db, const QString &table)
{
    QStringList names;
    for (const ColumnInfo &column : db.columns(table))
        names.append(column.name);
    return names;
}

// Every file this process holds open.
QStringList openFiles()
{
    QStringList files;
    for (const QFileInfo &fd : QDir(u"/proc/self/fd"_s).entryInfoList(QDir::Files | QDir::System))
        files.append(fd.symLinkTarget());
    return files;
}

} // namespace

void TstDataModule::init()
{
    m_fixture = std::make_unique<LedgerFixture>();
    m_ui = ScriptedUiServices();
}

void TstDataModule::cleanup()
{
    const QStringList problems = m_ui.problems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    m_fixture.reset();
    kb::test::verifyNoUiProblems();
}

void TstDataModule::startsOnTheLastBookingAsEntryDefaults()
{
    m_fixture->execute({u"INSERT INTO \"KASSE\" (\"Firma_ID\", \"Datum\", \"BelegNr\", \"Buchungsbetrag\", "
                        "\"Kontoname\", \"KontoID\", \"Text\", \"Minuskonto\") VALUES "
                        "(1, '2007-03-15', 'B-0041', 12.5, 'Bürobedarf', 4, 'Papier', 1), "
                        "(1, '2007-03-01', 'B-0040', 99, 'Porto', 5, 'Marken', 1)"_s});
    TDataForm data(m_fixture->path(), m_ui);

    const LastEntryValues &last = data.LastEntry();
    QCOMPARE(QStringList({last.Datum, last.BelegNr, last.Buchungsbetrag, last.Kontoname, last.KontoID, last.Text}),
             QStringList({u"15.03.2007"_s, u"B-0041"_s, u"12,5"_s, u"Bürobedarf"_s, u"4"_s, u"Papier"_s}));
    QVERIFY(data.KasseTable.eof());
}

void TstDataModule::aMissingTableRefusesStart_data()
{
    QTest::addColumn<QString>("table");
    for (const TableDef &table : SchemaCatalogue::tables())
        QTest::newRow(qPrintable(table.name)) << table.name;
}

void TstDataModule::aMissingTableRefusesStart()
{
    QFETCH(QString, table);
    m_fixture->execute({u"DROP TABLE \"%1\""_s.arg(table)});

    try {
        TDataForm data(m_fixture->path(), m_ui);
        QFAIL("started without a table");
    } catch (const EngineError &e) {
        QVERIFY2(e.text().contains(table, Qt::CaseInsensitive), qPrintable(e.text()));
    }
    QVERIFY(!openFiles().contains(QFileInfo(DataDirectorySetup::databasePath(m_fixture->path())).canonicalFilePath()));
}

void TstDataModule::closedTablesHoldNoFileOpen()
{
    m_fixture->execute({TwoCompaniesBookings});
    TDataForm data(m_fixture->path(), m_ui);
    const QString file = QFileInfo(DataDirectorySetup::databasePath(m_fixture->path())).canonicalFilePath();
    QVERIFY(openFiles().contains(file));

    data.CloseTables();
    QVERIFY(!openFiles().contains(file));
    QVERIFY(!data.KasseTable.isOpen());

    data.OpenTables();
    QVERIFY(data.MailTable.isOpen());
    QVERIFY(data.EditKasseTable.isOpen());
    QCOMPARE(data.KasseTable.recordCount(), 2);
}

void TstDataModule::upgradeAddsTheSequenceNumberOnce()
{
    m_fixture->execute(WithoutSequenceNumber + QStringList{TwoCompaniesBookings});
    {
        TDataForm data(m_fixture->path(), m_ui);
        QCOMPARE(m_ui.texts(), QStringList({UpgradeMessage}));
        QVERIFY(columnNames(*data.database(), u"KASSE"_s).contains(u"LFDNR"_s));
        // The current company is numbered as the tables open; the other one when it becomes current.
        QCOMPARE(journal(*data.database(), Beispielfirma), QStringList({u"A 1 100"_s, u"B 2 70"_s}));
        QCOMPARE(journal(*data.database(), 2), QStringList({u"X - -"_s}));

        data.EnsureLfdNr();
        QCOMPARE(data.KasseTable.fieldByName(u"BelegNr"_s).asString(), u"A"_s);
    }
    TDataForm again(m_fixture->path(), m_ui);
    QCOMPARE(m_ui.texts(), QStringList({UpgradeMessage}));
}

void TstDataModule::upgradeLeavesAnExistingFieldInOtherCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("upper case") << u"LFDNR"_s;
    QTest::newRow("lower case") << u"lfdnr"_s;
}

void TstDataModule::upgradeLeavesAnExistingFieldInOtherCase()
{
    QFETCH(QString, name);
    m_fixture->execute({u"ALTER TABLE \"KASSE\" RENAME COLUMN \"lfdNr\" TO \"%1\""_s.arg(name)});
    Database before(DataDirectorySetup::databasePath(m_fixture->path()));
    const QStringList columns = columnNames(before, u"KASSE"_s);

    TDataForm data(m_fixture->path(), m_ui);
    QCOMPARE(m_ui.texts(), QStringList());
    QCOMPARE(columnNames(*data.database(), u"KASSE"_s), columns);
}

void TstDataModule::aFailingUpgradeRefusesStart()
{
    // A KASSE that is a view cannot take a column: the upgrade statement fails.
    m_fixture->execute(WithoutSequenceNumber
                       + QStringList{u"ALTER TABLE \"KASSE\" RENAME TO \"KASSE_ALT\""_s,
                                     u"CREATE VIEW \"KASSE\" AS SELECT * FROM \"KASSE_ALT\""_s});
    try {
        TDataForm data(m_fixture->path(), m_ui);
        QFAIL("started with a failed upgrade");
    } catch (const EngineError &e) {
        QVERIFY2(e.text().contains(u"view"_s), qPrintable(e.text()));
    }
    QCOMPARE(m_ui.texts(), QStringList({UpgradeMessage}));
}

void TstDataModule::nextBelegNrCountsTheTrailingDigits_data()
{
    QTest::addColumn<QString>("belegNr");
    QTest::addColumn<QString>("next");

    QTest::newRow("zeros give way to a carry") << u"R-0099"_s << u"R-0100"_s;
    QTest::newRow("the number gains a digit") << u"A9"_s << u"A10"_s;
    QTest::newRow("only the trailing run counts") << u"2007/15"_s << u"2007/16"_s;
    QTest::newRow("leading zeros keep the width") << u"007"_s << u"008"_s;
    QTest::newRow("all nines grow") << u"999"_s << u"1000"_s;
    QTest::newRow("no digits stay as they are") << u"Kasse"_s << u"Kasse"_s;
    QTest::newRow("empty stays empty") << QString() << QString();
    QTest::newRow("twenty digits beyond 64 bits") << u"20071231999999999999"_s << u"20071232000000000000"_s;
    QTest::newRow("twenty nines") << u"99999999999999999999"_s << u"100000000000000000000"_s;
}

void TstDataModule::nextBelegNrCountsTheTrailingDigits()
{
    QFETCH(QString, belegNr);
    QFETCH(QString, next);
    QCOMPARE(TDataForm::NextBelegNr(belegNr), next);
}

QTEST_MAIN(TstDataModule)
#include "tst_datamodule.moc"
