#include "Clock.h"
#include "PeriodArithmetic.h"
#include "ScriptedUiServices.h"
#include "TTimeSpanForm.h"
#include "UiCheck.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace kb;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(kb::QuickPeriod)
Q_DECLARE_METATYPE(kb::PeriodTexts)
Q_DECLARE_METATYPE(kb::Period)

namespace {

QLineEdit *field(QDialog &dialog, const QString &name)
{
    return dialog.findChild<QLineEdit *>(name);
}

void click(QDialog &dialog, const QString &buttonName)
{
    QTest::mouseClick(dialog.findChild<QPushButton *>(buttonName), Qt::LeftButton);
}

// Types the six fields, von first.
void type(QDialog &dialog, const QStringList &texts)
{
    const QStringList names = {u"VonT"_s, u"VonM"_s, u"VonJ"_s, u"BisT"_s, u"BisM"_s, u"BisJ"_s};
    for (int i = 0; i < names.size(); ++i)
        field(dialog, names[i])->setText(texts[i]);
}

} // namespace

class TstTimeSpanForm : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { test::verifyNoUiProblems(); }
    void quickPeriod_data();
    void quickPeriod();
    void opensPresetToCurrentMonth();
    void quickButtonClosesWithOk_data();
    void quickButtonClosesWithOk();
    void typedPeriod_data();
    void typedPeriod();
    void refusedClose_data();
    void refusedClose();
    void escapeIsNoButton();
};

void TstTimeSpanForm::quickPeriod_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QuickPeriod>("period");
    QTest::addColumn<PeriodTexts>("texts");

    QTest::newRow("current month, March 2007")
        << QDate(2007, 3, 15) << QuickPeriod::CurrentMonth << PeriodTexts{u"01"_s, u"3"_s, u"2007"_s, u"31"_s, u"3"_s, u"2007"_s};
    QTest::newRow("current month, December ends in the same year")
        << QDate(2007, 12, 31) << QuickPeriod::CurrentMonth << PeriodTexts{u"01"_s, u"12"_s, u"2007"_s, u"31"_s, u"12"_s, u"2007"_s};
    QTest::newRow("current month of 30 days")
        << QDate(2007, 4, 1) << QuickPeriod::CurrentMonth << PeriodTexts{u"01"_s, u"4"_s, u"2007"_s, u"30"_s, u"4"_s, u"2007"_s};
    QTest::newRow("previous month of January is December of the year before")
        << QDate(2008, 1, 10) << QuickPeriod::PreviousMonth << PeriodTexts{u"01"_s, u"12"_s, u"2007"_s, u"31"_s, u"12"_s, u"2007"_s};
    QTest::newRow("previous month: February of a leap year")
        << QDate(2008, 3, 31) << QuickPeriod::PreviousMonth << PeriodTexts{u"01"_s, u"2"_s, u"2008"_s, u"29"_s, u"2"_s, u"2008"_s};
    QTest::newRow("previous month: February of a common year")
        << QDate(2007, 3, 1) << QuickPeriod::PreviousMonth << PeriodTexts{u"01"_s, u"2"_s, u"2007"_s, u"28"_s, u"2"_s, u"2007"_s};
    QTest::newRow("February 2000 is a leap month")
        << QDate(2000, 2, 5) << QuickPeriod::CurrentMonth << PeriodTexts{u"01"_s, u"2"_s, u"2000"_s, u"29"_s, u"2"_s, u"2000"_s};
    QTest::newRow("February 1900 is not")
        << QDate(1900, 3, 5) << QuickPeriod::PreviousMonth << PeriodTexts{u"01"_s, u"2"_s, u"1900"_s, u"28"_s, u"2"_s, u"1900"_s};
    QTest::newRow("current year")
        << QDate(2008, 6, 15) << QuickPeriod::CurrentYear << PeriodTexts{u"01"_s, u"01"_s, u"2008"_s, u"31"_s, u"12"_s, u"2008"_s};
    QTest::newRow("previous year")
        << QDate(2008, 1, 1) << QuickPeriod::PreviousYear << PeriodTexts{u"01"_s, u"01"_s, u"2007"_s, u"31"_s, u"12"_s, u"2007"_s};
}

void TstTimeSpanForm::quickPeriod()
{
    QFETCH(QDate, today);
    QFETCH(QuickPeriod, period);
    QFETCH(PeriodTexts, texts);
    const PeriodTexts actual = PeriodArithmetic::texts(period, today);
    QCOMPARE(QStringList({actual.VonT, actual.VonM, actual.VonJ, actual.BisT, actual.BisM, actual.BisJ}),
             QStringList({texts.VonT, texts.VonM, texts.VonJ, texts.BisT, texts.BisM, texts.BisJ}));
}

void TstTimeSpanForm::opensPresetToCurrentMonth()
{
    ScriptedUiServices ui;
    FixedClock clock(QDate(2007, 3, 20));
    TTimeSpanForm form(ui, clock);
    QCOMPARE(form.objectName(), u"TimeSpanForm"_s);
    QCOMPARE(form.windowTitle(), u"Zeitraum"_s);
    QStringList shown;
    for (const QString &name : {u"VonT"_s, u"VonM"_s, u"VonJ"_s, u"BisT"_s, u"BisM"_s, u"BisJ"_s})
        shown << field(form, name)->text();
    QCOMPARE(shown, QStringList({u"01"_s, u"3"_s, u"2007"_s, u"31"_s, u"3"_s, u"2007"_s}));
    QVERIFY(form.findChild<QPushButton *>(u"BtnOK"_s)->isDefault());
}

