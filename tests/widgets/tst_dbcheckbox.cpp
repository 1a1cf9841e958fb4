#include "UiCheck.h"
#include "DbCheckBox.h"
#include "LedgerFixture.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kb;
using namespace kb::test;

// The minus box: bookings B-0001 and B-0003 are no minus bookings, B-0002 is one.
class TstDbCheckBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tickedForTrue();
    void clickingWritesTheFieldUnlessReadOnly_data();
    void clickingWritesTheFieldUnlessReadOnly();

private:
    std::unique_ptr<LedgerFixture> m_ledger;
    DbCheckBox *m_box = nullptr;
};

void TstDbCheckBox::init()
{
    m_ledger = std::make_unique<LedgerFixture>();
    m_ledger->openSampleJournal();
    m_box = new DbCheckBox(m_ledger->ui, &m_ledger->window());
    m_box->bind(&m_ledger->source(), u"Minuskonto"_s);
}

void TstDbCheckBox::cleanup()
{
    m_ledger.reset();
    kb::test::verifyNoUiProblems();
}

void TstDbCheckBox::tickedForTrue()
{
    QList<bool> ticked;
    for (m_ledger->kasse().first(); !m_ledger->kasse().eof(); m_ledger->kasse().next())
        ticked.append(m_box->isChecked());
    QCOMPARE(ticked, QList<bool>({false, true, false}));
    m_ledger->kasse().close();
    QVERIFY(!m_box->isChecked());
}

void TstDbCheckBox::clickingWritesTheFieldUnlessReadOnly_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<CursorState>("state");
    QTest::addColumn<QString>("minus");
    QTest::newRow("editable") << false << CursorState::Edit << u"Wahr"_s;
    QTest::newRow("read only") << true << CursorState::Browse << u"Falsch"_s;
}

void TstDbCheckBox::clickingWritesTheFieldUnlessReadOnly()
{
    QFETCH(bool, readOnly);
    QFETCH(CursorState, state);
    QFETCH(QString, minus);
    m_box->setReadOnly(readOnly);
    m_box->click();
    QCOMPARE(m_ledger->kasse().state(), state);
    QCOMPARE(m_ledger->field(u"Minuskonto"_s).asString(), minus);
    QCOMPARE(m_box->isChecked(), minus == u"Wahr"_s);
}

QTEST_MAIN(TstDbCheckBox)
#include "tst_dbcheckbox.moc"
