#include "Database.h"
#include "Errors.h"
#include "SchemaCatalogue.h"
#include "SqlDialect.h"
#include "Statement.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace kb;

namespace {

QString lines(const QStringList &lines)
{
    return lines.join(u'\n');
}

QString period(const QString &first, const QString &last)
{
    return u"and Datum>='"_s + first + u"' and Datum<='"_s + last + u"'"_s;
}

const QString march = period(u"01.03.2007"_s, u"31.03.2007"_s);
const QString company1 = u"and Firma_ID=1"_s;
const QString accountJoin = u"WHERE \"Kasse.adt\".\"KontoID\"=\"KontoNr\""_s;
const QString groupJoin =
    u"WHERE GruppenNR=GruppenID and \"GRPLINK.ADT\".\"KontoID\"=KontoNr and \"Kasse.adt\".\"KontoID\"=\"KontoNr\""_s;
const QString fourTables = u"FROM \"KONTEN.ADT\", \"GRPLINK.ADT\", \"GRUPPEN.ADT\", \"KASSE.ADT\""_s;

QString balanceSum(const QString &condition)
{
    return u"Select sum(Buchungsbetrag) as buchgsum from \"Kasse.adt\" where "_s + condition;
}

QString search(const QString &criteria)
{
    return lines({u"SELECT Nr, BelegNr, Datum, Buchungsbetrag, Text, Kontoname FROM \"Kasse.adt\""_s, u"WHERE"_s,
                  u"Firma_ID=1"_s + criteria, u"ORDER By Nr"_s});
}

// The overview and chart statements leave out the period and company lines for design.
QString accountReport(const QStringList &range)
{
    return lines(QStringList{u"SELECT * FROM \"KONTEN.ADT\", \"KASSE.ADT\""_s, accountJoin} + range
                 + QStringList{u"ORDER BY \"KONTEN.ADT\".KontoName"_s});
}

QString groupReport(const QStringList &range)
{
    return lines(QStringList{u"SELECT * "_s + fourTables, groupJoin} + range
                 + QStringList{u"ORDER BY GruppenNR, \"KONTEN.ADT\".KontoName"_s});
}

QString accountTotals(const QString &periodLine)
{
    return lines({u"SELECT \"KONTEN.ADT\".kontoname, sum(buchungsbetrag) as bsum FROM \"KONTEN.ADT\", \"KASSE.ADT\""_s,
                  accountJoin, periodLine, company1, u"GROUP BY \"KONTEN.ADT\".KontoName"_s});
}

QString groupTotals(const QString &periodLine)
{
    return lines({u"SELECT gruppe, sum(buchungsbetrag) bsum "_s + fourTables, groupJoin, periodLine, company1,
                  u"GROUP BY gruppe"_s});
}

QString exportBookings()
{
    return lines({u"SELECT * FROM \"KASSE.ADT\", \"KONTEN.ADT\""_s, accountJoin, u"      "_s + march,
                  u"      "_s + company1, u"ORDER BY Nr"_s});
}

QString shown(const QVariant &value)
{
    if (value.isNull())
        return u"NULL"_s;
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

} // namespace

class TstSqlDialect : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void translatesToSqlite_data();
    void translatesToSqlite();
    void translatesCondition_data();
    void translatesCondition();
    void refusesUnreadableDate_data();
    void refusesUnreadableDate();
    void systemStatementReturnsRows_data();
    void systemStatementReturnsRows();
    void upgradeAddsEmptyColumn();

private:
    QStringList rows(const QString &sql, const QStringList &columns) const;

    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
    SqlDialect m_dialect;
};

