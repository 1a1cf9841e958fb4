#include "Database.h"
#include "Errors.h"
#include "SchemaCatalogue.h"
#include "Statement.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace kb;

Q_DECLARE_METATYPE(kb::FieldType)

class TstSchema : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void createsEveryTable();
    void storesFieldsInOrder_data();
    void storesFieldsInOrder();
    void declaresFieldType_data();
    void declaresFieldType();
    void declaredTypesRoundTrip();
    void readsDeclarationsFoundInFiles_data();
    void readsDeclarationsFoundInFiles();
    void createsIndexes_data();
    void createsIndexes();
    void uniqueIndexesRefuseDuplicates_data();
    void uniqueIndexesRefuseDuplicates();
    void findsTablesWithoutRegardToCase_data();
    void findsTablesWithoutRegardToCase();
    void findsFieldsWithoutRegardToCase_data();
    void findsFieldsWithoutRegardToCase();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
};

void TstSchema::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_db = std::make_unique<Database>(m_dir.filePath(Database::fileName()), true);
    SchemaCatalogue::createAll(*m_db);
}

void TstSchema::createsEveryTable()
{
    for (const char *name : {"FIRMA", "KASSE", "KONTEN", "TEXTE", "GRUPPEN", "GRPLINK", "BKASSE", "MAIL"})
        QVERIFY2(m_db->hasTable(QString::fromLatin1(name).toLower()), name);
}

void TstSchema::storesFieldsInOrder_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("wholeTable");

    QTest::newRow("bookings, lfdNr last")
        << u"KASSE"_s
        << QStringList{u"Firma_ID"_s, u"Nr"_s, u"Datum"_s, u"BelegNr"_s, u"Buchungsbetrag"_s, u"UMSTinProzent"_s,
                       u"UMSTinEURO"_s, u"Nettobuchungsbetrag"_s, u"Zeilenbestand"_s, u"Text"_s, u"Kontoname"_s,
                       u"KontoID"_s, u"Minuskonto"_s, u"lfdNr"_s}
        << true;
    QTest::newRow("cash counts, denominations in value order, Summe and ID free")
        << u"BKASSE"_s
        << QStringList{u"Datum"_s, u"KassenName"_s, u"Bemerkung"_s, u"1_Cent"_s, u"2_Cent"_s, u"5_Cent"_s,
                       u"10_Cent"_s, u"20_Cent"_s, u"50_Cent"_s, u"1_Euro"_s, u"2_Euro"_s, u"5_Euro"_s,
                       u"10_Euro"_s, u"20_Euro"_s, u"50_Euro"_s, u"100_Euro"_s, u"200_Euro"_s, u"500_Euro"_s}
        << false;
}

void TstSchema::storesFieldsInOrder()
{
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    QFETCH(bool, wholeTable);

    QStringList names;
    for (const ColumnInfo &column : m_db->columns(table))
        names.append(column.name);
    QCOMPARE(wholeTable ? names : names.mid(0, fields.size()), fields);
}

void TstSchema::declaresFieldType_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<int>("width");

    QTest::newRow("company key") << u"FIRMA"_s << u"ID"_s << FieldType::AutoIncrement << 0;
    QTest::newRow("e-mail, name with a dash") << u"FIRMA"_s << u"E-mail"_s << FieldType::Text << 30;
    QTest::newRow("booking number") << u"KASSE"_s << u"Nr"_s << FieldType::AutoIncrement << 0;
    QTest::newRow("booking date") << u"KASSE"_s << u"Datum"_s << FieldType::Date << 0;
    QTest::newRow("gross amount") << u"KASSE"_s << u"Buchungsbetrag"_s << FieldType::Money << 0;
    QTest::newRow("VAT percentage") << u"KASSE"_s << u"UMSTinProzent"_s << FieldType::Double << 0;
    QTest::newRow("booking text") << u"KASSE"_s << u"Text"_s << FieldType::Text << 255;
    QTest::newRow("account name copy in bookings") << u"KASSE"_s << u"Kontoname"_s << FieldType::Text << 60;
    QTest::newRow("account key of a booking") << u"KASSE"_s << u"KontoID"_s << FieldType::ShortInteger << 0;
    QTest::newRow("minus flag") << u"KASSE"_s << u"Minuskonto"_s << FieldType::Logical << 0;
    QTest::newRow("sequence number") << u"KASSE"_s << u"lfdNr"_s << FieldType::Integer << 0;
    QTest::newRow("account name") << u"KONTEN"_s << u"Kontoname"_s << FieldType::Text << 70;
    QTest::newRow("account name copy in links") << u"GRPLINK"_s << u"Kontoname"_s << FieldType::Text << 40;
    QTest::newRow("account key of a link") << u"GRPLINK"_s << u"KontoID"_s << FieldType::Integer << 0;
    QTest::newRow("count of a denomination") << u"BKASSE"_s << u"500_Euro"_s << FieldType::Integer << 0;
    QTest::newRow("count total") << u"BKASSE"_s << u"Summe"_s << FieldType::Money << 0;
    QTest::newRow("memo") << u"MAIL"_s << u"LongText"_s << FieldType::Memo << 0;
}

