#include "ApplicationContext.h"
#include "CommandRegistry.h"
#include "DbEdit.h"
#include "Program.h"
#include "ProgramFixture.h"
#include "ReportComponents.h"
#include "TBKasseEditForm.h"
#include "TBKasseForm.h"
#include "TextForms.h"
#include "UiCheck.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

namespace {

using Kind = ScriptedUiServices::Kind;
using Part = std::function<void(QDialog &)>;

// The program on 10.12.2026 with a scripted user.
class CashCountProgram
{
public:
    explicit CashCountProgram(const QString &directory) : program(directory, ui, clock)
    {
        program.show();
        QVERIFY(QTest::qWaitForWindowActive(&program.mainForm()));
    }

    ScriptedUiServices ui;
    FixedClock clock{QDate(2026, 12, 10)};
    Program program;

    TDataForm &data() { return program.dataForm(); }

    // Opens the list from the menu; inList is the user's part in it, then the list is closed.
    // The edit dialogs queued with inEditForm() open from the list.
    void openList(const Part &inList)
    {
        ui.expectDialog(u"BKasseForm"_s, [inList](QDialog &list) {
            inList(list);
            return int(QDialog::Rejected);
        });
        for (const Part &part : std::exchange(m_editForms, {}))
            ui.expectDialog(u"BKasseEditForm"_s, [part](QDialog &form) {
                part(form);
                return form.result();
            });
        program.mainForm().findChild<QAction *>(u"Kassenauszhlung1"_s)->trigger();
    }
    // Queues the user's part in the next edit dialog the list opens.
    void inEditForm(const Part &part) { m_editForms << part; }

    // "Datum KassenName Summe [pieces of every denomination that is not 0]", as the file holds them.
    QStringList storedCounts()
    {
        Statement rows = data().database()->prepare(u"SELECT * FROM \"BKASSE\" ORDER BY \"ID\""_s);
        QStringList counts;
        while (rows.step()) {
            QStringList line;
            for (int column = 0; column < rows.columnCount(); ++column) {
                const QString name = rows.columnName(column);
                if (name == u"ID"_s || name == u"Bemerkung"_s || (name.contains(u'_') && rows.integer(column) == 0))
                    continue;
                const QString value = rows.storageClass(column) == Statement::StorageClass::Null
                                          ? u"-"_s
                                          : name == u"Summe"_s ? TextForms::plainNumber(Money::fromDouble(rows.real(column))) : rows.text(column);
                line << (name.contains(u'_') ? u"%1=%2"_s.arg(name, value) : value);
            }
            counts << line.join(u' ');
        }
        return counts;
    }

private:
    QList<Part> m_editForms;
};

void click(QWidget &dialog, const QString &button)
{
    QPushButton *pushButton = dialog.findChild<QPushButton *>(button);
    QVERIFY2(pushButton, qPrintable(button));
    pushButton->click();
}

DbEdit *edit(QWidget &form, const QString &field)
{
    return form.findChild<DbEdit *>(u"DBEdit"_s + field);
}

// Types into the field's entry and leaves it with Tab, which writes the field.
void type(QWidget &form, const QString &field, const QString &text)
{
    DbEdit *entry = edit(form, field);
    entry->setFocus();
    QTest::keyClicks(entry, text);
    QTest::keyClick(entry, Qt::Key_Tab);
}

QString runningTotal(QWidget &form)
{
    return form.findChild<QLabel *>(u"LabelSumme"_s)->text();
}

} // namespace

class TstCashCountDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void newCountTakesTheEnteredDateOrToday_data();
    void newCountTakesTheEnteredDateOrToday();
    void cancelledDateCreatesNothing();
    void countedDayWarnsAndTheUniqueIndexDecides_data();
    void countedDayWarnsAndTheUniqueIndexDecides();
    void tillNameIsTheCompanyCutTo20();
    void viewButtonStoresReconcilesAndPrints_data();
    void viewButtonStoresReconcilesAndPrints();
    void missingTemplateStopsBeforeTheReconciliation();
    void editOnAnEmptyTableStartsANewCount();
    void closeBoxDiscardsTheNewCount();
    void deleteAsksAndRefusesOnAnEmptyTable();
};