// Two companies; bookings of company 1 around March 2007 (bounds included, one booking on a
// deleted account, one entered later for an earlier date, one whose minus flag differs from its
// account's); an account in two groups and two groups of the same name.
void TstSqlDialect::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_db = std::make_unique<Database>(m_dir.filePath(Database::fileName()), true);
    SchemaCatalogue::createAll(*m_db);
    const QStringList fixture{
        u"INSERT INTO FIRMA (ID, Firma) VALUES (1, 'Alpha'), (2, 'Beta')"_s,
        u"INSERT INTO KONTEN (KontoNr, Konto, Kontoname, KontoProzentSatz, Minuskonto) VALUES "
        "(1, '8400', 'Erlöse 19 %', 19, 0), (2, '4930', 'Bürobedarf', 19, 1), (3, '4650', 'Bewirtung', 19, 1), "
        "(4, '1890', 'Privateinlage', 0, 0)"_s,
        u"INSERT INTO GRUPPEN (GruppenNr, Gruppe) VALUES (1, 'Einnahmen'), (2, 'Ausgaben'), (3, 'Büro'), "
        "(4, 'Einnahmen')"_s,
        u"INSERT INTO GRPLINK (GruppenID, KontoID, Kontoname) VALUES (1, 1, 'Erlöse 19 %'), (2, 2, 'Bürobedarf'), "
        "(2, 3, 'Bewirtung'), (3, 2, 'Bürobedarf'), (4, 4, 'Privateinlage')"_s,
        u"INSERT INTO KASSE (Firma_ID, Nr, Datum, BelegNr, Buchungsbetrag, Text, Kontoname, KontoID, Minuskonto, "
        "lfdNr) VALUES "
        "(1, 1, '2007-02-28', 'B-11', 50, 'Bestand', 'Privateinlage', 4, 0, 1), "
        "(1, 2, '2007-03-01', '12', 119, 'Verkauf', 'Erlöse 19 %', 1, 0, 2), "
        "(1, 3, '2007-03-15', 'A12B', 23.8, 'Papier', 'Bürobedarf', 2, 1, 4), "
        "(1, 4, '2007-03-31', '112', 40, 'Essen mit Kunde', 'Bewirtung', 3, 1, 6), "
        "(1, 5, '2007-03-10', 'X-5', 10.5, 'Entnahme', 'Privateinlage', 4, 1, 3), "
        "(1, 6, '2007-04-01', 'B-13', 200, 'Verkauf April', 'Erlöse 19 %', 1, 0, 7), "
        "(1, 7, '2007-03-20', 'B-14', 5, 'Porto', 'Gelöscht', 99, 1, 5), "
        "(2, 8, '2007-03-15', '12', 300, 'Verkauf', 'Erlöse 19 %', 1, 0, 1)"_s,
        u"INSERT INTO BKASSE (ID, Datum, KassenName, \"1_Cent\", Summe) VALUES "
        "(1, '2007-03-31', 'Alpha', 0, 0), (2, '2007-03-31', 'Beta', 3, 40.53)"_s,
    };
    for (const QString &statement : fixture)
        m_db->execute(statement);
}

QStringList TstSqlDialect::rows(const QString &sql, const QStringList &columns) const
{
    Statement statement = m_db->prepare(m_dialect.translate(sql));
    QList<int> indexes;
    for (const QString &name : columns) {
        int index = 0;
        while (index < statement.columnCount() && statement.columnName(index).compare(name, Qt::CaseInsensitive) != 0)
            ++index;
        if (index == statement.columnCount())
            qFatal("no column %s", qPrintable(name));
        indexes.append(index);
    }
    QStringList result;
    while (statement.step()) {
        QStringList values;
        for (int index : std::as_const(indexes))
            values.append(shown(statement.value(index)));
        result.append(values.join(u'|'));
    }
    return result;
}

