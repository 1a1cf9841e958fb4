#include "Database.h"
#include "Errors.h"
#include "Statement.h"

#include <QTest>

using namespace kb;
using namespace Qt::StringLiterals;

// LIKE as every statement of the system sees it: through a connection of the engine.
class TstUnicodeLike : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void like_data();
    void like();
    void nullGivesNull();
    void escapeMustBeOneCharacter();

private:
    // 1, 0, or -1 for NULL.
    int evaluate(const QString &expression);

    std::unique_ptr<Database> m_db;
};

void TstUnicodeLike::initTestCase()
{
    m_db = std::make_unique<Database>(u":memory:"_s, true);
    m_db->execute(u"CREATE TABLE rows (v TEXT)"_s);
}

int TstUnicodeLike::evaluate(const QString &expression)
{
    Statement s = m_db->prepare(u"SELECT "_s + expression);
    s.step();
    return s.isNull(0) ? -1 : int(s.integer(0));
}

void TstUnicodeLike::like_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("matches");

    QTest::newRow("umlaut in capitals finds lower case") << u"Bürobedarf"_s << u"%BÜRO%"_s << true;
    QTest::newRow("lower case finds capitals") << u"BÜROBEDARF"_s << u"%büro%"_s << true;
    QTest::newRow("accented capitals") << u"CAFÉ ÉCLAIR"_s << u"%éclair"_s << true;
    QTest::newRow("ASCII still folds") << u"Porto"_s << u"PORTO"_s << true;
    QTest::newRow("whole text without wildcard") << u"Porto"_s << u"Port"_s << false;
    QTest::newRow("umlaut is not its base letter") << u"Büro"_s << u"%buro%"_s << false;
    QTest::newRow("% matches the empty run") << u""_s << u"%"_s << true;
    QTest::newRow("empty pattern matches only the empty text") << u"a"_s << u""_s << false;
    QTest::newRow("_ is exactly one character, an umlaut too") << u"Öl"_s << u"_l"_s << true;
    QTest::newRow("_ needs a character") << u"l"_s << u"_l"_s << false;
    QTest::newRow("_ takes a character beyond 16 bits as one") << u"a\U0001F600b"_s << u"a_b"_s << true;
    QTest::newRow("% goes back after a false start") << u"aaab"_s << u"%a%ab"_s << true;
    QTest::newRow("% in the middle, tail must end the text") << u"abcab"_s << u"a%b"_s << true;
    QTest::newRow("tail missing") << u"abca"_s << u"a%b"_s << false;
    QTest::newRow("receipt 12 anywhere") << u"A12B"_s << u"%12%"_s << true;
    QTest::newRow("an apostrophe is an ordinary character") << u"O'Brien"_s << u"%o'b%"_s << true;
}

void TstUnicodeLike::like()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, matches);
    {
        Statement s = m_db->prepare(u"SELECT ?1 LIKE ?2"_s);
        s.bindText(1, text);
        s.bindText(2, pattern);
        s.step();
        QCOMPARE(s.integer(0), qint64(matches));
    }

    // The same through a table scan, as the search runs it; the pattern folded once serves all rows.
    m_db->execute(u"DELETE FROM rows"_s);
    {
        Statement insert = m_db->prepare(u"INSERT INTO rows VALUES (?1)"_s);
        for (const QString &row : {u"zzz"_s, text, u"zzz"_s}) {
            insert.reset();
            insert.bindText(1, row);
            insert.run();
        }
    }
    Statement count = m_db->prepare(u"SELECT count(*) FROM rows WHERE v LIKE ?1"_s);
    count.bindText(1, pattern);
    count.step();
    const qint64 zzz = pattern == u"%"_s ? 2 : 0;
    QCOMPARE(count.integer(0), qint64(matches) + zzz);
}

void TstUnicodeLike::nullGivesNull()
{
    QCOMPARE(evaluate(u"NULL LIKE '%'"_s), -1);
    QCOMPARE(evaluate(u"'a' LIKE NULL"_s), -1);
    QCOMPARE(evaluate(u"'50%' LIKE '50!%' ESCAPE NULL"_s), -1);
}

void TstUnicodeLike::escapeMustBeOneCharacter()
{
    QCOMPARE(evaluate(u"'RABATT 50%' LIKE '%50!%' ESCAPE '!'"_s), 1);
    QCOMPARE(evaluate(u"'RABATT 500' LIKE '%50!%' ESCAPE '!'"_s), 0);
    QCOMPARE(evaluate(u"'a_b' LIKE 'A!_B' ESCAPE '!'"_s), 1);
    QCOMPARE(evaluate(u"'axb' LIKE 'A!_B' ESCAPE '!'"_s), 0);
    QVERIFY_THROWS_EXCEPTION(EngineError, evaluate(u"'a' LIKE 'a' ESCAPE '!!'"_s));
}

QTEST_MAIN(TstUnicodeLike)
#include "tst_unicodelike.moc"
