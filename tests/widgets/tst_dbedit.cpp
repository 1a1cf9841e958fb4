#include "UiCheck.h"
#include "DbComboBox.h"
#include "DbEdit.h"
#include "Errors.h"
#include "LedgerFixture.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace kb;
using namespace kb::test;

namespace {

enum class Leave { Tab, FocusElsewhere, Enter };

} // namespace

Q_DECLARE_METATYPE(Leave)

// The bound text controls of the entry panel: one edit per field the test uses, a text combo, and
// a plain line edit to move the focus to.
class TstDbEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typingStartsEditingAndLeavingWritesTheField_data();
    void typingStartsEditingAndLeavingWritesTheField();
    void failedWriteShowsTheErrorAndKeepsTheText_data();
    void failedWriteShowsTheErrorAndKeepsTheText();
    void browsingAndEnteringChangesNothing();
    void displayTextShowsWithoutFocusOnly();
    void enterAndExitHandlersSeeTheField();
    void storingWritesPendingText_data();
    void storingWritesPendingText();
    void textComboWritesTypedOrChosenText_data();
    void textComboWritesTypedOrChosenText();

private:
    DbEdit *edit(const QString &field) const;
    void leave(QWidget *control, Leave how) const;

    std::unique_ptr<LedgerFixture> m_ledger;
    QList<DbEdit *> m_edits;
    DbComboBox *m_text = nullptr;
    QLineEdit *m_elsewhere = nullptr;
};

void TstDbEdit::init()
{
    m_ledger = std::make_unique<LedgerFixture>();
    m_ledger->openSampleJournal();
    auto *layout = new QVBoxLayout(&m_ledger->window());
    m_edits.clear();
    for (const QString &field : {u"Datum"_s, u"BelegNr"_s, u"Buchungsbetrag"_s, u"lfdNr"_s}) {
        auto *edit = new DbEdit(m_ledger->ui, &m_ledger->window());
        edit->setObjectName(field);
        edit->bind(&m_ledger->source(), field);
        layout->addWidget(edit);
        m_edits.append(edit);
    }
    m_text = new DbComboBox(m_ledger->ui, &m_ledger->window());
    m_text->bind(&m_ledger->source(), u"Text"_s);
    m_text->addItems({u"Porto"_s, u"Kasse"_s, u"Papier"_s});
    layout->addWidget(m_text);
    m_elsewhere = new QLineEdit(&m_ledger->window());
    layout->addWidget(m_elsewhere);
    QVERIFY(m_ledger->showWindow());
    m_elsewhere->setFocus();
}

void TstDbEdit::cleanup()
{
    m_ledger.reset();
    kb::test::verifyNoUiProblems();
}

DbEdit *TstDbEdit::edit(const QString &field) const
{
    return m_ledger->window().findChild<DbEdit *>(field);
}

void TstDbEdit::leave(QWidget *control, Leave how) const
{
    switch (how) {
    case Leave::Tab: QTest::keyClick(control, Qt::Key_Tab); break;
    case Leave::FocusElsewhere: m_elsewhere->setFocus(); break;
    case Leave::Enter: QTest::keyClick(control, Qt::Key_Return); break;
    }
}

void TstDbEdit::typingStartsEditingAndLeavingWritesTheField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Leave>("how");
    QTest::addColumn<QString>("stored");
    QTest::newRow("amount left with Tab reads in its plain form")
        << u"Buchungsbetrag"_s << u"23,80"_s << Leave::Tab << u"23,8"_s;
    QTest::newRow("date left by the focus moving elsewhere")
        << u"Datum"_s << u"15.03.2007"_s << Leave::FocusElsewhere << u"15.03.2007"_s;
    QTest::newRow("receipt written by Enter") << u"BelegNr"_s << u"B-0042"_s << Leave::Enter << u"B-0042"_s;
}

void TstDbEdit::typingStartsEditingAndLeavingWritesTheField()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(Leave, how);
    QFETCH(QString, stored);
    DbEdit *control = edit(field);
    control->setFocus();
    control->selectAll();

    QTest::keyClicks(control, typed.left(1));
    QCOMPARE(m_ledger->kasse().state(), CursorState::Edit);
    QCOMPARE(control->text(), typed.left(1));
    QVERIFY(!m_ledger->field(field).isModified());

    QTest::keyClicks(control, typed.mid(1));
    leave(control, how);
    QCOMPARE(m_ledger->field(field).asString(), stored);
    QCOMPARE(control->text(), stored);
    QCOMPARE(m_ledger->ui.shown.size(), 0);
}

void TstDbEdit::failedWriteShowsTheErrorAndKeepsTheText_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Leave>("how");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("corrected");
    QTest::newRow("amount that is no number, Tab")
        << u"Buchungsbetrag"_s << u"12x"_s << Leave::Tab << u"'12x' ist kein gültiger Gleitkommawert."_s << u"12"_s;
    QTest::newRow("day that does not exist, focus elsewhere")
        << u"Datum"_s << u"31.02.2007"_s << Leave::FocusElsewhere << u"'31.02.2007' ist kein gültiges Datum."_s
        << u"28.02.2007"_s;
    QTest::newRow("fraction for an integer, Enter")
        << u"lfdNr"_s << u"1,5"_s << Leave::Enter << u"'1,5' ist kein gültiger Integerwert."_s << u"15"_s;
}