void TstSqlDialect::translatesToSqlite_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("sqlite");

    QTest::newRow("quoted file name in mixed case") << u"SELECT * FROM \"Kasse.adt\""_s << u"SELECT * FROM \"KASSE\""_s;
    QTest::newRow("quoted file name in upper case")
        << u"SELECT * FROM \"KONTEN.ADT\", \"KASSE.ADT\""_s << u"SELECT * FROM \"KONTEN\", \"KASSE\""_s;
    QTest::newRow("unquoted file name") << u"select * from Gruppen.Adt"_s << u"select * from \"GRUPPEN\""_s;
    QTest::newRow("column qualified by quoted file names")
        << u"WHERE \"Kasse.adt\".\"KontoID\"=\"KontoNr\" ORDER BY \"KONTEN.ADT\".KontoName"_s
        << u"WHERE \"KASSE\".\"KontoID\"=\"KontoNr\" ORDER BY \"KONTEN\".KontoName"_s;
    QTest::newRow("unknown file name left for SQLite to report")
        << u"SELECT * FROM \"Kunden.adt\""_s << u"SELECT * FROM \"Kunden.adt\""_s;
    QTest::newRow("True and False in any case")
        << u"where Minuskonto=True and Minuskonto<>false"_s << u"where Minuskonto=1 and Minuskonto<>0"_s;
    QTest::newRow("date column left of every operator")
        << u"SELECT Nr FROM \"Kasse.adt\" WHERE Datum='01.03.2007' OR Datum<>'02.03.2007' OR Datum!='03.03.2007' "
           "OR Datum<'04.03.2007' OR Datum>'05.03.2007' OR Datum<='06.03.2007' OR Datum>='07.03.2007'"_s
        << u"SELECT Nr FROM \"KASSE\" WHERE Datum='2007-03-01' OR Datum<>'2007-03-02' OR Datum!='2007-03-03' "
           "OR Datum<'2007-03-04' OR Datum>'2007-03-05' OR Datum<='2007-03-06' OR Datum>='2007-03-07'"_s;
    QTest::newRow("literal left of the column, one-digit day and month")
        << u"SELECT Nr FROM \"Kasse.adt\" WHERE '1.3.2007' <= DATUM"_s
        << u"SELECT Nr FROM \"KASSE\" WHERE '2007-03-01' <= DATUM"_s;
    QTest::newRow("qualified date columns on both sides")
        << u"SELECT * FROM \"BKASSE.ADT\" WHERE \"BKASSE.ADT\".\"Datum\" = '31.12.2007' "
           "or '01.01.2007'>BKasse.adt.datum"_s
        << u"SELECT * FROM \"BKASSE\" WHERE \"BKASSE\".\"Datum\" = '2007-12-31' "
           "or '2007-01-01'>\"BKASSE\".datum"_s;
    QTest::newRow("date column behind an alias")
        << u"SELECT k.Nr FROM \"Kasse.adt\" k WHERE k.Datum='15.03.2007'"_s
        << u"SELECT k.Nr FROM \"KASSE\" k WHERE k.Datum='2007-03-15'"_s;
    QTest::newRow("stored form passes unchanged")
        << u"SELECT Nr FROM \"KASSE\" WHERE Datum='2007-03-15'"_s
        << u"SELECT Nr FROM \"KASSE\" WHERE Datum='2007-03-15'"_s;
    QTest::newRow("date-like text compared with a text column")
        << u"SELECT Nr FROM \"Kasse.adt\" WHERE Text='01.03.2007' or TEXT like '%01.03.2007%'"_s
        << u"SELECT Nr FROM \"KASSE\" WHERE Text='01.03.2007' or TEXT like '%01.03.2007%'"_s;
    QTest::newRow("literals, quoted names and comments untouched")
        << u"SELECT 'Kasse.adt', \"True\" FROM \"Kasse.adt\" -- Datum='01.03.2007' True\n"
           "/* \"Kasse.adt\" */ WHERE Text='it''s True, ''01.03.2007''' AND Datum\t=\t'01.03.2007'"_s
        << u"SELECT 'Kasse.adt', \"True\" FROM \"KASSE\" -- Datum='01.03.2007' True\n"
           "/* \"Kasse.adt\" */ WHERE Text='it''s True, ''01.03.2007''' AND Datum\t=\t'2007-03-01'"_s;
    QTest::newRow("export statement keeps its lines and blanks")
        << exportBookings()
        << u"SELECT * FROM \"KASSE\", \"KONTEN\"\nWHERE \"KASSE\".\"KontoID\"=\"KontoNr\"\n"
           "      and Datum>='2007-03-01' and Datum<='2007-03-31'\n      and Firma_ID=1\nORDER BY Nr"_s;
    QTest::newRow("schema upgrade")
        << u"ALTER TABLE \"KASSE.ADT\" ADD LFDNR INTEGER"_s << u"ALTER TABLE \"KASSE\" ADD LFDNR INTEGER"_s;
}

