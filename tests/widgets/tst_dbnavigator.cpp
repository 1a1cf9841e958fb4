#include "UiCheck.h"
#include "DbNavigator.h"
#include "Errors.h"
#include "LedgerFixture.h"
#include "Query.h"

#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kb;
using namespace kb::test;

namespace {

using Button = DbNavigator::Button;

enum class Situation { Opened, Middle, Last, Editing, Inserting, Empty, Closed, Query };

const QStringList buttonNames{u"first"_s, u"prior"_s, u"next"_s,  u"last"_s,
                              u"insert"_s, u"delete"_s, u"post"_s, u"cancel"_s};

} // namespace

Q_DECLARE_METATYPE(Situation)

class TstDbNavigator : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void enablesButtonsAsTheCursorAllows_data();
    void enablesButtonsAsTheCursorAllows();
    void buttonsMoveAndChangeTheCursor();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void failedActionIsShownAndKeepsTheEdit();
    void showsConfiguredButtonsWithTheirHints();

private:
    void click(Button which) const { m_navigator->button(which)->click(); }
    QStringList enabledButtons() const;

    std::unique_ptr<LedgerFixture> m_ledger;
    DbNavigator *m_navigator = nullptr;
};

void TstDbNavigator::init()
{
    m_ledger = std::make_unique<LedgerFixture>();
    m_ledger->openSampleJournal();
    m_navigator = new DbNavigator(m_ledger->ui, &m_ledger->window());
    m_navigator->bind(&m_ledger->source());
}

void TstDbNavigator::cleanup()
{
    m_ledger.reset();
    kb::test::verifyNoUiProblems();
}

QStringList TstDbNavigator::enabledButtons() const
{
    QStringList enabled;
    for (int i = 0; i < DbNavigator::ButtonCount; ++i) {
        if (m_navigator->button(Button(i))->isEnabled())
            enabled.append(buttonNames[i]);
    }
    return enabled;
}

void TstDbNavigator::enablesButtonsAsTheCursorAllows_data()
{
    QTest::addColumn<Situation>("situation");
    QTest::addColumn<QStringList>("enabled");
    const QStringList moves{u"first"_s, u"prior"_s, u"next"_s, u"last"_s};
    const QStringList changes{u"insert"_s, u"delete"_s};
    QTest::newRow("opened: at the start") << Situation::Opened << QStringList{u"next"_s, u"last"_s} + changes;
    QTest::newRow("between start and end") << Situation::Middle << moves + changes;
    QTest::newRow("at the end") << Situation::Last << QStringList{u"first"_s, u"prior"_s} + changes;
    QTest::newRow("editing") << Situation::Editing << moves + changes + QStringList{u"post"_s, u"cancel"_s};
    QTest::newRow("inserting") << Situation::Inserting << buttonNames;
    QTest::newRow("no rows: nothing to delete") << Situation::Empty << QStringList{u"insert"_s};
    QTest::newRow("closed") << Situation::Closed << QStringList();
    QTest::newRow("SQL cursor moves only") << Situation::Query << QStringList{u"next"_s, u"last"_s};
}

void TstDbNavigator::enablesButtonsAsTheCursorAllows()
{
    QFETCH(Situation, situation);
    QFETCH(QStringList, enabled);
    Table &kasse = m_ledger->kasse();
    Query query(&m_ledger->db());
    switch (situation) {
    case Situation::Opened: break;
    case Situation::Middle: click(Button::Next); break;
    case Situation::Last: click(Button::Last); break;
    case Situation::Editing:
        click(Button::Next);
        kasse.edit();
        break;
    case Situation::Inserting: click(Button::Insert); break;
    case Situation::Empty:
        m_ledger->db().execute(u"DELETE FROM KASSE"_s);
        kasse.refresh();
        break;
    case Situation::Closed: kasse.close(); break;
    case Situation::Query:
        query.setSql({u"SELECT * FROM \"Kasse.adt\""_s});
        query.open();
        m_ledger->source().setCursor(&query);
        break;
    }
    QCOMPARE(enabledButtons(), enabled);
    m_ledger->source().setCursor(&kasse);
}