void TstSchema::declaresFieldType()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(FieldType, type);
    QFETCH(int, width);

    const QList<ColumnInfo> columns = m_db->columns(table);
    const auto column = std::find_if(columns.begin(), columns.end(),
                                     [&](const ColumnInfo &c) { return c.name == field; });
    QVERIFY2(column != columns.end(), qPrintable(field));
    int declaredWidth = -1;
    QCOMPARE(SchemaCatalogue::typeFromDeclaration(column->declaredType, column->primaryKey, &declaredWidth), type);
    QCOMPARE(declaredWidth, width);
}

// What the set-up writes must read back as the catalogue says, or cursors over the file would
// see other types than the rules expect.
void TstSchema::declaredTypesRoundTrip()
{
    for (const TableDef &table : SchemaCatalogue::tables()) {
        const QList<ColumnInfo> columns = m_db->columns(table.name);
        QCOMPARE(columns.size(), table.fields.size());
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const FieldDef &field = table.fields.at(i);
            int width = -1;
            QCOMPARE(columns.at(i).name, field.name);
            QCOMPARE(SchemaCatalogue::typeFromDeclaration(columns.at(i).declaredType, columns.at(i).primaryKey, &width),
                     field.type);
            QCOMPARE(width, field.width);
        }
    }
}

void TstSchema::readsDeclarationsFoundInFiles_data()
{
    QTest::addColumn<QString>("declaration");
    QTest::addColumn<bool>("primaryKey");
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<int>("width");

    QTest::newRow("column added by the upgrade") << u"INTEGER"_s << false << FieldType::Integer << 0;
    QTest::newRow("integer key") << u"INTEGER"_s << true << FieldType::AutoIncrement << 0;
    QTest::newRow("lower case with blanks") << u"varchar ( 20 )"_s << false << FieldType::Text << 20;
    QTest::newRow("fixed characters") << u"CHAR(8)"_s << false << FieldType::Text << 8;
    QTest::newRow("unknown type as memo") << u"CLOB"_s << false << FieldType::Memo << 0;
}

void TstSchema::readsDeclarationsFoundInFiles()
{
    QFETCH(QString, declaration);
    QFETCH(bool, primaryKey);
    QFETCH(FieldType, type);
    QFETCH(int, width);

    int readWidth = -1;
    QCOMPARE(SchemaCatalogue::typeFromDeclaration(declaration, primaryKey, &readWidth), type);
    QCOMPARE(readWidth, width);
}

void TstSchema::createsIndexes_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("index");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<bool>("unique");

    QTest::newRow("company names") << u"FIRMA"_s << u"firma"_s << QStringList{u"Firma"_s} << false;
    QTest::newRow("booking key") << u"KASSE"_s << u"Primary"_s << QStringList{u"Firma_ID"_s, u"Nr"_s} << true;
    QTest::newRow("journal order")
        << u"KASSE"_s << u"firma_id"_s << QStringList{u"Firma_ID"_s, u"Datum"_s, u"Nr"_s} << false;
    QTest::newRow("balance sums")
        << u"KASSE"_s << u"BALANCE"_s
        << QStringList{u"Firma_ID"_s, u"Minuskonto"_s, u"lfdNr"_s, u"Buchungsbetrag"_s} << false;
    QTest::newRow("account numbers") << u"KONTEN"_s << u"KONTO"_s << QStringList{u"Konto"_s} << false;
    QTest::newRow("account names") << u"KONTEN"_s << u"KontoName"_s << QStringList{u"Kontoname"_s} << false;
    QTest::newRow("standard texts") << u"TEXTE"_s << u"TEXT"_s << QStringList{u"Text"_s} << false;
    QTest::newRow("group links") << u"GRPLINK"_s << u"GRUPPENID"_s << QStringList{u"GruppenID"_s, u"KontoID"_s}
                                 << false;
    QTest::newRow("one count per day and till")
        << u"BKASSE"_s << u"DATUM"_s << QStringList{u"Datum"_s, u"KassenName"_s} << true;
}