void TstSqlDialect::translatesToSqlite()
{
    QFETCH(QString, statement);
    QFETCH(QString, sqlite);

    QCOMPARE(m_dialect.translate(statement), sqlite);
}

void TstSqlDialect::translatesCondition_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("sqlite");

    QTest::newRow("period filter of the cash book")
        << u"Datum>='01.01.2007' and Datum<='31.01.2007'"_s << u"KASSE"_s
        << u"Datum>='2007-01-01' and Datum<='2007-01-31'"_s;
    QTest::newRow("table given as file name")
        << u"Datum>='01.01.2007'"_s << u"Kasse.adt"_s << u"Datum>='2007-01-01'"_s;
    QTest::newRow("table without date fields") << u"Kontoname>='01.01.2007'"_s << u"KONTEN"_s
                                               << u"Kontoname>='01.01.2007'"_s;
    QTest::newRow("logical field") << u"Minuskonto=True"_s << u"KASSE"_s << u"Minuskonto=1"_s;
}

void TstSqlDialect::translatesCondition()
{
    QFETCH(QString, condition);
    QFETCH(QString, table);
    QFETCH(QString, sqlite);

    QCOMPARE(m_dialect.translateCondition(condition, table), sqlite);
}

void TstSqlDialect::refusesUnreadableDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("table"); // empty: a whole statement
    QTest::addColumn<QString>("literal");

    QTest::newRow("impossible day typed into the search")
        << search(u" and DATUM='31.02.2007'"_s) << QString() << u"31.02.2007"_s;
    QTest::newRow("blanks typed into the search") << search(u" and DATUM='  '"_s) << QString() << u"  "_s;
    QTest::newRow("a word") << accountReport({period(u"gestern"_s, u"31.03.2007"_s), company1}) << QString()
                            << u"gestern"_s;
    QTest::newRow("two-digit year left of the column")
        << u"SELECT * FROM \"Kasse.adt\" WHERE '1.3.07'<=Datum"_s << QString() << u"1.3.07"_s;
    QTest::newRow("month 13 against a qualified column")
        << u"SELECT * FROM \"BKASSE.ADT\" WHERE \"BKASSE.ADT\".Datum<'01.13.2007'"_s << QString() << u"01.13.2007"_s;
    QTest::newRow("filter text") << u"Datum>='01.01.2007' and Datum<='32.01.2007'"_s << u"KASSE"_s << u"32.01.2007"_s;
}

void TstSqlDialect::refusesUnreadableDate()
{
    QFETCH(QString, text);
    QFETCH(QString, table);
    QFETCH(QString, literal);

    try {
        table.isEmpty() ? m_dialect.translate(text) : m_dialect.translateCondition(text, table);
        QFAIL("no error for an unreadable date");
    } catch (const EngineError &error) {
        QVERIFY2(error.text().contains(u"'"_s + literal + u"'"_s), qPrintable(error.text()));
        QVERIFY2(error.text().contains(u"Datum"_s, Qt::CaseInsensitive), qPrintable(error.text()));
        QCOMPARE(error.statement(), text);
    }
}