void TstCashCountDialogs::cleanup()
{
    verifyNoUiProblems();
}

void TstCashCountDialogs::newCountTakesTheEnteredDateOrToday_data()
{
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("datum");
    QTest::newRow("a valid date") << u"01.03.2007"_s << QStringList() << u"01.03.2007"_s;
    QTest::newRow("31 February")
        << u"31.02.2007"_s
        << QStringList{u"Das Datum 31.02.2007 ist ungültig. Das heutige Datum wird anstelle dessen verwendet."_s}
        << u"10.12.2026"_s;
    QTest::newRow("an empty text")
        << QString() << QStringList{u"Das Datum  ist ungültig. Das heutige Datum wird anstelle dessen verwendet."_s}
        << u"10.12.2026"_s;
}

void TstCashCountDialogs::newCountTakesTheEnteredDateOrToday()
{
    QFETCH(QString, entered);
    QFETCH(QStringList, messages);
    QFETCH(QString, datum);
    ProgramDirectory dir;
    CashCountProgram p(dir.path());
    p.ui.inputs << entered;
    QString shownDatum, shownTill, totalWhileTyping;
    p.inEditForm([&](QDialog &form) {
        shownDatum = edit(form, u"Datum"_s)->text();
        shownTill = edit(form, u"KassenName"_s)->text();
        type(form, u"1_Cent"_s, u"3"_s);
        type(form, u"50_Cent"_s, u"1"_s);
        edit(form, u"20_Euro"_s)->setFocus();
        QTest::keyClicks(edit(form, u"20_Euro"_s), u"2"_s);
        totalWhileTyping = runningTotal(form);
        click(form, u"Button3"_s);
    });
    p.openList([](QDialog &list) { click(list, u"Button1"_s); });

    QCOMPARE(p.ui.shown.at(1), (ScriptedUiServices::Shown{Kind::Input, u"Eingabe"_s, u"Datum:"_s, u"10.12.2026"_s}));
    QCOMPARE(p.ui.texts(Kind::Message), messages);
    QCOMPARE(shownDatum, datum);
    QCOMPARE(shownTill, u"Beispielfirma"_s);
    QCOMPARE(totalWhileTyping, u"Gezählt: 40,53 €"_s);
    QCOMPARE(p.storedCounts(),
             QStringList{TextForms::parseDate(datum).toString(Qt::ISODate) + u" Beispielfirma 1_Cent=3 50_Cent=1 20_Euro=2 40,53"_s});
}

void TstCashCountDialogs::cancelledDateCreatesNothing()
{
    ProgramDirectory dir;
    CashCountProgram p(dir.path());
    p.ui.inputs << std::nullopt;
    p.openList([](QDialog &list) { click(list, u"Button1"_s); });
    QCOMPARE(p.storedCounts(), QStringList());
    QCOMPARE(p.data().BKasseTable.state(), CursorState::Browse);
}

void TstCashCountDialogs::countedDayWarnsAndTheUniqueIndexDecides_data()
{
    QTest::addColumn<QString>("storedTill");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<int>("counts");
    QTest::newRow("another till of that day is stored") << u"Kasse 2"_s << QStringList() << 2;
    QTest::newRow("the same till of that day is refused") << u"Beispielfirma"_s
                                                          << QStringList{u"UNIQUE constraint failed: BKASSE.Datum, BKASSE.KassenName."_s} << 1;
}