void TstDbNavigator::buttonsMoveAndChangeTheCursor()
{
    Table &kasse = m_ledger->kasse();
    click(Button::Last);
    QCOMPARE(kasse.position(), 2);
    click(Button::Prior);
    QCOMPARE(kasse.position(), 1);
    click(Button::First);
    QCOMPARE(kasse.position(), 0);
    click(Button::Next);
    QCOMPARE(kasse.position(), 1);

    click(Button::Insert);
    QCOMPARE(kasse.state(), CursorState::Insert);
    QCOMPARE(kasse.position(), 1);
    click(Button::Cancel);
    QCOMPARE(kasse.state(), CursorState::Browse);
    QCOMPARE(kasse.recordCount(), 3);

    click(Button::Insert);
    m_ledger->field(u"Datum"_s).setAsString(u"04.03.2007"_s);
    click(Button::Post);
    QCOMPARE(kasse.state(), CursorState::Browse);
    QCOMPARE(kasse.recordCount(), 4);
    QCOMPARE(m_ledger->ui.shown.size(), 0);
}

void TstDbNavigator::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("receipts");
    QTest::newRow("Ja deletes and lands on the next row") << true << QStringList{u"B-0001"_s, u"B-0003"_s};
    QTest::newRow("Nein keeps the row") << false << QStringList{u"B-0001"_s, u"B-0002"_s, u"B-0003"_s};
}

void TstDbNavigator::deleteAsksFirst()
{
    QFETCH(bool, yes);
    QFETCH(QStringList, receipts);
    Table &kasse = m_ledger->kasse();
    click(Button::Next);
    m_ledger->ui.confirmations = {yes};

    click(Button::Delete);
    QCOMPARE(m_ledger->ui.texts(ScriptedUiServices::Kind::Confirmation), QStringList{u"Datensatz löschen?"_s});
    QCOMPARE(m_ledger->field(u"BelegNr"_s).asString(), yes ? u"B-0003"_s : u"B-0002"_s);
    QStringList left;
    for (kasse.first(); !kasse.eof(); kasse.next())
        left.append(m_ledger->field(u"BelegNr"_s).asString());
    QCOMPARE(left, receipts);
}

void TstDbNavigator::failedActionIsShownAndKeepsTheEdit()
{
    m_ledger->kasse().beforePost = [](Table &) { throw Error(u"Kein Konto gewählt"_s); };
    m_ledger->kasse().edit();
    m_ledger->field(u"BelegNr"_s).setAsString(u"B-0009"_s);

    click(Button::Next);
    QCOMPARE(m_ledger->ui.takeErrors(), QStringList{u"Kein Konto gewählt."_s});
    QCOMPARE(m_ledger->kasse().state(), CursorState::Edit);
    QCOMPARE(m_ledger->kasse().position(), 0);
    QCOMPARE(m_ledger->field(u"BelegNr"_s).asString(), u"B-0009"_s);
    QVERIFY(m_navigator->button(Button::Post)->isEnabled());
}

void TstDbNavigator::showsConfiguredButtonsWithTheirHints()
{
    m_navigator->setVisibleButtons({Button::Prior, Button::Next, Button::Delete});
    m_navigator->setHints({u"Erster Kassenbucheintrag"_s, u"Vorheriger|Vorheriger Kassenbucheintrag"_s});
    QStringList visible;
    for (int i = 0; i < DbNavigator::ButtonCount; ++i) {
        if (m_navigator->button(Button(i))->isVisibleTo(m_navigator))
            visible.append(buttonNames[i]);
    }
    QCOMPARE(visible, QStringList({u"prior"_s, u"next"_s, u"delete"_s}));
    QCOMPARE(m_navigator->button(Button::First)->toolTip(), u"Erster Kassenbucheintrag"_s);
    QCOMPARE(m_navigator->button(Button::First)->statusTip(), u"Erster Kassenbucheintrag"_s);
    QCOMPARE(m_navigator->button(Button::Prior)->toolTip(), u"Vorheriger"_s);
    QCOMPARE(m_navigator->button(Button::Prior)->statusTip(), u"Vorheriger Kassenbucheintrag"_s);
}

QTEST_MAIN(TstDbNavigator)
#include "tst_dbnavigator.moc"
