#include "AppFixture.h"

#include "DbCheckBox.h"
#include "DbComboBox.h"
#include "DbEdit.h"
#include "DbLookupComboBox.h"
#include "EntryPanel.h"

#include <QPushButton>
#include <QtTest>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

namespace {

const QString OverwriteQuestion = u"Wollen Sie einen bereits eingetragenen Vorgang überschreiben?"_s;

// The user at the keyboard of the entry panel.
class Typist
{
public:
    explicit Typist(RunningProgram &program) : m_program(program) {}

    QWidget *focus() const { return QApplication::focusWidget(); }
    QString focusName() const { return focus() ? focus()->objectName() : QString(); }
    // The text the focused control shows.
    QString shown() const
    {
        if (auto *edit = qobject_cast<QLineEdit *>(focus()))
            return edit->text();
        if (auto *combo = qobject_cast<QComboBox *>(focus()))
            return combo->currentText();
        return QString();
    }
    QString selected() const
    {
        auto *edit = qobject_cast<QLineEdit *>(focus());
        return edit ? edit->selectedText() : QString();
    }

    // Letters beyond ASCII (Bürobedarf, Erlöse) arrive as the key of their capital with their text.
    void type(const QString &text)
    {
        for (const QChar letter : text) {
            if (letter.unicode() < 0x80)
                QTest::keyClick(focus(), char(letter.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, focus(), Qt::Key(letter.toUpper().unicode()), QString(letter),
                                    Qt::NoModifier);
        }
    }
    void tab() { QTest::keyClick(focus(), Qt::Key_Tab); }
    void enter() { QTest::keyClick(focus(), Qt::Key_Return); }
    void click(const QString &control) { QTest::mouseClick(m_program.control<QWidget>(control), Qt::LeftButton); }
    // Moves the focus into a control as a click into it would.
    void into(const QString &control) { m_program.control<QWidget>(control)->setFocus(Qt::MouseFocusReason); }

private:
    RunningProgram &m_program;
};

QString bookingText(RunningProgram &program)
{
    QStringList values;
    for (const char *name : {"Datum", "BelegNr", "Kontoname", "Buchungsbetrag", "UMSTinProzent", "UMSTinEURO",
                             "Minuskonto", "Text"})
        values << program.field(QString::fromLatin1(name)).asString();
    return values.join(u" | "_s);
}

} // namespace

class TstEntryPanel : public QObject
{
    Q_OBJECT

private slots:
    void typingOneBookingAfterAnother();
    void enteringFieldsWhileBrowsingChangesNothing();
    void leavingTheAccountShowsItsPercentageAndMinusFlag_data();
    void leavingTheAccountShowsItsPercentageAndMinusFlag();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void saveNewWithoutAmountLeavesNoEmptyBooking();
};

// A shop owner types a booking, presses Enter and finds the next one prefilled with the last
// booking's values and the next receipt number, each selected so that typing replaces it.
void TstEntryPanel::typingOneBookingAfterAnother()
{
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    QVERIFY(program.isActive());
    Typist user(program);

    user.click(u"BtnAdd"_s);
    QCOMPARE(user.focusName(), u"DatumEdit"_s);
    user.type(u"15.03.2007"_s);
    user.tab();
    user.type(u"B-0041"_s);
    user.tab();
    QCOMPARE(user.focusName(), u"DBLKonto"_s);
    user.type(u"Bü"_s);
    user.tab();
    user.type(u"23,80"_s);
    user.tab();
    QCOMPARE(user.shown(), u"19"_s);
    user.tab();
    QCOMPARE(user.focusName(), u"DBLText"_s);
    user.type(u"Papier"_s);
    user.enter();

    QCOMPARE(dir.journal(1), QStringList{u"B-0041 1 -23.8"_s});
    QCOMPARE(program.kasse().state(), CursorState::Insert);
    QCOMPARE(user.focusName(), u"DatumEdit"_s);
    QStringList proposed;
    for (int field = 0; field < 5; ++field) {
        proposed << u"%1 %2 [%3]"_s.arg(user.focusName(), user.shown(), user.selected());
        user.tab();
    }
    QCOMPARE(proposed, (QStringList{u"DatumEdit 15.03.2007 [15.03.2007]"_s, u"EditBeleg B-0042 [B-0042]"_s,
                                    u"DBLKonto Bürobedarf []"_s, u"EditBetrag 23,8 [23,8]"_s,
                                    u"EditUStP 19 [19]"_s}));
    QCOMPARE(user.focusName(), u"DBLText"_s);
    QCOMPARE(user.shown(), u"Papier"_s);

    user.into(u"EditBetrag"_s);
    QTest::keyClick(user.focus(), Qt::Key_A, Qt::ControlModifier);
    user.type(u"5"_s);
    user.enter();
    QCOMPARE(dir.journal(1), (QStringList{u"B-0041 1 -23.8"_s, u"B-0042 2 -28.8"_s}));
    QVERIFY(program.ui.shown.isEmpty());
}

void TstEntryPanel::enteringFieldsWhileBrowsingChangesNothing()
{
    ProgramDirectory dir;
    dir.addBooking(1, u"2007-03-15"_s, u"B-0041"_s, u"23.8"_s, Buerobedarf, 1, u"-23.8"_s);
    dir.execute({u"UPDATE \"KASSE\" SET \"UMSTinEURO\" = 3.8, \"Nettobuchungsbetrag\" = 20"_s});
    RunningProgram program(dir.path());
    QVERIFY(program.isActive());
    Typist user(program);
    const QString stored = bookingText(program);

    user.into(u"DatumEdit"_s);
    for (int field = 0; field < 6; ++field)
        user.tab();
    QCOMPARE(user.focusName(), u"BtnAdd"_s);
    QCOMPARE(program.kasse().state(), CursorState::Browse);
    QCOMPARE(bookingText(program), stored);
}

void TstEntryPanel::leavingTheAccountShowsItsPercentageAndMinusFlag_data()
{
    QTest::addColumn<QString>("typed");  // searches the list by its first letters
    QTest::addColumn<int>("downs");      // then moves on in the list
    QTest::addColumn<QString>("percent");
    QTest::addColumn<bool>("minus");
    QTest::addColumn<QString>("vat");
    QTest::newRow("Erlöse 7 %: adds") << u"E"_s << 1 << u"7"_s << false << u"7,00 €"_s;
    QTest::newRow("Bürobedarf 19 %: minus") << u"Bü"_s << 0 << u"19"_s << true << u"17,08 €"_s;
}

void TstEntryPanel::leavingTheAccountShowsItsPercentageAndMinusFlag()
{
    QFETCH(QString, typed);
    QFETCH(int, downs);
    QFETCH(QString, percent);
    QFETCH(bool, minus);
    QFETCH(QString, vat);
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    QVERIFY(program.isActive());
    Typist user(program);
    user.click(u"BtnAdd"_s);

    user.into(u"DBLKonto"_s);
    user.type(typed);
    for (int down = 0; down < downs; ++down)
        QTest::keyClick(user.focus(), Qt::Key_Down);
    user.into(u"EditBetrag"_s);
    QCOMPARE(program.control<QLineEdit>(u"EditUStP"_s)->text(), percent);
    QCOMPARE(program.control<DbCheckBox>(u"DBCheckBox1"_s)->isChecked(), minus);
    QCOMPARE(program.control<QLineEdit>(u"EditUSt"_s)->text(), QString());

    user.type(u"107"_s);
    user.tab();
    QCOMPARE(program.control<QLineEdit>(u"EditUSt"_s)->text(), vat);
}

void TstEntryPanel::overwriteQuestion_data()
{
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<QStringList>("journal");
    QTest::newRow("No: the stored values stay") << false << QStringList{u"B-1 1 100"_s, u"B-2 2 130"_s};
    QTest::newRow("Yes: the change is stored") << true << QStringList{u"B-1 1 100"_s, u"B-2 2 150"_s};
}

// A booking of the journal is changed in the panel, then "Speichern / Neu" is pressed: either
// way a new booking is opened.
void TstEntryPanel::overwriteQuestion()
{
    QFETCH(bool, overwrite);
    QFETCH(QStringList, journal);
    ProgramDirectory dir;
    dir.addBooking(1, u"2007-03-01"_s, u"B-1"_s, u"100"_s, Erloese19, 1, u"100"_s);
    dir.addBooking(1, u"2007-03-02"_s, u"B-2"_s, u"30"_s, Erloese19, 2, u"130"_s);
    RunningProgram program(dir.path());
    QVERIFY(program.isActive());
    Typist user(program);
    program.kasse().last();

    user.into(u"EditBetrag"_s);
    QCOMPARE(user.shown(), u"30"_s);
    QTest::keyClick(user.focus(), Qt::Key_A, Qt::ControlModifier);
    user.type(u"50"_s);
    program.ui.confirmations << overwrite;
    user.click(u"BtnAdd"_s);

    QCOMPARE(program.ui.texts(), QStringList{OverwriteQuestion});
    QCOMPARE(dir.journal(1), journal);
    QCOMPARE(program.kasse().state(), CursorState::Insert);
    QCOMPARE(user.focusName(), u"DatumEdit"_s);
    QCOMPARE(user.shown(), u"02.03.2007"_s);
}

void TstEntryPanel::saveNewWithoutAmountLeavesNoEmptyBooking()
{
    ProgramDirectory dir;
    dir.addBooking(1, u"2007-03-01"_s, u"B-1"_s, u"100"_s, Erloese19, 1, u"100"_s);
    RunningProgram program(dir.path());
    QVERIFY(program.isActive());
    Typist user(program);

    for (int press = 0; press < 3; ++press) {
        user.click(u"BtnAdd"_s);
        user.tab();
        QCOMPARE(user.shown(), u"B-2"_s);
    }
    QCOMPARE(program.kasse().state(), CursorState::Insert);
    program.quit();
    QCOMPARE(dir.journal(1), QStringList{u"B-1 1 100"_s});
}

QTEST_MAIN(TstEntryPanel)
#include "tst_entrypanel.moc"
