#include "DataSource.h"
#include "Database.h"
#include "Errors.h"
#include "SchemaCatalogue.h"
#include "Statement.h"
#include "Table.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace kb;

Q_DECLARE_METATYPE(kb::LocateOption)

// Two companies; Alpha's bookings in journal order (date, then Nr) are B2, B1, B3, B4.
class TstTable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ordersByIndexWithinMasterRange();
    void ordersTextKeysWithoutCaseAndUmlauts();
    void emptyCursorIsAtStartAndEnd();
    void setsFlagsAtTheEnds();
    void walksAcrossFetchBatches();
    void locates_data();
    void locates();
    void locateFailureLeavesCursor();
    void appendFillsMasterLink();
    void detailFollowsMaster();
    void postAndCancelOutsideEditDoNothing();
    void movingPostsFirst_data();
    void movingPostsFirst();
    void editingEmptyTableInserts();
    void refusesFieldWriteWhileBrowsing();
    void deleteLandsOnNeighbour_data();
    void deleteLandsOnNeighbour();
    void beforePostCancelStoresNothing_data();
    void beforePostCancelStoresNothing();
    void failingBeforePostKeepsEditing();
    void abortInBeforeDeleteKeepsRow();
    void failingAfterEventTakesBackEverything_data();
    void failingAfterEventTakesBackEverything();
    void failingBeforeInsertInsertsNothing();
    void postWritesOnlyChangedFields();
    void postOfVanishedRowFails();
    void firstReadWhileEditingKeepsChanges();
    void refreshShowsRowsOfOtherCursor();
    void filterComparesDates();
    void unreadableFilterKeepsRows();
    void storesTextCutToWidth();
    void postedRowTakesItsPlace();
    void insertShowsAtCursor();
    void postJoinsOuterTransaction();
    void walkInTransactionWritesEveryRow();
    void findsFieldsWithoutRegardToCase();
    void readsFieldListFromFile();

private:
    void exec(const QString &sql) { m_db->execute(sql); }
    QString stored(const QString &sql);
    QStringList walk(Table &table, const QString &field);
    std::unique_ptr<Table> bookingCursor();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Table> m_firma;
    std::unique_ptr<DataSource> m_firmaSource;
    std::unique_ptr<Table> m_kasse;
};

void TstTable::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_db = std::make_unique<Database>(m_dir->filePath(Database::fileName()), true);
    SchemaCatalogue::createAll(*m_db);
    exec(u"INSERT INTO FIRMA (ID, Firma) VALUES (1, 'Alpha'), (2, 'Beta')"_s);
    exec(u"INSERT INTO KASSE (Firma_ID, Nr, Datum, BelegNr, Buchungsbetrag, Text) VALUES"
         " (1, 1, '2007-03-02', 'B1', 100, 'Tageseinnahmen'),"
         " (1, 2, '2007-03-01', 'B2', 30, 'Büromaterial'),"
         " (1, 3, '2007-03-02', 'B3', 20, 'büro klammern'),"
         " (1, 4, '2007-04-01', 'B4', 5, 'Porto'),"
         " (2, 5, '2007-03-01', 'B5', 7, 'Porto')"_s);
    m_firma = std::make_unique<Table>(m_db.get());
    m_firma->setTableName(u"Firma.adt"_s);
    m_firma->setIndexName(u"FIRMA"_s);
    m_firma->open();
    m_firmaSource = std::make_unique<DataSource>(m_firma.get());
    m_kasse = bookingCursor();
}

void TstTable::cleanup()
{
    m_kasse.reset();
    m_firmaSource.reset();
    m_firma.reset();
    m_db.reset();
    m_dir.reset();
}

QString TstTable::stored(const QString &sql)
{
    Statement statement = m_db->prepare(sql);
    return statement.step() ? statement.text(0) : u"<none>"_s;
}

QStringList TstTable::walk(Table &table, const QString &field)
{
    QStringList values;
    for (table.first(); !table.eof(); table.next())
        values.append(table.fieldByName(field).asString());
    return values;
}