void TstDbEdit::failedWriteShowsTheErrorAndKeepsTheText()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(Leave, how);
    QFETCH(QString, error);
    QFETCH(QString, corrected);
    DbEdit *control = edit(field);
    const QString before = m_ledger->field(field).asString();
    QSignalSpy exits(control, &DbEdit::exited);
    QSignalSpy entries(control, &DbEdit::entered);
    control->setFocus();
    control->selectAll();
    QTest::keyClicks(control, typed);

    leave(control, how);
    QCOMPARE(m_ledger->ui.takeErrors(), QStringList{error});
    QTRY_VERIFY(control->hasFocus());
    QCOMPARE(control->text(), typed);
    QCOMPARE(control->selectedText(), typed);
    QCOMPARE(m_ledger->field(field).asString(), before);
    QCOMPARE(exits.size(), 0);
    QCOMPARE(entries.size(), 1);

    control->selectAll();
    QTest::keyClicks(control, corrected);
    QTest::keyClick(control, Qt::Key_Tab);
    QCOMPARE(exits.size(), 1);
    QCOMPARE(m_ledger->field(field).asString(), corrected);
    QCOMPARE(m_ledger->ui.shown.size(), 1);
}

void TstDbEdit::browsingAndEnteringChangesNothing()
{
    QSignalSpy entries(m_edits.first(), &DbEdit::entered);
    QSignalSpy exits(m_edits.first(), &DbEdit::exited);
    m_edits.first()->setFocus();
    for (int i = 0; i < m_edits.size() + 1; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(entries.size(), 1);
    QCOMPARE(exits.size(), 1);
    QCOMPARE(m_ledger->kasse().state(), CursorState::Browse);
    for (int i = 0; i < m_ledger->kasse().fieldCount(); ++i)
        QVERIFY2(!m_ledger->kasse().field(i).isModified(), qPrintable(m_ledger->kasse().field(i).name()));
    QCOMPARE(m_ledger->ui.shown.size(), 0);
}

void TstDbEdit::displayTextShowsWithoutFocusOnly()
{
    DbEdit *amount = edit(u"Buchungsbetrag"_s);
    amount->setDisplayText([](const Field &field) { return field.asString() + u" €"_s; });
    const QString plain = m_ledger->field(u"Buchungsbetrag"_s).asString();
    QCOMPARE(amount->text(), plain + u" €"_s);

    amount->setFocus();
    QCOMPARE(amount->text(), plain);
    amount->selectAll();
    QTest::keyClicks(amount, u"12,50"_s);
    m_elsewhere->setFocus();
    QCOMPARE(m_ledger->field(u"Buchungsbetrag"_s).asString(), u"12,5"_s);
    QCOMPARE(amount->text(), u"12,5 €"_s);

    m_ledger->kasse().cancel();
    QCOMPARE(amount->text(), plain + u" €"_s);
}

// The entry panel's handlers: on entering an empty field of a new booking a default is filled in
// and selected, so the first key replaces it; on leaving, the typed value is in the field already.
void TstDbEdit::enterAndExitHandlersSeeTheField()
{
    DbEdit *amount = edit(u"Buchungsbetrag"_s);
    QString seenOnExit;
    connect(amount, &DbEdit::entered, amount, [&] {
        m_ledger->field(u"Buchungsbetrag"_s).setAsString(u"23,8"_s);
        amount->selectAll();
    });
    connect(amount, &DbEdit::exited, amount, [&] { seenOnExit = m_ledger->field(u"Buchungsbetrag"_s).asString(); });
    m_ledger->kasse().append();

    amount->setFocus();
    QCOMPARE(amount->text(), u"23,8"_s);
    QTest::keyClicks(amount, u"5"_s);
    QCOMPARE(amount->text(), u"5"_s);
    m_elsewhere->setFocus();
    QCOMPARE(seenOnExit, u"5"_s);
}

void TstDbEdit::storingWritesPendingText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("error");
    QTest::newRow("valid amount is stored") << u"99,5"_s << QString();
    QTest::newRow("invalid amount stops the store") << u"9x"_s << u"'9x' ist kein gültiger Gleitkommawert"_s;
}

void TstDbEdit::storingWritesPendingText()
{
    QFETCH(QString, typed);
    QFETCH(QString, error);
    DbEdit *amount = edit(u"Buchungsbetrag"_s);
    amount->setFocus();
    amount->selectAll();
    QTest::keyClicks(amount, typed);

    QString thrown;
    try {
        m_ledger->kasse().post();
    } catch (const ConversionError &e) {
        thrown = e.text();
    }
    QCOMPARE(thrown, error);
    QCOMPARE(amount->text(), typed);
    if (!error.isEmpty()) {
        QCOMPARE(m_ledger->kasse().state(), CursorState::Edit);
        return;
    }
    QCOMPARE(m_ledger->kasse().state(), CursorState::Browse);
    m_ledger->kasse().refresh();
    QCOMPARE(m_ledger->field(u"Buchungsbetrag"_s).asString(), typed);
}

void TstDbEdit::textComboWritesTypedOrChosenText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("typed text") << u"Briefmarken"_s << u"Briefmarken"_s;
    QTest::newRow("next item chosen with the arrow key") << QString() << u"Kasse"_s;
}

void TstDbEdit::textComboWritesTypedOrChosenText()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QCOMPARE(m_text->currentText(), u"Papier"_s);
    m_text->setFocus();
    QWidget *focused = QApplication::focusWidget();
    if (typed.isEmpty()) {
        QTest::keyClick(focused, Qt::Key_Down);
    } else {
        m_text->lineEdit()->selectAll();
        QTest::keyClicks(focused, typed);
    }
    QCOMPARE(m_ledger->kasse().state(), CursorState::Edit);
    QCOMPARE(m_ledger->field(u"Text"_s).asString(), u"Papier"_s);

    QTest::keyClick(focused, Qt::Key_Tab);
    QCOMPARE(m_ledger->field(u"Text"_s).asString(), stored);
    QCOMPARE(m_text->count(), 3);
}

QTEST_MAIN(TstDbEdit)
#include "tst_dbedit.moc"