void TstSchema::createsIndexes()
{
    QFETCH(QString, table);
    QFETCH(QString, index);
    QFETCH(QStringList, keys);
    QFETCH(bool, unique);

    const TableDef *tableDef = SchemaCatalogue::table(table);
    QVERIFY(tableDef);
    const IndexDef *indexDef = tableDef->index(index);
    QVERIFY2(indexDef, qPrintable(index));
    const QString physicalName = SchemaCatalogue::physicalIndexName(*tableDef, *indexDef);

    Statement list = m_db->prepare(u"SELECT \"unique\" FROM pragma_index_list(?1) WHERE name=?2"_s);
    list.bindText(1, table);
    list.bindText(2, physicalName);
    QVERIFY2(list.step(), qPrintable(physicalName));
    QCOMPARE(list.integer(0) != 0, unique);

    Statement info = m_db->prepare(u"SELECT name FROM pragma_index_info(?1) ORDER BY seqno"_s);
    info.bindText(1, physicalName);
    QStringList columns;
    while (info.step())
        columns.append(info.text(0));
    QCOMPARE(columns, keys);
}

void TstSchema::uniqueIndexesRefuseDuplicates_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("refused");

    const QString count = u"INSERT INTO BKASSE (Datum, KassenName) VALUES ('%1', '%2')"_s;
    QTest::newRow("second count of a till on the same day")
        << count.arg(u"2007-03-31"_s, u"Laden"_s) << count.arg(u"2007-03-31"_s, u"Laden"_s) << true;
    QTest::newRow("same day, another till")
        << count.arg(u"2007-03-31"_s, u"Laden"_s) << count.arg(u"2007-03-31"_s, u"Markt"_s) << false;
    QTest::newRow("same till, another day")
        << count.arg(u"2007-03-31"_s, u"Laden"_s) << count.arg(u"2007-04-01"_s, u"Laden"_s) << false;
    const QString booking = u"INSERT INTO KASSE (Firma_ID, Nr) VALUES (%1, %2)"_s;
    QTest::newRow("booking number used twice") << booking.arg(1).arg(7) << booking.arg(2).arg(7) << true;
    const QString account = u"INSERT INTO KONTEN (KontoNr, Konto) VALUES (%1, '%2')"_s;
    QTest::newRow("account key used twice") << account.arg(3).arg(4650) << account.arg(3).arg(4930) << true;
    QTest::newRow("account number may repeat") << account.arg(3).arg(4650) << account.arg(4).arg(4650) << false;
    const QString company = u"INSERT INTO FIRMA (Firma) VALUES ('Beispielfirma')"_s;
    QTest::newRow("company names may repeat") << company << company << false;
    const QString link = u"INSERT INTO GRPLINK (GruppenID, KontoID) VALUES (1, 2)"_s;
    QTest::newRow("a repeated group link is the dialog's to refuse") << link << link << false;
}

void TstSchema::uniqueIndexesRefuseDuplicates()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, refused);

    Transaction rolledBack(*m_db);
    m_db->execute(first);
    bool failed = false;
    try {
        m_db->execute(second);
    } catch (const EngineError &error) {
        failed = true;
        QCOMPARE(error.statement(), second);
    }
    QCOMPARE(failed, refused);
}

void TstSchema::findsTablesWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("table");

    QTest::newRow("file name as the SQL writes it") << u"Kasse.adt"_s << u"KASSE"_s;
    QTest::newRow("file name in upper case") << u"KASSE.ADT"_s << u"KASSE"_s;
    QTest::newRow("mixed case") << u"GrpLink.Adt"_s << u"GRPLINK"_s;
    QTest::newRow("bare table name") << u"bkasse"_s << u"BKASSE"_s;
    QTest::newRow("unknown file") << u"Kunden.adt"_s << QString();
    QTest::newRow("other extension") << u"Kasse.dbf"_s << QString();
}

void TstSchema::findsTablesWithoutRegardToCase()
{
    QFETCH(QString, name);
    QFETCH(QString, table);

    const TableDef *found = SchemaCatalogue::table(name);
    QCOMPARE(found ? found->name : QString(), table);
}

void TstSchema::findsFieldsWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("field");

    QTest::newRow("VAT percentage spelled one way") << u"KASSE"_s << u"UmStinProzent"_s << u"UMSTinProzent"_s;
    QTest::newRow("and another") << u"Kasse.adt"_s << u"UmstInProzent"_s << u"UMSTinProzent"_s;
    QTest::newRow("the upgrade's spelling") << u"KASSE"_s << u"LFDNR"_s << u"lfdNr"_s;
    QTest::newRow("dash in the name") << u"FIRMA"_s << u"e-MAIL"_s << u"E-mail"_s;
    QTest::newRow("no such field") << u"KASSE"_s << u"Betrag"_s << QString();
}

void TstSchema::findsFieldsWithoutRegardToCase()
{
    QFETCH(QString, table);
    QFETCH(QString, name);
    QFETCH(QString, field);

    const FieldDef *found = SchemaCatalogue::table(table)->field(name);
    QCOMPARE(found ? found->name : QString(), field);
}

QTEST_MAIN(TstSchema)
#include "tst_schema.moc"
