#include "UiCheck.h"
#include "DbGrid.h"
#include "FormatSettings.h"
#include "LedgerFixture.h"
#include "TableModel.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kb;
using namespace kb::test;

// The journal grid with the currency symbol set to "CHF", on the three bookings of the fixture.
class TstDbGrid : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsCellsInTheirDisplayFormAndEditsWithoutSymbol_data();
    void showsCellsInTheirDisplayFormAndEditsWithoutSymbol();
    void columnsHaveTitlesWidthsAndReadOnlyBackground();
    void currentRowFollowsTheCursorBothWays();
    void leavingAnEditedRowStoresIt_data();
    void leavingAnEditedRowStoresIt();
    void failedWriteKeepsTheTextInItsCell_data();
    void failedWriteKeepsTheTextInItsCell();

private:
    enum Column { Datum, BelegNr, Betrag, UStEuro, Netto, Minus };
    QModelIndex cell(int row, int column) const { return m_grid->model()->index(row, column); }
    QLineEdit *openEditor(int row, int column) const;
    // Types into the current cell as a user does: the first key opens the editor.
    QLineEdit *typeIntoCell(const QString &text) const;
    QString belegNr() const { return m_ledger->field(u"BelegNr"_s).asString(); }

    std::unique_ptr<LedgerFixture> m_ledger;
    FormatSettings m_formats;
    DbGrid *m_grid = nullptr;
};

void TstDbGrid::init()
{
    m_ledger = std::make_unique<LedgerFixture>();
    m_ledger->openSampleJournal();
    m_formats.currencySymbol = u"CHF"_s;
    m_grid = new DbGrid(m_ledger->ui, m_formats, &m_ledger->window());
    m_grid->setColumns({{u"Datum"_s, u"Datum"_s, 70},
                        {u"BelegNr"_s, u"BelegNr"_s, 70},
                        {u"Buchungsbetrag"_s, u"Betrag"_s, 70},
                        {u"UMSTinEURO"_s, u"USt €"_s, 70},
                        {u"Nettobuchungsbetrag"_s, u"Netto"_s, 70, true},
                        {u"Minuskonto"_s, u"Minus"_s}});
    m_grid->bind(&m_ledger->source());
    (new QVBoxLayout(&m_ledger->window()))->addWidget(m_grid);
    QVERIFY(m_ledger->showWindow());
    m_grid->setFocus();
}

void TstDbGrid::cleanup()
{
    m_ledger.reset();
    kb::test::verifyNoUiProblems();
}

QLineEdit *TstDbGrid::openEditor(int row, int column) const
{
    m_grid->setCurrentIndex(cell(row, column));
    m_grid->edit(cell(row, column));
    return m_grid->findChild<QLineEdit *>();
}

QLineEdit *TstDbGrid::typeIntoCell(const QString &text) const
{
    QTest::keyClicks(m_grid, text.left(1));
    QLineEdit *editor = m_grid->findChild<QLineEdit *>();
    if (editor)
        QTest::keyClicks(editor, text.mid(1));
    return editor;
}

void TstDbGrid::showsCellsInTheirDisplayFormAndEditsWithoutSymbol_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("edited");
    QTest::newRow("amount with the set symbol") << 0 << int(Betrag) << u"12,50 CHF"_s << u"12,50"_s;
    QTest::newRow("thousands separated only when shown") << 1 << int(Betrag) << u"1.234,56 CHF"_s << u"1234,56"_s;
    QTest::newRow("empty amount stays empty") << 0 << int(UStEuro) << QString() << QString();
    QTest::newRow("date") << 0 << int(Datum) << u"01.03.2007"_s << u"01.03.2007"_s;
    QTest::newRow("logical true") << 1 << int(Minus) << u"Wahr"_s << u"Wahr"_s;
    QTest::newRow("logical false") << 0 << int(Minus) << u"Falsch"_s << u"Falsch"_s;
}

void TstDbGrid::showsCellsInTheirDisplayFormAndEditsWithoutSymbol()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, shown);
    QFETCH(QString, edited);
    QCOMPARE(cell(row, column).data().toString(), shown);
    QLineEdit *editor = openEditor(row, column);
    QVERIFY(editor);
    QCOMPARE(editor->text(), edited);

    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!m_grid->findChild<QLineEdit *>());
    QCOMPARE(m_ledger->kasse().state(), CursorState::Browse);
}

