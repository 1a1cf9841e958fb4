#include "DataSource.h"
#include "Database.h"
#include "Errors.h"
#include "SchemaCatalogue.h"
#include "Statement.h"
#include "Table.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace kb;

class TstDataSource : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tellsOfRecordStateAndFieldChanges();
    void letsControlsWriteBeforeStore();
    void tellsOfNewRows();
    void detailStoresPendingChangeWhenMasterMoves();
    void aFailingDetailStoreKeepsTheMaster();
    void survivesItsCursor();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Table> m_texte;
};

void TstDataSource::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_db = std::make_unique<Database>(m_dir->filePath(Database::fileName()), true);
    SchemaCatalogue::createAll(*m_db);
    m_db->execute(u"INSERT INTO TEXTE (Text) VALUES ('Briefmarken'), ('Porto')"_s);
    m_texte = std::make_unique<Table>(m_db.get());
    m_texte->setTableName(u"TEXTE"_s);
    m_texte->setIndexName(u"TEXT"_s);
    m_texte->open();
}

void TstDataSource::cleanup()
{
    m_texte.reset();
    m_db.reset();
    m_dir.reset();
}

void TstDataSource::tellsOfRecordStateAndFieldChanges()
{
    DataSource source(m_texte.get());
    QSignalSpy records(&source, &DataSource::recordChanged);
    QSignalSpy states(&source, &DataSource::stateChanged);
    QSignalSpy fields(&source, &DataSource::fieldChanged);
    m_texte->next();
    QCOMPARE(records.count(), 1);
    m_texte->edit();
    QCOMPARE(states.count(), 1);
    QCOMPARE(states.last().first().value<CursorState>(), CursorState::Edit);
    Field &text = m_texte->fieldByName(u"Text"_s);
    text.setAsString(u"Paket"_s);
    QCOMPARE(fields.count(), 1);
    QCOMPARE(fields.last().first().value<Field *>(), &text);
    m_texte->cancel();
    QCOMPARE(states.last().first().value<CursorState>(), CursorState::Browse);
    QCOMPARE(text.asString(), u"Porto"_s);
}

void TstDataSource::letsControlsWriteBeforeStore()
{
    DataSource source(m_texte.get());
    struct Control : DataSourceObserver
    {
        Table *table;
        void cursorUpdateRecord() override { table->fieldByName(u"Text"_s).setAsString(u"Briefumschläge"_s); }
    } control;
    control.table = m_texte.get();
    source.addObserver(&control);
    const QString pending = u"Briefumschläge"_s;
    QString seenByBeforePost;
    m_texte->beforePost = [&](Table &t) { seenByBeforePost = t.fieldByName(u"Text"_s).asString(); };
    m_texte->edit();
    m_texte->post();
    QCOMPARE(seenByBeforePost, pending);
    Statement stored = m_db->prepare(u"SELECT count(*) FROM TEXTE WHERE Text = 'Briefumschläge'"_s);
    QVERIFY(stored.step());
    QCOMPARE(stored.integer(0), 1);
}

void TstDataSource::tellsOfNewRows()
{
    DataSource source(m_texte.get());
    QSignalSpy rows(&source, &DataSource::rowsChanged);
    m_texte->append();
    QCOMPARE(rows.count(), 0);
    m_texte->fieldByName(u"Text"_s).setAsString(u"Anfangsbestand"_s);
    m_texte->post();
    QCOMPARE(rows.count(), 1);
    m_texte->refresh();
    QCOMPARE(rows.count(), 2);
}

void TstDataSource::detailStoresPendingChangeWhenMasterMoves()
{
    m_db->execute(u"INSERT INTO GRUPPEN (GruppenNr, Gruppe) VALUES (1, 'Erlöse'), (2, 'Kosten')"_s);
    m_db->execute(u"INSERT INTO GRPLINK (GruppenID, KontoID) VALUES (1, 10), (1, 11), (2, 20)"_s);
    Table gruppen(m_db.get());
    gruppen.setTableName(u"GRUPPEN"_s);
    gruppen.open();
    DataSource gruppenSource(&gruppen);
    Table links(m_db.get());
    links.setTableName(u"GRPLINK"_s);
    links.setIndexName(u"GRUPPENID"_s);
    links.setMasterSource(&gruppenSource, {u"GruppenNr"_s}, {u"GruppenID"_s});
    links.open();
    QCOMPARE(links.recordCount(), 2);
    links.append();
    links.fieldByName(u"KontoID"_s).setAsInteger(12);
    qint64 masterWhileStoring = 0;
    links.beforePost = [&](Table &) { masterWhileStoring = gruppen.fieldByName(u"GruppenNr"_s).asInteger(); };
    gruppen.next();
    QCOMPARE(masterWhileStoring, 1);
    QCOMPARE(links.state(), CursorState::Browse);
    QCOMPARE(links.recordCount(), 1);
    gruppen.first();
    QCOMPARE(links.recordCount(), 3);
    links.last();
    QCOMPARE(links.fieldByName(u"KontoID"_s).asInteger(), 12);
    QCOMPARE(links.fieldByName(u"GruppenID"_s).asInteger(), 1);
}

void TstDataSource::aFailingDetailStoreKeepsTheMaster()
{
    m_db->execute(u"INSERT INTO GRUPPEN (GruppenNr, Gruppe) VALUES (1, 'Erlöse'), (2, 'Kosten')"_s);
    Table gruppen(m_db.get());
    gruppen.setTableName(u"GRUPPEN"_s);
    gruppen.open();
    DataSource gruppenSource(&gruppen);
    Table links(m_db.get());
    links.setTableName(u"GRPLINK"_s);
    links.setIndexName(u"GRUPPENID"_s);
    links.setMasterSource(&gruppenSource, {u"GruppenNr"_s}, {u"GruppenID"_s});
    links.open();
    links.append();
    links.fieldByName(u"KontoID"_s).setAsInteger(12);
    links.beforePost = [](Table &) { throw Error(u"Konto fehlt"_s); };

    QVERIFY_THROWS_EXCEPTION(Error, gruppen.next());
    QCOMPARE(gruppen.position(), 0);
    QCOMPARE(links.state(), CursorState::Insert);
    QCOMPARE(links.fieldByName(u"KontoID"_s).asInteger(), 12);
    QCOMPARE(links.fieldByName(u"GruppenID"_s).asInteger(), 1);
}

void TstDataSource::survivesItsCursor()
{
    DataSource source(m_texte.get());
    m_texte.reset();
    QCOMPARE(source.cursor(), nullptr);
    QCOMPARE(source.state(), CursorState::Inactive);
}

QTEST_MAIN(TstDataSource)
#include "tst_datasource.moc"