std::unique_ptr<Table> TstTable::bookingCursor()
{
    auto table = std::make_unique<Table>(m_db.get());
    table->setTableName(u"KASSE"_s);
    table->setIndexName(u"FIRMA_ID"_s);
    table->setMasterSource(m_firmaSource.get(), {u"ID"_s}, {u"Firma_ID"_s});
    table->open();
    return table;
}

void TstTable::ordersByIndexWithinMasterRange()
{
    QCOMPARE(walk(*m_kasse, u"BelegNr"_s), (QStringList{u"B2"_s, u"B1"_s, u"B3"_s, u"B4"_s}));
    QCOMPARE(m_kasse->recordCount(), 4);
    m_firma->next();
    QCOMPARE(walk(*m_kasse, u"BelegNr"_s), QStringList{u"B5"_s});
    QCOMPARE(m_kasse->recordCount(), 1);
}

void TstTable::ordersTextKeysWithoutCaseAndUmlauts()
{
    exec(u"INSERT INTO KONTEN (Kontoname) VALUES ('Porto'), ('Bürobedarf'), ('buchhaltung'), ('Bank'), ('Älteste Kasse')"_s);
    Table konten(m_db.get());
    konten.setTableName(u"KONTEN"_s);
    konten.setIndexName(u"KONTONAME"_s);
    konten.open();
    QCOMPARE(walk(konten, u"Kontoname"_s),
             (QStringList{u"Älteste Kasse"_s, u"Bank"_s, u"buchhaltung"_s, u"Bürobedarf"_s, u"Porto"_s}));
}

void TstTable::emptyCursorIsAtStartAndEnd()
{
    Table texte(m_db.get());
    texte.setTableName(u"TEXTE"_s);
    texte.open();
    QCOMPARE(texte.recordCount(), 0);
    QVERIFY(texte.bof() && texte.eof());
    texte.next();
    QVERIFY(texte.bof() && texte.eof());
    texte.last();
    QVERIFY(texte.bof() && texte.eof());
    QVERIFY(texte.fieldByName(u"Text"_s).isNull());
}

void TstTable::setsFlagsAtTheEnds()
{
    QVERIFY(m_kasse->bof());
    QVERIFY(!m_kasse->eof());
    m_kasse->prior();
    QVERIFY(m_kasse->bof());
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B2"_s);
    m_kasse->next();
    QVERIFY(!m_kasse->bof());
    m_kasse->last();
    QVERIFY(m_kasse->eof());
    m_kasse->next();
    QVERIFY(m_kasse->eof());
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B4"_s);
    m_kasse->prior();
    QVERIFY(!m_kasse->eof());
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B3"_s);
}

void TstTable::walksAcrossFetchBatches()
{
    exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 150)"
         " INSERT INTO TEXTE (Text) SELECT printf('T%03d', i) FROM n"_s);
    Table texte(m_db.get());
    texte.setTableName(u"TEXTE"_s);
    texte.setIndexName(u"TEXT"_s);
    texte.open();
    QStringList forward = walk(texte, u"Text"_s);
    QStringList backward;
    for (texte.last(); !texte.bof(); texte.prior())
        backward.prepend(texte.fieldByName(u"Text"_s).asString());
    backward.prepend(texte.fieldByName(u"Text"_s).asString());
    QCOMPARE(forward.size(), 150);
    QCOMPARE(forward.first(), u"T001"_s);
    QCOMPARE(forward.last(), u"T150"_s);
    QCOMPARE(backward.mid(1), forward);
}