void TstCashCountDialogs::countedDayWarnsAndTheUniqueIndexDecides()
{
    QFETCH(QString, storedTill);
    QFETCH(QStringList, errors);
    QFETCH(int, counts);
    ProgramDirectory dir;
    dir.execute({u"INSERT INTO \"BKASSE\" (\"Datum\", \"KassenName\") VALUES ('2007-03-01', '%1')"_s.arg(storedTill)});
    CashCountProgram p(dir.path());
    p.ui.inputs << u"1.3.2007"_s;
    QStringList shownErrors;
    bool openAfterRefusal = false;
    p.inEditForm([&](QDialog &form) {
        type(form, u"2_Euro"_s, u"4"_s);
        click(form, u"Button3"_s);
        shownErrors = p.ui.takeErrors();
        openAfterRefusal = form.result() != QDialog::Accepted && p.data().BKasseTable.state() == CursorState::Insert;
        if (openAfterRefusal)
            click(form, u"Button4"_s);
    });
    p.openList([](QDialog &list) { click(list, u"Button1"_s); });

    const QList<ScriptedUiServices::Shown> warnings{{Kind::Warning, u"Warnung"_s, u"Eine Kassenauszählung vom 1.3.2007 liegt bereits vor."_s, u"&Ja"_s}};
    QCOMPARE(p.ui.shown.mid(2, 1), warnings);
    QCOMPARE(shownErrors.size(), errors.size());
    QCOMPARE(openAfterRefusal, !errors.isEmpty());
    QCOMPARE(p.storedCounts().size(), counts);
    QCOMPARE(p.data().BKasseTable.state(), CursorState::Browse);
}

void TstCashCountDialogs::tillNameIsTheCompanyCutTo20()
{
    ProgramDirectory dir;
    dir.execute({u"UPDATE \"FIRMA\" SET \"Firma\" = 'Bäckerei Sonnenschein OHG'"_s});
    CashCountProgram p(dir.path());
    p.ui.inputs << u"01.03.2007"_s;
    p.inEditForm([](QDialog &form) { click(form, u"Button3"_s); });
    p.openList([](QDialog &list) { click(list, u"Button1"_s); });
    QCOMPARE(p.storedCounts(), QStringList{u"2007-03-01 Bäckerei Sonnenschei 0"_s});
}

void TstCashCountDialogs::viewButtonStoresReconcilesAndPrints_data()
{
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("hundreds");
    QTest::addColumn<QString>("halves");
    QTest::addColumn<QString>("information");
    QTest::addColumn<QString>("booking");
    QTest::newRow("equal")
        << u"02.03.2007"_s << u"1"_s << u"1"_s
        << u"Der gezählte Kassenbestand stimmt mit dem letzten Kassenbestand vom 01.03.2007 überein."_s << u"A"_s;
    QTest::newRow("too little")
        << u"02.03.2007"_s << u"1"_s << QString()
        << u"Der gezählte Kassenbestand mit 100 Euro stimmt mit dem letzten Kassenbestand über 100,5 Euro vom 01.03.2007 "
           "nicht überein.\n\nEs sind 0,5 Euro zu wenig in der Kasse."_s << u"A"_s;
    QTest::newRow("too much, on the day of a booking")
        << u"05.03.2007"_s << u"4"_s << QString()
        << u"Der gezählte Kassenbestand mit 400 Euro stimmt mit dem letzten Kassenbestand über 300 Euro vom 05.03.2007 "
           "nicht überein.\n\nEs sind 100 Euro zu viel in der Kasse."_s << u"B"_s;
}

void TstCashCountDialogs::viewButtonStoresReconcilesAndPrints()
{
    QFETCH(QString, day);
    QFETCH(QString, hundreds);
    QFETCH(QString, halves);
    QFETCH(QString, information);
    QFETCH(QString, booking);
    ProgramDirectory dir;
    dir.addBooking(1, u"2007-03-01"_s, u"A"_s, u"100.5"_s, Erloese19, 1, u"100.5"_s);
    dir.addBooking(1, u"2007-03-05"_s, u"B"_s, u"199.5"_s, Erloese19, 2, u"300"_s);
    dir.addBooking(1, u"2007-03-09"_s, u"C"_s, u"1"_s, Erloese19, 3, u"301"_s);
    CashCountProgram p(dir.path());
    p.ui.inputs << day;
    QStringList storedDuringPreview;
    QString previewDataset;
    QStringList previewSql;
    p.inEditForm([&](QDialog &form) {
        type(form, u"100_Euro"_s, hundreds);
        type(form, u"50_Cent"_s, halves);
        p.ui.expectDialog(u"PreviewWindow"_s, [&](QDialog &) {
            storedDuringPreview = p.storedCounts();
            previewDataset = p.data().Reports->frReport1.mainDataset();
            previewSql = p.data().Query.sql();
            return int(QDialog::Rejected);
        });
        click(form, u"BtnView"_s);
        click(form, u"Button4"_s);
    });
    p.openList([](QDialog &list) { click(list, u"Button1"_s); });

    QCOMPARE(p.ui.texts(Kind::Information), QStringList{information});
    QCOMPARE(storedDuringPreview.size(), 1);
    QCOMPARE(previewDataset, u"frDBDataSet3"_s);
    QCOMPARE(previewSql, (QStringList{u"SELECT * FROM \"BKASSE.ADT\""_s, u"WHERE ID=1"_s}));
    QCOMPARE(p.data().KasseTable.fieldByName(u"BelegNr"_s).asString(), booking);
    QCOMPARE(p.storedCounts(), storedDuringPreview);  // "Abbrechen" no longer discards it
}