void TstSqlDialect::systemStatementReturnsRows_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("ordered"); // false where the order of the rows is the engine's

    const QStringList buchgsum{u"buchgsum"_s};
    QTest::newRow("balance: minus bookings, True")
        << balanceSum(u"Minuskonto=True and Firma_ID=1"_s) << buchgsum << QStringList{u"79.3"_s} << true;
    QTest::newRow("balance: other bookings, <>True")
        << balanceSum(u"Minuskonto<>True and Firma_ID=1"_s) << buchgsum << QStringList{u"369"_s} << true;
    QTest::newRow("balance before lfdNr 4: minus bookings")
        << balanceSum(u"lfdNr<4 and Minuskonto=True and Firma_ID=1"_s) << buchgsum << QStringList{u"10.5"_s} << true;
    QTest::newRow("balance before lfdNr 4: other bookings")
        << balanceSum(u"lfdNr<4 and Minuskonto<>True and Firma_ID=1"_s) << buchgsum << QStringList{u"169"_s} << true;
    QTest::newRow("balance before the first booking: empty sum")
        << balanceSum(u"lfdNr<1 and Minuskonto<>True and Firma_ID=1"_s) << buchgsum << QStringList{u"NULL"_s} << true;
    QTest::newRow("balance of a company without bookings: empty sum")
        << balanceSum(u"Minuskonto=True and Firma_ID=3"_s) << buchgsum << QStringList{u"NULL"_s} << true;

    const QStringList hit{u"Nr"_s, u"BelegNr"_s, u"Datum"_s};
    QTest::newRow("search receipt 12 anywhere, own company only")
        << search(u" and BelegNr like '%12%'"_s) << hit
        << QStringList{u"2|12|2007-03-01"_s, u"3|A12B|2007-03-15"_s, u"4|112|2007-03-31"_s} << true;
    QTest::newRow("search account name in other case")
        << search(u" and Kontoname like '%büro%'"_s) << hit << QStringList{u"3|A12B|2007-03-15"_s} << true;
    QTest::newRow("search date") << search(u" and DATUM='15.03.2007'"_s) << hit << QStringList{u"3|A12B|2007-03-15"_s}
                                 << true;
    QTest::newRow("search date with one-digit day and month")
        << search(u" and DATUM='1.3.2007'"_s) << hit << QStringList{u"2|12|2007-03-01"_s} << true;
    QTest::newRow("search text") << search(u" and TEXT like '%kunde%'"_s) << hit << QStringList{u"4|112|2007-03-31"_s}
                                 << true;
    QTest::newRow("search with all four criteria")
        << search(u" and BelegNr like '%12%' and Kontoname like '%bewirt%' and DATUM='31.03.2007'"
                  " and TEXT like '%Kunde%'"_s)
        << hit << QStringList{u"4|112|2007-03-31"_s} << true;
    QTest::newRow("search without hits") << search(u" and BelegNr like '%zz%'"_s) << hit << QStringList{} << true;

    QTest::newRow("account overview of March, bounds included, deleted account missing")
        << accountReport({march, company1}) << QStringList{u"Kontoname"_s, u"Nr"_s}
        << QStringList{u"Bewirtung|4"_s, u"Bürobedarf|3"_s, u"Erlöse 19 %|2"_s, u"Privateinlage|5"_s} << true;
    QTest::newRow("account overview for design: every company and date")
        << accountReport({}) << QStringList{u"Kontoname"_s}
        << QStringList{u"Bewirtung"_s, u"Bürobedarf"_s, u"Erlöse 19 %"_s, u"Erlöse 19 %"_s, u"Erlöse 19 %"_s,
                       u"Privateinlage"_s, u"Privateinlage"_s}
        << true;
    QTest::newRow("group overview of March: a row per booking and group")
        << groupReport({march, company1}) << QStringList{u"Gruppe"_s, u"Kontoname"_s, u"Nr"_s}
        << QStringList{u"Einnahmen|Erlöse 19 %|2"_s, u"Ausgaben|Bewirtung|4"_s, u"Ausgaben|Bürobedarf|3"_s,
                       u"Büro|Bürobedarf|3"_s, u"Einnahmen|Privateinlage|5"_s}
        << true;
    QTest::newRow("group overview for design")
        << groupReport({}) << QStringList{u"Gruppe"_s, u"Kontoname"_s}
        << QStringList{u"Einnahmen|Erlöse 19 %"_s, u"Einnahmen|Erlöse 19 %"_s, u"Einnahmen|Erlöse 19 %"_s,
                       u"Ausgaben|Bewirtung"_s, u"Ausgaben|Bürobedarf"_s, u"Büro|Bürobedarf"_s,
                       u"Einnahmen|Privateinlage"_s, u"Einnahmen|Privateinlage"_s}
        << true;

    QTest::newRow("account totals of March, alias with AS")
        << accountTotals(march) << QStringList{u"kontoname"_s, u"bsum"_s}
        << QStringList{u"Bewirtung|40"_s, u"Bürobedarf|23.8"_s, u"Erlöse 19 %|119"_s, u"Privateinlage|10.5"_s}
        << false;
    QTest::newRow("account totals of one day")
        << accountTotals(period(u"15.03.2007"_s, u"15.03.2007"_s)) << QStringList{u"kontoname"_s, u"bsum"_s}
        << QStringList{u"Bürobedarf|23.8"_s} << false;
    QTest::newRow("account totals of a period without bookings")
        << accountTotals(period(u"01.01.2006"_s, u"31.01.2006"_s)) << QStringList{u"kontoname"_s, u"bsum"_s}
        << QStringList{} << false;
    QTest::newRow("group totals of March, alias without AS, groups by name")
        << groupTotals(march) << QStringList{u"gruppe"_s, u"bsum"_s}
        << QStringList{u"Ausgaben|63.8"_s, u"Büro|23.8"_s, u"Einnahmen|129.5"_s} << false;

    QTest::newRow("export of March by booking number, the booking's minus flag first")
        << exportBookings() << QStringList{u"Nr"_s, u"Datum"_s, u"Minuskonto"_s, u"Konto"_s}
        << QStringList{u"2|2007-03-01|0|8400"_s, u"3|2007-03-15|1|4930"_s, u"4|2007-03-31|1|4650"_s,
                       u"5|2007-03-10|1|1890"_s}
        << true;

    QTest::newRow("cash count printout")
        << lines({u"SELECT * FROM \"BKASSE.ADT\""_s, u"WHERE ID=2"_s})
        << QStringList{u"ID"_s, u"KassenName"_s, u"1_Cent"_s, u"Summe"_s} << QStringList{u"2|Beta|3|40.53"_s} << true;
}