void TstTable::locates_data()
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<LocateOption>("option");
    QTest::addColumn<QString>("found");
    QTest::newRow("exact text") << u"BelegNr"_s << QVariant(u"B3"_s) << LocateOption::Exact << u"B3"_s;
    QTest::newRow("exact text minds case") << u"BelegNr"_s << QVariant(u"b3"_s) << LocateOption::Exact << QString();
    QTest::newRow("exact date") << u"Datum"_s << QVariant(u"01.04.2007"_s) << LocateOption::Exact << u"B4"_s;
    QTest::newRow("exact integer") << u"nr"_s << QVariant(3) << LocateOption::Exact << u"B3"_s;
    QTest::newRow("prefix ignores case, first in order")
        << u"Text"_s << QVariant(u"BÜRO"_s) << LocateOption::CaseInsensitivePrefix << u"B2"_s;
    QTest::newRow("longer prefix") << u"Text"_s << QVariant(u"büro K"_s) << LocateOption::CaseInsensitivePrefix << u"B3"_s;
    QTest::newRow("prefix is no exact match") << u"Text"_s << QVariant(u"büro"_s) << LocateOption::Exact << QString();
    QTest::newRow("several fields") << u"Datum;BelegNr"_s << QVariant(QVariantList{u"02.03.2007"_s, u"B3"_s})
                                    << LocateOption::Exact << u"B3"_s;
    QTest::newRow("other company's row is outside the range")
        << u"BelegNr"_s << QVariant(u"B5"_s) << LocateOption::Exact << QString();
}

void TstTable::locates()
{
    QFETCH(QString, fields);
    QFETCH(QVariant, value);
    QFETCH(LocateOption, option);
    QFETCH(QString, found);
    QCOMPARE(m_kasse->locate(fields, value, option), !found.isEmpty());
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), found.isEmpty() ? u"B2"_s : found);
}

void TstTable::locateFailureLeavesCursor()
{
    m_kasse->last();
    QVERIFY(!m_kasse->locate(u"BelegNr"_s, u"B9"_s));
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B4"_s);
    QVERIFY(m_kasse->eof());
}

void TstTable::appendFillsMasterLink()
{
    int inserts = 0;
    m_kasse->beforeInsert = [&](Table &) { ++inserts; };
    m_kasse->afterInsert = [&](Table &t) {
        ++inserts;
        t.fieldByName(u"Minuskonto"_s).setAsBoolean(false);
    };
    m_firma->last();
    m_kasse->append();
    QCOMPARE(inserts, 2);
    QCOMPARE(m_kasse->state(), CursorState::Insert);
    QCOMPARE(m_kasse->fieldByName(u"Firma_ID"_s).asInteger(), 2);
    m_kasse->fieldByName(u"Datum"_s).setAsString(u"01.01.2007"_s);
    m_kasse->fieldByName(u"BelegNr"_s).setAsString(u"B6"_s);
    m_kasse->post();
    QCOMPARE(m_kasse->fieldByName(u"Nr"_s).asInteger(), 6);
    QCOMPARE(m_kasse->position(), 0);
    QCOMPARE(walk(*m_kasse, u"BelegNr"_s), (QStringList{u"B6"_s, u"B5"_s}));
    QCOMPARE(stored(u"SELECT Firma_ID || '/' || Minuskonto FROM KASSE WHERE BelegNr = 'B6'"_s), u"2/0"_s);
}

void TstTable::detailFollowsMaster()
{
    m_firma->next();
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B5"_s);
    m_firma->append();
    QCOMPARE(m_kasse->recordCount(), 0);
    QVERIFY(m_kasse->bof() && m_kasse->eof());
    m_firma->cancel();
    QCOMPARE(m_kasse->recordCount(), 1);
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B5"_s);
}

void TstTable::postAndCancelOutsideEditDoNothing()
{
    int events = 0;
    m_kasse->beforePost = [&](Table &) { ++events; };
    m_kasse->afterPost = [&](Table &) { ++events; };
    m_kasse->next();
    m_kasse->post();
    m_kasse->cancel();
    QCOMPARE(events, 0);
    QCOMPARE(m_kasse->state(), CursorState::Browse);
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B1"_s);
}

void TstTable::movingPostsFirst_data()
{
    QTest::addColumn<QString>("move");
    for (const char *move : {"first", "last", "next", "prior", "moveTo", "locate", "refresh", "append"})
        QTest::newRow(move) << QString::fromLatin1(move);
}

