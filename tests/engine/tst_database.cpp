#include "Database.h"
#include "Errors.h"
#include "Statement.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kb;

class TstDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void oneStatementPerText_data();
    void oneStatementPerText();
    void innerRollbackUndoesTheOuterTransaction();
    void destroyedTransactionRollsBack();

private:
    qint64 rows() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Database> m_db;
};

void TstDatabase::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_db = std::make_unique<Database>(m_dir->filePath(QStringLiteral("t.db")), true);
    m_db->execute(QStringLiteral("CREATE TABLE t (v INTEGER)"));
}

void TstDatabase::cleanup()
{
    m_db.reset();
    m_dir.reset();
}

qint64 TstDatabase::rows() const
{
    Statement s = m_db->prepare(QStringLiteral("SELECT count(*) FROM t"));
    s.step();
    return s.integer(0);
}

void TstDatabase::oneStatementPerText_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<qint64>("rowsAfter");
    QTest::newRow("one statement") << QStringLiteral("INSERT INTO t VALUES (1)") << true << qint64(1);
    QTest::newRow("trailing semicolon, blanks and comment")
        << QStringLiteral("INSERT INTO t VALUES (1);  -- note\n") << true << qint64(1);
    QTest::newRow("a second statement is refused, the first does not run")
        << QStringLiteral("INSERT INTO t VALUES (1); DELETE FROM t") << false << qint64(0);
    QTest::newRow("trailing garbage is refused")
        << QStringLiteral("INSERT INTO t VALUES (1); xyz") << false << qint64(0);
}

void TstDatabase::oneStatementPerText()
{
    QFETCH(QString, sql);
    QFETCH(bool, accepted);
    QFETCH(qint64, rowsAfter);
    bool ran = true;
    try {
        m_db->execute(sql);
    } catch (const EngineError &e) {
        ran = false;
        QCOMPARE(e.statement(), sql);
    }
    QCOMPARE(ran, accepted);
    QCOMPARE(rows(), rowsAfter);
}

void TstDatabase::innerRollbackUndoesTheOuterTransaction()
{
    Transaction outer(*m_db);
    m_db->execute(QStringLiteral("INSERT INTO t VALUES (1)"));
    {
        Transaction inner(*m_db);
        m_db->execute(QStringLiteral("INSERT INTO t VALUES (2)"));
    }
    QVERIFY_THROWS_EXCEPTION(EngineError, outer.commit());
    QVERIFY(!m_db->inTransaction());
    QCOMPARE(rows(), 0);
}

void TstDatabase::destroyedTransactionRollsBack()
{
    {
        Transaction transaction(*m_db);
        m_db->execute(QStringLiteral("INSERT INTO t VALUES (1)"));
    }
    QCOMPARE(rows(), 0);
    Transaction transaction(*m_db);
    m_db->execute(QStringLiteral("INSERT INTO t VALUES (1)"));
    transaction.commit();
    QCOMPARE(rows(), 1);
}

QTEST_MAIN(TstDatabase)
#include "tst_database.moc"
