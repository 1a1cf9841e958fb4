#include "ProgramFixture.h"
#include "UiCheck.h"
#include "Typist.h"

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
    void cleanup();
    void typingOneBookingAfterAnother();
    void enteringFieldsWhileBrowsingChangesNothing();
    void leavingTheAccountShowsItsPercentageAndMinusFlag_data();
    void leavingTheAccountShowsItsPercentageAndMinusFlag();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void saveNewWithoutAmountLeavesNoEmptyBooking();
    void clickIntoEmptyFieldSelectsTheDefault();
    void quickDateForms_data();
    void quickDateForms();
    void receiptNumberTooLongForTheFieldIsNotCut();
};

void TstEntryPanel::cleanup()
{
    verifyNoUiProblems();
}

// A shop owner types a booking, presses Enter and finds the next one prefilled with the last
// booking's values and the next receipt number, each selected so that typing replaces it.
void TstEntryPanel::typingOneBookingAfterAnother()
{
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    QVERIFY(program.isActive());
    Typist user(program.window());

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
    Typist user(program.window());
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
    Typist user(program.window());
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
    Typist user(program.window());
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
    Typist user(program.window());

    for (int press = 0; press < 3; ++press) {
        user.click(u"BtnAdd"_s);
        user.tab();
        QCOMPARE(user.shown(), u"B-2"_s);
    }
    QCOMPARE(program.kasse().state(), CursorState::Insert);
    program.quit();
    QCOMPARE(dir.journal(1), QStringList{u"B-1 1 100"_s});
}

// With the mouse as with Tab: the first key replaces the proposed receipt number.
void TstEntryPanel::clickIntoEmptyFieldSelectsTheDefault()
{
    ProgramDirectory dir;
    dir.addBooking(1, u"2007-03-15"_s, u"E-003"_s, u"10"_s, Erloese19, 1, u"10"_s);
    RunningProgram program(dir.path());
    QVERIFY(program.isActive());
    Typist user(program.window());
    user.click(u"BtnAdd"_s);

    auto *beleg = program.control<QLineEdit>(u"EditBeleg"_s);
    QTest::mouseClick(beleg, Qt::LeftButton, {}, QPoint(beleg->width() - 4, beleg->height() / 2));
    QCOMPARE(user.focusName(), u"EditBeleg"_s);
    QCOMPARE(user.selected(), u"E-004"_s);
    user.type(u"B-17"_s);
    QCOMPARE(user.shown(), u"B-17"_s);
}

void TstEntryPanel::quickDateForms_data()
{
    const int century = QDate::currentDate().year() / 100 * 100;
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("short day and month, two-digit year") << u"5.4.07"_s << u"05.04.%1"_s.arg(century + 7);
    QTest::newRow("short day and month, full year") << u"5.4.2007"_s << u"05.04.2007"_s;
    QTest::newRow("two digits each") << u"05.04.07"_s << u"05.04.%1"_s.arg(century + 7);
}

// What a user types quickly into the date field is the day meant, in the entry panel and in the
// journal, which share the field.
void TstEntryPanel::quickDateForms()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    QVERIFY(program.isActive());
    Typist user(program.window());
    user.click(u"BtnAdd"_s);
    QTest::keyClick(user.focus(), Qt::Key_A, Qt::ControlModifier);
    user.type(typed);
    user.tab();
    QCOMPARE(program.field(u"Datum"_s).asString(), stored);
}

void TstEntryPanel::receiptNumberTooLongForTheFieldIsNotCut()
{
    ProgramDirectory dir;
    dir.addBooking(1, u"2007-03-15"_s, u"RE-2007-999999999999"_s, u"10"_s, Erloese19, 1, u"10"_s);
    RunningProgram program(dir.path());
    QVERIFY(program.isActive());
    Typist user(program.window());
    user.click(u"BtnAdd"_s);
    user.tab();
    QCOMPARE(user.focusName(), u"EditBeleg"_s);
    QCOMPARE(user.shown(), QString());
    QVERIFY(program.field(u"BelegNr"_s).isNull());
    QCOMPARE(program.ui.texts(ScriptedUiServices::Kind::Warning),
             QStringList{u"Die nächste Belegnummer \"RE-2007-1000000000000\" ist länger als 20 Zeichen und wurde "
                         "nicht eingetragen. Bitte geben Sie die Belegnummer selbst ein."_s});
}

QTEST_MAIN(TstEntryPanel)
#include "tst_entrypanel.moc"