void TstTable::movingPostsFirst()
{
    QFETCH(QString, move);
    const QHash<QString, std::function<void()>> moves{
        {u"first"_s, [&] { m_kasse->first(); }},
        {u"last"_s, [&] { m_kasse->last(); }},
        {u"next"_s, [&] { m_kasse->next(); }},
        {u"prior"_s, [&] { m_kasse->prior(); }},
        {u"moveTo"_s, [&] { m_kasse->moveTo(3); }},
        {u"locate"_s, [&] { m_kasse->locate(u"BelegNr"_s, u"B4"_s); }},
        {u"refresh"_s, [&] { m_kasse->refresh(); }},
        {u"append"_s, [&] { m_kasse->append(); }},
    };
    int posts = 0;
    m_kasse->afterPost = [&](Table &) { ++posts; };
    m_kasse->next();
    m_kasse->edit();
    m_kasse->fieldByName(u"Text"_s).setAsString(u"geändert"_s);
    moves.value(move)();
    QCOMPARE(posts, 1);
    QCOMPARE(stored(u"SELECT Text FROM KASSE WHERE BelegNr = 'B1'"_s), u"geändert"_s);
}

void TstTable::editingEmptyTableInserts()
{
    Table texte(m_db.get());
    texte.setTableName(u"TEXTE"_s);
    texte.open();
    bool inserted = false;
    texte.afterInsert = [&](Table &) { inserted = true; };
    texte.edit();
    QCOMPARE(texte.state(), CursorState::Insert);
    QVERIFY(inserted);
    texte.fieldByName(u"Text"_s).setAsString(u"Porto"_s);
    texte.post();
    QCOMPARE(texte.recordCount(), 1);
    QCOMPARE(stored(u"SELECT Text FROM TEXTE"_s), u"Porto"_s);
}

void TstTable::refusesFieldWriteWhileBrowsing()
{
    QVERIFY_THROWS_EXCEPTION(EngineError, m_kasse->fieldByName(u"Text"_s).setAsString(u"x"_s));
    QCOMPARE(m_kasse->fieldByName(u"Text"_s).asString(), u"Büromaterial"_s);
}

void TstTable::deleteLandsOnNeighbour_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("landsOn");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("first lands on the next") << 0 << u"B1"_s << QStringList{u"B1"_s, u"B3"_s, u"B4"_s};
    QTest::newRow("middle lands on the next") << 1 << u"B3"_s << QStringList{u"B2"_s, u"B3"_s, u"B4"_s};
    QTest::newRow("last lands on the previous") << 3 << u"B3"_s << QStringList{u"B2"_s, u"B1"_s, u"B3"_s};
}

void TstTable::deleteLandsOnNeighbour()
{
    QFETCH(int, position);
    QFETCH(QString, landsOn);
    QFETCH(QStringList, left);
    QString seenAfterDelete;
    m_kasse->afterDelete = [&](Table &t) { seenAfterDelete = t.fieldByName(u"BelegNr"_s).asString(); };
    m_kasse->moveTo(position);
    m_kasse->deleteRecord();
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), landsOn);
    QCOMPARE(seenAfterDelete, landsOn);
    QCOMPARE(m_kasse->recordCount(), 3);
    QCOMPARE(stored(u"SELECT count(*) FROM KASSE"_s), u"4"_s);
    QCOMPARE(walk(*m_kasse, u"BelegNr"_s), left);
}

void TstTable::beforePostCancelStoresNothing_data()
{
    QTest::addColumn<bool>("inserting");
    QTest::newRow("changed row") << false;
    QTest::newRow("new row") << true;
}

void TstTable::beforePostCancelStoresNothing()
{
    QFETCH(bool, inserting);
    bool afterPostRan = false;
    m_kasse->beforePost = [](Table &t) { t.cancel(); };
    m_kasse->afterPost = [&](Table &) { afterPostRan = true; };
    if (inserting)
        m_kasse->append();
    else
        m_kasse->edit();
    m_kasse->fieldByName(u"BelegNr"_s).setAsString(u"X"_s);
    m_kasse->post();
    QVERIFY(afterPostRan);
    QCOMPARE(m_kasse->state(), CursorState::Browse);
    QCOMPARE(stored(u"SELECT count(*) FROM KASSE WHERE BelegNr = 'X'"_s), u"0"_s);
    QCOMPARE(m_kasse->recordCount(), 4);
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B2"_s);
}

