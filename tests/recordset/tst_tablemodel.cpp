#include "DataSource.h"
#include "Database.h"
#include "Errors.h"
#include "SchemaCatalogue.h"
#include "Table.h"
#include "TableModel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace kb;

// Bookings B1 to B5 in date order; the grid shows BelegNr, Buchungsbetrag and Minuskonto.
class TstTableModel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsRowsByPosition();
    void formatsThroughHook();
    void followsFilter();
    void showsInsertedRowAtCursor();
    void editsThroughCursor();
    void currentRowIsCursorRow();
    void guardReceivesEditErrors();

private:
    QString cell(int row, int column) const { return m_model->index(row, column).data().toString(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Table> m_kasse;
    std::unique_ptr<DataSource> m_source;
    std::unique_ptr<TableModel> m_model;
};

void TstTableModel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_db = std::make_unique<Database>(m_dir->filePath(Database::fileName()), true);
    SchemaCatalogue::createAll(*m_db);
    m_db->execute(u"INSERT INTO KASSE (Firma_ID, Datum, BelegNr, Buchungsbetrag, Minuskonto) VALUES"
                  " (1, '2007-03-05', 'B5', 5, 0), (1, '2007-03-01', 'B1', 12.5, 1), (1, '2007-03-02', 'B2', 2, 0),"
                  " (1, '2007-03-03', 'B3', 3, 0), (1, '2007-03-04', 'B4', 4, 0)"_s);
    m_kasse = std::make_unique<Table>(m_db.get());
    m_kasse->setTableName(u"KASSE"_s);
    m_kasse->setIndexName(u"FIRMA_ID"_s);
    m_kasse->open();
    m_source = std::make_unique<DataSource>(m_kasse.get());
    m_model = std::make_unique<TableModel>(m_source.get());
    m_model->setColumns({{u"BelegNr"_s, QString(), false}, {u"Buchungsbetrag"_s, u"Betrag"_s, false},
                         {u"Minuskonto"_s, u"Minus"_s, true}});
}

void TstTableModel::cleanup()
{
    m_model.reset();
    m_source.reset();
    m_kasse.reset();
    m_db.reset();
    m_dir.reset();
}

void TstTableModel::showsRowsByPosition()
{
    QCOMPARE(m_model->rowCount(), 5);
    QCOMPARE(m_model->columnCount(), 3);
    QCOMPARE(m_model->headerData(0, Qt::Horizontal).toString(), u"BelegNr"_s);
    QCOMPARE(m_model->headerData(1, Qt::Horizontal).toString(), u"Betrag"_s);
    QCOMPARE(cell(3, 0), u"B4"_s);
    QCOMPARE(cell(0, 1), u"12,5"_s);
    QCOMPARE(cell(0, 2), u"Wahr"_s);
    QCOMPARE(m_kasse->position(), 0);
}

void TstTableModel::formatsThroughHook()
{
    m_model->setFormatter([](const Field &field, int role) {
        if (field.type() == FieldType::Money && role == Qt::DisplayRole)
            return field.asString() + u" €"_s;
        return field.asString();
    });
    QCOMPARE(cell(1, 1), u"2 €"_s);
    QCOMPARE(m_model->index(1, 1).data(Qt::EditRole).toString(), u"2"_s);
}

void TstTableModel::followsFilter()
{
    m_kasse->setFilter(u"Datum>='02.03.2007' and Datum<='03.03.2007'"_s);
    m_kasse->setFiltered(true);
    QCOMPARE(m_model->rowCount(), 2);
    QCOMPARE(cell(1, 0), u"B3"_s);
}

void TstTableModel::showsInsertedRowAtCursor()
{
    m_kasse->moveTo(1);
    m_kasse->insert();
    QCOMPARE(m_model->rowCount(), 6);
    QCOMPARE(m_model->currentRow(), 1);
    QCOMPARE(cell(0, 0), u"B1"_s);
    QCOMPARE(cell(1, 0), QString());
    QCOMPARE(cell(2, 0), u"B2"_s);
    m_kasse->cancel();
    QCOMPARE(m_model->rowCount(), 5);
    QCOMPARE(cell(1, 0), u"B2"_s);
}

void TstTableModel::editsThroughCursor()
{
    QVERIFY(m_model->setData(m_model->index(2, 0), u"B3-neu"_s));
    QCOMPARE(m_kasse->position(), 2);
    QCOMPARE(m_kasse->state(), CursorState::Edit);
    QCOMPARE(cell(2, 0), u"B3-neu"_s);
    QVERIFY(!(m_model->flags(m_model->index(2, 2)) & Qt::ItemIsEditable));
    m_model->setCurrentRow(4);
    QCOMPARE(m_kasse->state(), CursorState::Browse);
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B5"_s);
    QCOMPARE(cell(2, 0), u"B3-neu"_s);
}

void TstTableModel::currentRowIsCursorRow()
{
    QSignalSpy rows(m_model.get(), &TableModel::currentRowChanged);
    m_kasse->last();
    QCOMPARE(rows.last().first().toInt(), 4);
    m_model->setCurrentRow(2);
    QCOMPARE(m_kasse->fieldByName(u"BelegNr"_s).asString(), u"B3"_s);
    QCOMPARE(m_model->currentRow(), 2);
}

void TstTableModel::guardReceivesEditErrors()
{
    QString reported;
    m_model->setGuard([&](const std::function<void()> &work) {
        try {
            work();
        } catch (const Error &error) {
            reported = error.text();
        }
    });
    QVERIFY(!m_model->setData(m_model->index(1, 1), u"zwei"_s));
    QCOMPARE(reported, u"'zwei' ist kein gültiger Gleitkommawert"_s);
    QCOMPARE(m_kasse->fieldByName(u"Buchungsbetrag"_s).asString(), u"2"_s);
}

QTEST_MAIN(TstTableModel)
#include "tst_tablemodel.moc"