void TstCashCountDialogs::missingTemplateStopsBeforeTheReconciliation()
{
    ProgramDirectory dir;
    const QString templatePath = dir.filePath(u"Data/BarKasse.frf"_s);
    QVERIFY(QFile::remove(templatePath));
    dir.execute({u"INSERT INTO \"BKASSE\" (\"Datum\", \"KassenName\", \"1_Euro\") VALUES ('2007-03-01', 'Kasse', 1)"_s});
    CashCountProgram p(dir.path());
    QStringList errors;
    p.inEditForm([&](QDialog &form) {
        click(form, u"BtnView"_s);
        errors = p.ui.takeErrors();
        click(form, u"Button4"_s);
    });
    p.openList([](QDialog &list) { click(list, u"Button3"_s); });
    QCOMPARE(errors, QStringList{u"Datei %1 kann nicht geöffnet werden."_s.arg(templatePath)});
    QCOMPARE(p.ui.texts(Kind::Information), QStringList());
}

void TstCashCountDialogs::editOnAnEmptyTableStartsANewCount()
{
    ProgramDirectory dir;
    CashCountProgram p(dir.path());
    QStringList shownEmpty;
    p.inEditForm([&](QDialog &form) {
        for (DbEdit *entry : form.findChildren<DbEdit *>())
            if (!entry->text().isEmpty())
                shownEmpty << entry->objectName();
        type(form, u"1_Euro"_s, u"2"_s);
        type(form, u"Datum"_s, u"01.03.2007"_s);
        click(form, u"Button3"_s);
    });
    p.openList([](QDialog &list) { click(list, u"Button3"_s); });
    QCOMPARE(shownEmpty, QStringList());
    QCOMPARE(p.storedCounts(), QStringList{u"2007-03-01 - 1_Euro=2 2"_s});
}

void TstCashCountDialogs::closeBoxDiscardsTheNewCount()
{
    ProgramDirectory dir;
    CashCountProgram p(dir.path());
    p.ui.inputs << u"01.03.2007"_s;
    p.inEditForm([](QDialog &form) {
        form.show();
        type(form, u"1_Euro"_s, u"2"_s);
        form.close();
    });
    p.openList([](QDialog &list) { click(list, u"Button1"_s); });
    QCOMPARE(p.storedCounts(), QStringList());
    QCOMPARE(p.data().BKasseTable.state(), CursorState::Browse);
}

void TstCashCountDialogs::deleteAsksAndRefusesOnAnEmptyTable()
{
    ProgramDirectory dir;
    CashCountProgram p(dir.path());
    p.openList([](QDialog &list) { click(list, u"Button2"_s); });
    QCOMPARE(p.ui.texts(Kind::Message), QStringList{u"Es sind noch keine Auszählungen vorhanden."_s});

    p.data().BKasseTable.append();
    p.data().BKasseTable.fieldByName(u"Datum"_s).setAsString(u"01.03.2007"_s);
    p.data().BKasseTable.post();
    p.ui.confirmations << false << true;
    p.openList([](QDialog &list) {
        click(list, u"Button2"_s);
        click(list, u"Button2"_s);
    });
    const QString question = u"Wollen Sie tatsächlich die Auszählung vom 01.03.2007 löschen?"_s;
    QCOMPARE(p.ui.texts(Kind::Confirmation), (QStringList{question, question}));
    QCOMPARE(p.storedCounts(), QStringList());
}

QTEST_MAIN(TstCashCountDialogs)
#include "tst_cashcountdialogs.moc"