void TstTable::failingBeforePostKeepsEditing()
{
    m_kasse->beforePost = [](Table &) { throw ConversionError(u"Division durch Null"_s); };
    m_kasse->edit();
    m_kasse->fieldByName(u"BelegNr"_s).setAsString(u"X"_s);
    QVERIFY_THROWS_EXCEPTION(ConversionError, m_kasse->next());
    QCOMPARE(m_kasse->state(), CursorState::Edit);
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"X"_s);
    QCOMPARE(stored(u"SELECT BelegNr FROM KASSE WHERE Nr = 2"_s), u"B2"_s);
}

void TstTable::abortInBeforeDeleteKeepsRow()
{
    bool afterDeleteRan = false;
    m_kasse->beforeDelete = [](Table &) { throw Abort(); };
    m_kasse->afterDelete = [&](Table &) { afterDeleteRan = true; };
    QVERIFY_THROWS_EXCEPTION(Abort, m_kasse->deleteRecord());
    QVERIFY(!afterDeleteRan);
    QCOMPARE(m_kasse->recordCount(), 4);
    QCOMPARE(stored(u"SELECT count(*) FROM KASSE"_s), u"5"_s);
}

void TstTable::failingAfterEventTakesBackEverything_data()
{
    QTest::addColumn<bool>("deleting");
    QTest::newRow("store of a new row") << false;
    QTest::newRow("delete") << true;
}

// What the after-event wrote goes with the store or delete, and a second cursor that read the
// rows inside the failed transaction reads them again at its next move.
void TstTable::failingAfterEventTakesBackEverything()
{
    QFETCH(bool, deleting);
    std::unique_ptr<Table> other = bookingCursor();
    const auto failAfterWriting = [&](Table &) {
        exec(u"UPDATE KASSE SET Text = 'geändert' WHERE Nr = 5"_s);
        other->refresh();
        throw EngineError(u"Platte voll"_s);
    };
    if (deleting) {
        m_kasse->afterDelete = failAfterWriting;
        QVERIFY_THROWS_EXCEPTION(EngineError, m_kasse->deleteRecord());
        QCOMPARE(m_kasse->state(), CursorState::Browse);
    } else {
        m_kasse->afterPost = failAfterWriting;
        m_kasse->append();
        m_kasse->fieldByName(u"BelegNr"_s).setAsString(u"B9"_s);
        QVERIFY_THROWS_EXCEPTION(EngineError, m_kasse->post());
        QCOMPARE(m_kasse->state(), CursorState::Insert);
        QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B9"_s);
    }
    QCOMPARE(stored(u"SELECT count(*) || ' ' || group_concat(Text, '/') FROM KASSE"_s),
             u"5 Tageseinnahmen/Büromaterial/büro klammern/Porto/Porto"_s);
    other->first();
    QCOMPARE(walk(*other, u"BelegNr"_s), QStringList({u"B2"_s, u"B1"_s, u"B3"_s, u"B4"_s}));
}

void TstTable::failingBeforeInsertInsertsNothing()
{
    m_kasse->beforeInsert = [](Table &) { throw Abort(); };
    QVERIFY_THROWS_EXCEPTION(Abort, m_kasse->append());
    QCOMPARE(m_kasse->state(), CursorState::Browse);
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B2"_s);
}

void TstTable::postWritesOnlyChangedFields()
{
    std::unique_ptr<Table> other = bookingCursor();
    m_kasse->edit();
    m_kasse->fieldByName(u"Text"_s).setAsString(u"mein Text"_s);
    other->edit();
    other->fieldByName(u"BelegNr"_s).setAsString(u"B2a"_s);
    other->post();
    m_kasse->post();
    QCOMPARE(stored(u"SELECT BelegNr || ' ' || Text FROM KASSE WHERE Nr = 2"_s), u"B2a mein Text"_s);

    other->edit();
    other->fieldByName(u"Text"_s).setAsString(u"anderer Text"_s);
    other->post();
    m_kasse->edit();
    QCOMPARE(m_kasse->fieldByName(u"Text"_s).asString(), u"anderer Text"_s);
}