void TstDbGrid::columnsHaveTitlesWidthsAndReadOnlyBackground()
{
    QStringList titles;
    QList<int> widths;
    for (int column = 0; column < m_grid->model()->columnCount(); ++column) {
        titles.append(m_grid->model()->headerData(column, Qt::Horizontal).toString());
        widths.append(m_grid->columnWidth(column));
    }
    const int standard = m_grid->horizontalHeader()->defaultSectionSize();
    QCOMPARE(titles, QStringList({u"Datum"_s, u"BelegNr"_s, u"Betrag"_s, u"USt €"_s, u"Netto"_s, u"Minus"_s}));
    QCOMPARE(widths, QList<int>({70, 70, 70, 70, 70, standard}));

    // A store reads the rows again; the widths must survive it.
    m_ledger->kasse().refresh();
    m_ledger->kasse().append();
    m_ledger->field(u"Datum"_s).setAsString(u"04.03.2007"_s);
    m_ledger->kasse().post();
    QCOMPARE(m_grid->columnWidth(Betrag), 70);

    QVERIFY(!(cell(0, Netto).flags() & Qt::ItemIsEditable));
    QVERIFY(cell(0, Betrag).flags() & Qt::ItemIsEditable);
    const QColor marker(0x12, 0x34, 0x56);
    m_grid->setReadOnlyBackground(marker);
    m_grid->setCurrentIndex(cell(2, Datum));
    const QImage image = m_grid->viewport()->grab().toImage();
    const auto backgroundOf = [&](int column) {
        return image.pixelColor(m_grid->visualRect(cell(0, column)).topLeft() + QPoint(3, 3));
    };
    QCOMPARE(backgroundOf(Netto), marker);
    QVERIFY(backgroundOf(Betrag) != marker);
}

void TstDbGrid::currentRowFollowsTheCursorBothWays()
{
    QCOMPARE(m_grid->currentIndex().row(), 0);
    m_ledger->kasse().last();
    QCOMPARE(m_grid->currentIndex().row(), 2);

    m_grid->setCurrentIndex(cell(0, BelegNr));
    QCOMPARE(belegNr(), u"B-0001"_s);
    QTest::keyClick(m_grid, Qt::Key_Down);
    QCOMPARE(m_ledger->kasse().position(), 1);
    QCOMPARE(belegNr(), u"B-0002"_s);

    m_ledger->kasse().append();
    QCOMPARE(m_grid->model()->rowCount(), 4);
    QCOMPARE(m_grid->currentIndex().row(), 3);
    m_ledger->kasse().cancel();
    QCOMPARE(m_grid->model()->rowCount(), 3);
    QCOMPARE(m_grid->currentIndex().row(), 1);
}

void TstDbGrid::leavingAnEditedRowStoresIt_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("storedRow");
    QTest::addColumn<QString>("arrivedAt");
    QTest::addColumn<int>("arrivedRow");
    QTest::newRow("amount") << int(Betrag) << u"20"_s << u"20,00 CHF"_s << 0 << u"B-0002"_s << 1;
    QTest::newRow("date that moves the row to the end")
        << int(Datum) << u"05.03.2007"_s << u"05.03.2007"_s << 2 << u"B-0002"_s << 0;
}

void TstDbGrid::leavingAnEditedRowStoresIt()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, storedRow);
    QFETCH(QString, arrivedAt);
    QFETCH(int, arrivedRow);
    m_grid->setCurrentIndex(cell(0, column));
    QLineEdit *editor = typeIntoCell(typed);
    QVERIFY(editor);
    QCOMPARE(m_ledger->kasse().state(), CursorState::Edit);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(m_ledger->kasse().state(), CursorState::Edit);

    QTest::keyClick(m_grid, Qt::Key_Down);
    QCOMPARE(m_ledger->kasse().state(), CursorState::Browse);
    QCOMPARE(belegNr(), arrivedAt);
    QCOMPARE(m_grid->currentIndex().row(), arrivedRow);
    QCOMPARE(m_grid->currentIndex().column(), column);
    QCOMPARE(cell(storedRow, column).data().toString(), shown);
    QCOMPARE(cell(storedRow, BelegNr).data().toString(), u"B-0001"_s);
    QCOMPARE(m_ledger->ui.shown.size(), 0);
}

void TstDbGrid::failedWriteKeepsTheTextInItsCell_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("moving to the next row") << int(Qt::Key_Down);
}

void TstDbGrid::failedWriteKeepsTheTextInItsCell()
{
    QFETCH(int, key);
    m_grid->setCurrentIndex(cell(0, Betrag));
    QTest::keyClick(typeIntoCell(u"abc"_s), Qt::Key(key));

    // The item view commits an editor closed by Enter from the event loop.
    QTRY_VERIFY(!m_ledger->ui.texts(ScriptedUiServices::Kind::Error).isEmpty());
    QCOMPARE(m_ledger->ui.takeErrors(), QStringList{u"'abc' ist kein gültiger Gleitkommawert."_s});
    QTRY_VERIFY(m_grid->findChild<QLineEdit *>() && m_grid->findChild<QLineEdit *>()->isVisible());
    QCOMPARE(m_grid->findChild<QLineEdit *>()->text(), u"abc"_s);
    QCOMPARE(m_grid->currentIndex(), cell(0, Betrag));
    QCOMPARE(m_ledger->kasse().position(), 0);
    QCOMPARE(m_ledger->field(u"Buchungsbetrag"_s).asString(), u"12,5"_s);

    QLineEdit *editor = m_grid->findChild<QLineEdit *>();
    editor->selectAll();
    QTest::keyClicks(editor, u"13"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(m_ledger->field(u"Buchungsbetrag"_s).asString(), u"13"_s);
    QCOMPARE(m_ledger->ui.shown.size(), 1);
}

QTEST_MAIN(TstDbGrid)
#include "tst_dbgrid.moc"