void TstTimeSpanForm::quickButtonClosesWithOk_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("button");
    QTest::addColumn<Period>("period");

    QTest::newRow("Aktueller Monat in December 2007")
        << QDate(2007, 12, 5) << u"BtnMonth"_s << Period{QDate(2007, 12, 1), QDate(2007, 12, 31)};
    QTest::newRow("Voriger Monat in January 2008")
        << QDate(2008, 1, 31) << u"BtnLastMonth"_s << Period{QDate(2007, 12, 1), QDate(2007, 12, 31)};
    QTest::newRow("Aktuelles Jahr")
        << QDate(2008, 7, 1) << u"BtnYear"_s << Period{QDate(2008, 1, 1), QDate(2008, 12, 31)};
    QTest::newRow("Voriges Jahr in 2008")
        << QDate(2008, 2, 29) << u"BtnPrevJahr"_s << Period{QDate(2007, 1, 1), QDate(2007, 12, 31)};
}

// One click sets and accepts, even over fields the user had typed wrong.
void TstTimeSpanForm::quickButtonClosesWithOk()
{
    QFETCH(QDate, today);
    QFETCH(QString, button);
    QFETCH(Period, period);
    ScriptedUiServices ui;
    FixedClock clock(today);
    ui.expectDialog(u"TimeSpanForm"_s, [&](QDialog &dialog) {
        type(dialog, {u"x"_s, u""_s, u"2007"_s, u"31"_s, u"2"_s, u"2007"_s});
        click(dialog, button);
        return dialog.result();
    });
    QCOMPARE(TTimeSpanForm::ask(ui, clock, nullptr), std::optional<Period>(period));
}

void TstTimeSpanForm::typedPeriod_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<Period>("period");

    QTest::newRow("year 07 is the year 7")
        << QStringList{u"1"_s, u"1"_s, u"07"_s, u"31"_s, u"12"_s, u"07"_s} << Period{QDate(7, 1, 1), QDate(7, 12, 31)};
    QTest::newRow("first after last is taken unchanged")
        << QStringList{u"31"_s, u"12"_s, u"2008"_s, u"1"_s, u"1"_s, u"2008"_s} << Period{QDate(2008, 12, 31), QDate(2008, 1, 1)};
    QTest::newRow("leading zeros, blanks and a sign")
        << QStringList{u"005"_s, u" 03"_s, u"+2007"_s, u"29"_s, u"2"_s, u"2008 "_s} << Period{QDate(2007, 3, 5), QDate(2008, 2, 29)};
}

void TstTimeSpanForm::typedPeriod()
{
    QFETCH(QStringList, fields);
    QFETCH(Period, period);
    ScriptedUiServices ui;
    FixedClock clock(QDate(2007, 3, 5));
    ui.expectDialog(u"TimeSpanForm"_s, [&](QDialog &dialog) {
        dialog.show();
        type(dialog, fields);
        QTest::keyClick(field(dialog, u"BisJ"_s), Qt::Key_Return);
        return dialog.result();
    });
    QCOMPARE(TTimeSpanForm::ask(ui, clock, nullptr), std::optional<Period>(period));
}

void TstTimeSpanForm::refusedClose_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("error");

    const QString dateError = u"Ungültiges Argument zum Codieren des Datums."_s;
    QTest::newRow("31 April in the first row, Übernehmen")
        << QStringList{u"31"_s, u"4"_s, u"2007"_s, u"30"_s, u"4"_s, u"2007"_s} << u"BtnOK"_s << dateError;
    QTest::newRow("31 April in the last row, Abbrechen")
        << QStringList{u"1"_s, u"4"_s, u"2007"_s, u"31"_s, u"4"_s, u"2007"_s} << u"Button4"_s << dateError;
    QTest::newRow("empty year")
        << QStringList{u"1"_s, u"4"_s, u""_s, u"30"_s, u"4"_s, u"2007"_s} << u"BtnOK"_s
        << u"'' ist kein gültiger Integerwert."_s;
    QTest::newRow("letters in the last row's day, read before its wrong month")
        << QStringList{u"1"_s, u"4"_s, u"2007"_s, u"xy"_s, u"13"_s, u"2007"_s} << u"Button4"_s
        << u"'xy' ist kein gültiger Integerwert."_s;
    QTest::newRow("year 0")
        << QStringList{u"1"_s, u"1"_s, u"0"_s, u"1"_s, u"1"_s, u"1"_s} << u"BtnOK"_s << dateError;
}

// The dialog stays open with the fields as typed and the result dates untouched, even when the
// first row converted; only a quick button gets out.
void TstTimeSpanForm::refusedClose()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, button);
    QFETCH(QString, error);
    ScriptedUiServices ui;
    FixedClock clock(QDate(2007, 4, 10));
    TTimeSpanForm form(ui, clock);
    QSignalSpy finished(&form, &QDialog::finished);
    type(form, fields);
    click(form, button);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(form.result(), 0);
    QCOMPARE(ui.takeErrors(), QStringList{error});
    QCOMPARE(field(form, u"BisT"_s)->text(), fields[3]);
    QCOMPARE(form.period(), Period());

    click(form, u"BtnLastMonth"_s);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.period(), (Period{QDate(2007, 3, 1), QDate(2007, 3, 31)}));
}

void TstTimeSpanForm::escapeIsNoButton()
{
    ScriptedUiServices ui;
    FixedClock clock(QDate(2007, 4, 10));
    TTimeSpanForm form(ui, clock);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy finished(&form, &QDialog::finished);
    QTest::keyClick(field(form, u"VonT"_s), Qt::Key_Escape);
    QCOMPARE(finished.count(), 0);
    QVERIFY(form.isVisible());
    QCOMPARE(QApplication::focusWidget(), field(form, u"VonT"_s));
    click(form, u"Button4"_s);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(form.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TstTimeSpanForm)
#include "tst_timespanform.moc"