void TstSqlDialect::systemStatementReturnsRows()
{
    QFETCH(QString, statement);
    QFETCH(QStringList, columns);
    QFETCH(QStringList, rows);
    QFETCH(bool, ordered);

    QStringList actual = this->rows(statement, columns);
    if (!ordered) {
        actual.sort();
        rows.sort();
    }
    QCOMPARE(actual, rows);
}

void TstSqlDialect::upgradeAddsEmptyColumn()
{
    QTemporaryDir dir;
    Database db(dir.filePath(Database::fileName()), true);
    TableDef oldBookings = *SchemaCatalogue::table(u"KASSE"_s);
    oldBookings.fields.removeIf([](const FieldDef &field) { return field.name == u"lfdNr"_s; });
    db.execute(SchemaCatalogue::createTableStatement(oldBookings));
    db.execute(u"INSERT INTO KASSE (Firma_ID, Datum) VALUES (1, '2007-03-01')"_s);

    db.execute(m_dialect.translate(u"ALTER TABLE \"KASSE.ADT\" ADD LFDNR INTEGER"_s));

    const ColumnInfo added = db.columns(u"KASSE"_s).last();
    QCOMPARE(added.name, u"LFDNR"_s);
    QCOMPARE(SchemaCatalogue::typeFromDeclaration(added.declaredType, added.primaryKey, nullptr), FieldType::Integer);
    Statement read = db.prepare(u"SELECT lfdNr FROM KASSE"_s);
    QVERIFY(read.step());
    QVERIFY(read.isNull(0));
}

QTEST_MAIN(TstSqlDialect)
#include "tst_sqldialect.moc"
