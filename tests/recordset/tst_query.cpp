#include "Database.h"
#include "Errors.h"
#include "Query.h"
#include "SchemaCatalogue.h"
#include "Statement.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace kb;

Q_DECLARE_METATYPE(kb::Money)

class TstQuery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fieldByNameFindsFirstColumn();
    void sums_data();
    void sums();
    void joinsLinesAndReadsDates();
    void walksResult();
    void executesStatementsWithoutResult();
    void refusesOpeningStatementWithoutResult();
    void reportsEngineError();
    void refusesWritingFields();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Query> m_query;
};

void TstQuery::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_db = std::make_unique<Database>(m_dir->filePath(Database::fileName()), true);
    SchemaCatalogue::createAll(*m_db);
    m_db->execute(u"INSERT INTO KONTEN (KontoNr, Kontoname) VALUES (4, 'Bürobedarf')"_s);
    m_db->execute(u"INSERT INTO KASSE (Firma_ID, Nr, Datum, BelegNr, Buchungsbetrag, Minuskonto, KontoID, Kontoname, lfdNr) VALUES"
                  " (1, 1, '2007-03-01', 'B1', 10, 1, 4, 'Büro (alt)', 1),"
                  " (1, 2, '2007-03-01', 'B2', 2.5, 0, 4, 'Büro (alt)', 2),"
                  " (1, 3, '2007-03-05', 'B3', 1.5966, 0, 4, 'Büro (alt)', 3)"_s);
    m_query = std::make_unique<Query>(m_db.get());
}

void TstQuery::cleanup()
{
    m_query.reset();
    m_db.reset();
    m_dir.reset();
}

void TstQuery::fieldByNameFindsFirstColumn()
{
    m_query->setSql({u"Select * from \"Kasse.adt\", \"KONTEN.ADT\" where \"Kasse.adt\".\"KontoID\" = \"KONTEN.ADT\".KontoNr"_s});
    m_query->open();
    QCOMPARE(m_query->fieldByName(u"KONTONAME"_s).asString(), u"Büro (alt)"_s);
    QCOMPARE(m_query->field(m_query->fieldCount() - 3).asString(), u"Bürobedarf"_s);
}

void TstQuery::sums_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Money>("amount");
    QTest::newRow("minus bookings") << u"Minuskonto=True and Firma_ID=1"_s << u"10"_s << Money::fromInteger(10);
    QTest::newRow("other bookings") << u"Minuskonto<>True and Firma_ID=1"_s << u"4,0966"_s << Money::fromUnits(40966);
    QTest::newRow("before a sequence number") << u"lfdNr<3 and Minuskonto<>True and Firma_ID=1"_s << u"2,5"_s
                                              << Money::fromUnits(25000);
    QTest::newRow("no rows: empty, reads 0") << u"Minuskonto=True and Firma_ID=7"_s << QString() << Money();
}

void TstQuery::sums()
{
    QFETCH(QString, condition);
    QFETCH(QString, text);
    QFETCH(Money, amount);
    m_query->setSql({u"Select sum(Buchungsbetrag) as buchgsum from \"Kasse.adt\" where "_s + condition});
    m_query->open();
    QCOMPARE(m_query->recordCount(), 1);
    const Field &sum = m_query->fieldByName(u"buchgsum"_s);
    QCOMPARE(sum.isNull(), text.isEmpty());
    QCOMPARE(sum.asString(), text);
    QCOMPARE(sum.asMoney(), amount);
}

void TstQuery::joinsLinesAndReadsDates()
{
    m_query->setSql({u"SELECT Nr, BelegNr, Datum, Buchungsbetrag, Text, Kontoname FROM \"Kasse.adt\""_s, u"WHERE"_s,
                     u"Firma_ID=1 and DATUM='01.03.2007'"_s, u"ORDER By Nr"_s});
    QCOMPARE(m_query->sqlText().count(u'\n'), 3);
    m_query->open();
    QCOMPARE(m_query->recordCount(), 2);
    QCOMPARE(m_query->fieldByName(u"Datum"_s).asString(), u"01.03.2007"_s);
    QCOMPARE(m_query->fieldByName(u"Buchungsbetrag"_s).asString(), u"10"_s);
}

void TstQuery::walksResult()
{
    m_query->setSql({u"SELECT BelegNr FROM \"KASSE.ADT\" ORDER BY Nr DESC"_s});
    m_query->open();
    QStringList seen;
    for (m_query->first(); !m_query->eof(); m_query->next())
        seen.append(m_query->fieldByName(u"BelegNr"_s).asString());
    QCOMPARE(seen, (QStringList{u"B3"_s, u"B2"_s, u"B1"_s}));
    m_query->release();
    m_query->open();
    QCOMPARE(m_query->recordCount(), 3);
    QVERIFY(m_query->bof());
    m_query->close();
    QCOMPARE(m_query->state(), CursorState::Inactive);
}

void TstQuery::executesStatementsWithoutResult()
{
    m_query->setSql({u"ALTER TABLE \"KASSE.ADT\" ADD EXTRA INTEGER"_s});
    m_query->execSql();
    QVERIFY(!m_query->isOpen());
    const QList<ColumnInfo> columns = m_db->columns(u"KASSE"_s);
    QCOMPARE(columns.last().name, u"EXTRA"_s);
}

void TstQuery::refusesOpeningStatementWithoutResult()
{
    m_query->setSql({u"DELETE FROM \"Kasse.adt\""_s});
    QVERIFY_THROWS_EXCEPTION(EngineError, m_query->open());
    Statement count = m_db->prepare(u"SELECT count(*) FROM KASSE"_s);
    QVERIFY(count.step());
    QCOMPARE(count.integer(0), 3);
}

void TstQuery::reportsEngineError()
{
    m_query->setSql({u"SELECT Gibtsnicht FROM \"Kasse.adt\""_s});
    try {
        m_query->open();
        QFAIL("no engine error");
    } catch (const EngineError &error) {
        QVERIFY2(error.text().contains(u"Gibtsnicht"_s), qPrintable(error.text()));
    }
    QVERIFY(!m_query->isOpen());
}

void TstQuery::refusesWritingFields()
{
    m_query->setSql({u"SELECT BelegNr FROM \"Kasse.adt\""_s});
    m_query->open();
    QVERIFY_THROWS_EXCEPTION(EngineError, m_query->fieldByName(u"BelegNr"_s).setAsString(u"X"_s));
}

QTEST_MAIN(TstQuery)
#include "tst_query.moc"