void TstTable::postOfVanishedRowFails()
{
    std::unique_ptr<Table> other = bookingCursor();
    m_kasse->edit();
    m_kasse->fieldByName(u"Text"_s).setAsString(u"zu spät"_s);
    other->deleteRecord();
    QVERIFY_THROWS_EXCEPTION(EngineError, m_kasse->post());
    QCOMPARE(m_kasse->state(), CursorState::Edit);
}

void TstTable::firstReadWhileEditingKeepsChanges()
{
    // A walk that reads few fields fetches only those for its rows; the rest comes when asked.
    for (m_kasse->first(); !m_kasse->eof(); m_kasse->next())
        m_kasse->fieldByName(u"Buchungsbetrag"_s).asMoney();
    m_kasse->prior();
    m_kasse->edit();
    m_kasse->fieldByName(u"BelegNr"_s).setAsString(u"B3a"_s);
    QCOMPARE(m_kasse->fieldByName(u"Text"_s).asString(), u"büro klammern"_s);
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B3a"_s);
    m_kasse->post();
    QCOMPARE(stored(u"SELECT BelegNr || ' ' || Text FROM KASSE WHERE Nr = 3"_s), u"B3a büro klammern"_s);
}

void TstTable::refreshShowsRowsOfOtherCursor()
{
    std::unique_ptr<Table> other = bookingCursor();
    m_kasse->moveTo(2);
    other->append();
    other->fieldByName(u"Datum"_s).setAsString(u"01.02.2007"_s);
    other->fieldByName(u"BelegNr"_s).setAsString(u"B0"_s);
    other->post();
    other->locate(u"BelegNr"_s, u"B3"_s);
    other->edit();
    other->fieldByName(u"Text"_s).setAsString(u"neu"_s);
    other->post();

    QCOMPARE(m_kasse->recordCount(), 4);
    m_kasse->refresh();
    QCOMPARE(m_kasse->recordCount(), 5);
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B3"_s);
    QCOMPARE(m_kasse->fieldByName(u"Text"_s).asString(), u"neu"_s);
    QCOMPARE(m_kasse->position(), 3);
    QCOMPARE(walk(*m_kasse, u"BelegNr"_s), (QStringList{u"B0"_s, u"B2"_s, u"B1"_s, u"B3"_s, u"B4"_s}));
}

void TstTable::filterComparesDates()
{
    m_kasse->last();
    m_kasse->setFilter(u"Datum>='01.03.2007' and Datum<='31.03.2007'"_s);
    QCOMPARE(m_kasse->recordCount(), 4);
    m_kasse->setFiltered(true);
    QVERIFY(m_kasse->bof());
    QCOMPARE(m_kasse->recordCount(), 3);
    QCOMPARE(walk(*m_kasse, u"BelegNr"_s), (QStringList{u"B2"_s, u"B1"_s, u"B3"_s}));
    m_firma->next();
    QCOMPARE(walk(*m_kasse, u"BelegNr"_s), QStringList{u"B5"_s});
    m_firma->first();
    m_kasse->setFiltered(false);
    QCOMPARE(m_kasse->recordCount(), 4);
}

void TstTable::unreadableFilterKeepsRows()
{
    m_kasse->setFiltered(true);
    QVERIFY_THROWS_EXCEPTION(EngineError, m_kasse->setFilter(u"Datum>='31.02.2007'"_s));
    QCOMPARE(m_kasse->filter(), QString());
    QCOMPARE(m_kasse->recordCount(), 4);
}

void TstTable::storesTextCutToWidth()
{
    const QString name = QString(70, u'k');
    m_kasse->edit();
    m_kasse->fieldByName(u"Kontoname"_s).setAsString(name);
    m_kasse->post();
    QCOMPARE(stored(u"SELECT Kontoname FROM KASSE WHERE Nr = 2"_s), name.left(60));
}

void TstTable::postedRowTakesItsPlace()
{
    m_kasse->last();
    m_kasse->edit();
    m_kasse->fieldByName(u"Datum"_s).setAsString(u"01.01.2007"_s);
    m_kasse->post();
    QCOMPARE(m_kasse->position(), 0);
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B4"_s);
    QCOMPARE(walk(*m_kasse, u"BelegNr"_s), (QStringList{u"B4"_s, u"B2"_s, u"B1"_s, u"B3"_s}));
}

