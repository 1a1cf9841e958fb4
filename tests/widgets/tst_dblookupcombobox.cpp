#include "UiCheck.h"
#include "DbLookupComboBox.h"
#include "LedgerFixture.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kb;
using namespace kb::test;

// The account drop-down of the entry panel: KontoID of the booking, the names of the accounts in
// name order.
class TstDbLookupComboBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsTheNameOfTheCurrentKey_data();
    void showsTheNameOfTheCurrentKey();
    void choosingStoresTheKey_data();
    void choosingStoresTheKey();
    void listFollowsTheAccounts();

private:
    QStringList items() const;

    std::unique_ptr<LedgerFixture> m_ledger;
    std::unique_ptr<Table> m_konten;
    std::unique_ptr<DataSource> m_kontenSource;
    DbLookupComboBox *m_combo = nullptr;
    QLineEdit *m_elsewhere = nullptr;
};

void TstDbLookupComboBox::init()
{
    m_ledger = std::make_unique<LedgerFixture>();
    m_ledger->openSampleJournal();
    m_konten = std::make_unique<Table>(&m_ledger->db());
    m_konten->setTableName(u"Konten.adt"_s);
    m_konten->setIndexName(u"KONTONAME"_s);
    m_konten->open();
    m_kontenSource = std::make_unique<DataSource>(m_konten.get());
    auto *layout = new QVBoxLayout(&m_ledger->window());
    m_elsewhere = new QLineEdit(&m_ledger->window());
    layout->addWidget(m_elsewhere);
    m_combo = new DbLookupComboBox(m_ledger->ui, &m_ledger->window());
    m_combo->bind(&m_ledger->source(), u"KontoID"_s);
    m_combo->setList(m_kontenSource.get(), u"KontoNr"_s, u"Kontoname"_s);
    layout->addWidget(m_combo);
    QVERIFY(m_ledger->showWindow());
    m_elsewhere->setFocus();
}

void TstDbLookupComboBox::cleanup()
{
    m_ledger.reset();
    m_kontenSource.reset();
    m_konten.reset();
    kb::test::verifyNoUiProblems();
}

QStringList TstDbLookupComboBox::items() const
{
    QStringList names;
    for (int i = 0; i < m_combo->count(); ++i)
        names.append(m_combo->itemText(i));
    return names;
}

void TstDbLookupComboBox::showsTheNameOfTheCurrentKey_data()
{
    QTest::addColumn<QString>("kontoId");
    QTest::addColumn<QString>("shown");
    QTest::newRow("first account") << u"1"_s << u"Bürobedarf"_s;
    QTest::newRow("last account") << u"3"_s << u"Porto"_s;
    QTest::newRow("key of no account") << u"99"_s << QString();
    QTest::newRow("no key") << u"NULL"_s << QString();
}

void TstDbLookupComboBox::showsTheNameOfTheCurrentKey()
{
    QFETCH(QString, kontoId);
    QFETCH(QString, shown);
    QCOMPARE(items(), QStringList({u"Anfangsbestand"_s, u"Bürobedarf"_s, u"Porto"_s}));
    m_ledger->db().execute(u"UPDATE KASSE SET KontoID = %1 WHERE BelegNr = 'B-0002'"_s.arg(kontoId));
    m_ledger->kasse().refresh();
    m_ledger->kasse().next();
    QCOMPARE(m_combo->currentText(), shown);
    m_ledger->kasse().prior();
    QCOMPARE(m_combo->currentText(), u"Bürobedarf"_s);
}

void TstDbLookupComboBox::choosingStoresTheKey_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<CursorState>("state");
    QTest::addColumn<int>("kontoId");
    QTest::newRow("passing through changes nothing") << QString() << CursorState::Browse << 1;
    QTest::newRow("next name with the arrow key") << u"↓"_s << CursorState::Edit << 3;
    QTest::newRow("name found by its first letter") << u"a"_s << CursorState::Edit << 2;
}

void TstDbLookupComboBox::choosingStoresTheKey()
{
    QFETCH(QString, keys);
    QFETCH(CursorState, state);
    QFETCH(int, kontoId);
    QSignalSpy entries(m_combo, &DbLookupComboBox::entered);
    QSignalSpy exits(m_combo, &DbLookupComboBox::exited);
    m_combo->setFocus();
    if (keys == u"↓"_s)
        QTest::keyClick(m_combo, Qt::Key_Down);
    else
        QTest::keyClicks(m_combo, keys);
    m_elsewhere->setFocus();

    QCOMPARE(m_ledger->kasse().state(), state);
    QCOMPARE(m_ledger->field(u"KontoID"_s).asInteger(), kontoId);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(exits.size(), 1);
    QCOMPARE(m_ledger->ui.shown.size(), 0);
}

void TstDbLookupComboBox::listFollowsTheAccounts()
{
    m_konten->append();
    m_konten->fieldByName(u"Kontoname"_s).setAsString(u"Miete"_s);
    m_konten->post();
    QCOMPARE(items(), QStringList({u"Anfangsbestand"_s, u"Bürobedarf"_s, u"Miete"_s, u"Porto"_s}));
    QCOMPARE(m_combo->currentText(), u"Bürobedarf"_s);
}

QTEST_MAIN(TstDbLookupComboBox)
#include "tst_dblookupcombobox.moc"