void TstTable::insertShowsAtCursor()
{
    m_kasse->last();
    m_kasse->insert();
    QCOMPARE(m_kasse->position(), 3);
    QCOMPARE(m_kasse->recordCount(), 4);
    m_kasse->fieldByName(u"Datum"_s).setAsString(u"02.03.2007"_s);
    m_kasse->fieldByName(u"BelegNr"_s).setAsString(u"B6"_s);
    m_kasse->post();
    QCOMPARE(m_kasse->recordCount(), 5);
    QCOMPARE(m_kasse->position(), 3);
    QCOMPARE(walk(*m_kasse, u"BelegNr"_s), (QStringList{u"B2"_s, u"B1"_s, u"B3"_s, u"B6"_s, u"B4"_s}));
}

void TstTable::postJoinsOuterTransaction()
{
    {
        Transaction transaction(*m_db);
        m_kasse->edit();
        m_kasse->fieldByName(u"BelegNr"_s).setAsString(u"X"_s);
        m_kasse->post();
        QCOMPARE(stored(u"SELECT BelegNr FROM KASSE WHERE Nr = 2"_s), u"X"_s);
    }
    QCOMPARE(stored(u"SELECT BelegNr FROM KASSE WHERE Nr = 2"_s), u"B2"_s);
    // The cursor must not keep showing the value the rollback took back.
    m_kasse->first();
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B2"_s);
}

void TstTable::walkInTransactionWritesEveryRow()
{
    exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200)"
         " INSERT INTO KASSE (Firma_ID, Datum, Buchungsbetrag, Minuskonto) SELECT 1, '2008-01-01', 1.25, i % 2 FROM n"_s);
    std::unique_ptr<Table> walker = bookingCursor();
    Field &lfdNr = walker->fieldByName(u"lfdNr"_s);
    Field &balance = walker->fieldByName(u"Zeilenbestand"_s);
    {
        Transaction transaction(*m_db);
        Money sum;
        qint64 k = 0;
        for (walker->first(); !walker->eof(); walker->next()) {
            walker->edit();
            lfdNr.setAsInteger(++k);
            const Money amount = walker->fieldByName(u"Buchungsbetrag"_s).asMoney();
            sum += walker->fieldByName(u"Minuskonto"_s).asBoolean() ? -amount : amount;
            balance.setAsMoney(sum);
        }
        transaction.commit();
    }
    QCOMPARE(stored(u"SELECT count(*) FROM KASSE WHERE Firma_ID = 1 AND lfdNr IS NOT NULL"_s), u"204"_s);
    QCOMPARE(stored(u"SELECT group_concat(BelegNr) FROM (SELECT BelegNr FROM KASSE WHERE lfdNr <= 4 AND Firma_ID = 1 ORDER BY lfdNr)"_s),
             u"B2,B1,B3,B4"_s);
    QCOMPARE(stored(u"SELECT Zeilenbestand FROM KASSE WHERE lfdNr = 204"_s), u"155.0"_s);
    m_kasse->refresh();
    m_kasse->last();
    QCOMPARE(m_kasse->fieldByName(u"Zeilenbestand"_s).asString(), u"155"_s);
}

void TstTable::findsFieldsWithoutRegardToCase()
{
    QCOMPARE(m_kasse->fieldByName(u"umstinprozent"_s).name(), u"UMSTinProzent"_s);
    try {
        m_kasse->fieldByName(u"Gibtsnicht"_s);
        QFAIL("no error for an unknown field");
    } catch (const EngineError &error) {
        QCOMPARE(error.text(), u"KASSE: Feld 'Gibtsnicht' nicht gefunden"_s);
    }
}

void TstTable::readsFieldListFromFile()
{
    QVERIFY(!m_kasse->findField(u"Extra"_s));
    m_kasse->close();
    exec(u"ALTER TABLE \"KASSE\" ADD EXTRA INTEGER"_s);
    m_kasse->open();
    QCOMPARE(m_kasse->fieldByName(u"extra"_s).type(), FieldType::Integer);
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).width(), 20);
}

QTEST_MAIN(TstTable)
#include "tst_table.moc"
