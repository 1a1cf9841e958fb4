#include "ScriptedUiServices.h"

#include <QDialog>
#include <QTest>

using namespace Qt::StringLiterals;
using kb::ScriptedUiServices;
using Kind = ScriptedUiServices::Kind;

class TstScriptedUiServices : public QObject
{
    Q_OBJECT

private slots:
    void errorDisplayText_data();
    void errorDisplayText();
    void recordsEverythingShownInOrder();
    void answersFromTheQueues();
    void unansweredQuestionThrows_data();
    void unansweredQuestionThrows();
    void dialogsPlayInQueuedOrderAndStrayOnesAreProblems();
};

void TstScriptedUiServices::errorDisplayText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter gets a full stop") << u"Datei x kann nicht geöffnet werden"_s
                                             << u"Datei x kann nicht geöffnet werden."_s;
    QTest::newRow("full stop kept single") << u"Fertig."_s << u"Fertig."_s;
    QTest::newRow("digit sorts after the stop") << u"Fehler 5"_s << u"Fehler 5."_s;
    QTest::newRow("slash sorts after the stop") << u"a/"_s << u"a/."_s;
    QTest::newRow("umlaut sorts after the stop") << u"Größe ü"_s << u"Größe ü."_s;
    QTest::newRow("quote sorts before") << u"'x' ist kein gültiger Integerwert"_s
                                        << u"'x' ist kein gültiger Integerwert."_s;
    QTest::newRow("closing quote itself sorts before") << u"Wert 'x'"_s << u"Wert 'x'"_s;
    QTest::newRow("exclamation mark sorts before") << u"Achtung!"_s << u"Achtung!"_s;
    QTest::newRow("comma sorts before") << u"a,"_s << u"a,"_s;
    QTest::newRow("minus sorts before") << u"a-"_s << u"a-"_s;
    QTest::newRow("closing parenthesis sorts before") << u"(x)"_s << u"(x)"_s;
    QTest::newRow("line break sorts before") << u"Zeile\n"_s << u"Zeile\n"_s;
    QTest::newRow("empty text stays empty") << QString() << QString();
}

void TstScriptedUiServices::errorDisplayText()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(kb::UiServices::errorDisplayText(text), shown);
}

void TstScriptedUiServices::recordsEverythingShownInOrder()
{
    ScriptedUiServices ui;
    ui.confirmations = {true};
    ui.inputs = {u"CHF"_s};
    ui.directories = {u"/tmp"_s};
    ui.fileNames = {u"/tmp/a.csv"_s};
    ui.expectDialog(u"QDialog"_s, [](QDialog &) { return int(QDialog::Accepted); });
    QDialog dialog;
    dialog.setWindowTitle(u"Zeitraum"_s);

    ui.confirm(u"Wollen Sie tatsächlich löschen?"_s);
    ui.warning(u"Achtung"_s);
    ui.information(u"Gesichert"_s);
    ui.message(u"Hallo"_s);
    ui.showError(u"Fehler"_s);
    ui.inputBox(u"Eingabe"_s, u"Währungs-Kürzel:"_s, u"€"_s);
    ui.chooseDirectory(u"Verzeichnis auswählen"_s, u"/home"_s);
    ui.saveFileName(u"Daten exporieren"_s, u"/tmp"_s, u"CSV-Dateien (*.csv)"_s, u"Export.csv"_s);
    ui.runModal(dialog);

    const QList<ScriptedUiServices::Shown> expected = {
        {Kind::Confirmation, u"Bestätigung"_s, u"Wollen Sie tatsächlich löschen?"_s, {}},
        {Kind::Warning, u"Warnung"_s, u"Achtung"_s, {}},
        {Kind::Information, u"Information"_s, u"Gesichert"_s, {}},
        {Kind::Message, u"Vuno Kassenbuch"_s, u"Hallo"_s, {}},
        {Kind::Error, u"Vuno Kassenbuch"_s, u"Fehler."_s, {}},
        {Kind::Input, u"Eingabe"_s, u"Währungs-Kürzel:"_s, u"€"_s},
        {Kind::Directory, u"Verzeichnis auswählen"_s, {}, u"/home"_s},
        {Kind::SaveFile, u"Daten exporieren"_s, u"CSV-Dateien (*.csv)"_s, u"Export.csv"_s},
        {Kind::Modal, u"Zeitraum"_s, {}, {}},
    };
    QCOMPARE(ui.shown.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QVERIFY2(ui.shown.at(i) == expected.at(i), qPrintable(u"entry %1: %2"_s.arg(i).arg(ui.shown.at(i).text)));
    QCOMPARE(ui.takeErrors(), QStringList{u"Fehler."_s});
    QVERIFY(ui.allAnswersTaken());
    QCOMPARE(ui.problems(), QStringList());
}

void TstScriptedUiServices::answersFromTheQueues()
{
    ScriptedUiServices ui;
    ui.confirmations = {false, true};
    ui.inputs = {std::nullopt, u"neu"_s};
    ui.fileNames = {QString(), u"/tmp/bild.emf"_s, u"/tmp/a.csv"_s};
    ui.selectedFilters = {u"Erweiterte Metadateien (*.emf)"_s};
    ui.colors = {QColor(Qt::red), QColor()};

    QCOMPARE(ui.confirm(u"a"_s), false);
    QCOMPARE(ui.confirm(u"b"_s), true);
    bool ok = true;
    QCOMPARE(ui.inputBox(u"Eingabe"_s, u"Datum:"_s, u"05.03.2007"_s, &ok), u"05.03.2007"_s);
    QCOMPARE(ok, false);
    QCOMPARE(ui.inputBox(u"Eingabe"_s, u"Datum:"_s, u"05.03.2007"_s, &ok), u"neu"_s);
    QCOMPARE(ok, true);
    QString filter = u"unchanged"_s;
    QCOMPARE(ui.saveFileName(u"Speichern"_s, {}, {}, {}, {}, &filter), QString());
    QCOMPARE(filter, u"unchanged"_s);
    QCOMPARE(ui.saveFileName(u"Speichern"_s, {}, {}, {}, {}, &filter), u"/tmp/bild.emf"_s);
    QCOMPARE(filter, u"Erweiterte Metadateien (*.emf)"_s);
    QCOMPARE(ui.openFileName(u"Öffnen"_s, {}, {}, {}), u"/tmp/a.csv"_s);
    QCOMPARE(ui.chooseColor(Qt::blue), QColor(Qt::red));
    QVERIFY(!ui.chooseColor(Qt::blue).isValid());
    QVERIFY(ui.allAnswersTaken());
}

void TstScriptedUiServices::unansweredQuestionThrows_data()
{
    QTest::addColumn<std::function<void(ScriptedUiServices &)>>("ask");
    QTest::addColumn<QString>("question");
    QTest::newRow("confirmation") << std::function([](ScriptedUiServices &ui) { ui.confirm(u"Löschen?"_s); })
                                  << u"the question \"Löschen?\""_s;
    QTest::newRow("input box") << std::function([](ScriptedUiServices &ui) { ui.inputBox(u"E"_s, u"Datum:"_s, {}); })
                               << u"the input box \"Datum:\""_s;
    QTest::newRow("directory") << std::function([](ScriptedUiServices &ui) { ui.chooseDirectory(u"V"_s, {}); })
                               << u"the directory chooser \"V\""_s;
    QTest::newRow("file") << std::function([](ScriptedUiServices &ui) { ui.openFileName(u"O"_s, {}, {}, {}); })
                          << u"the open dialog \"O\""_s;
    QTest::newRow("filter asked for") << std::function([](ScriptedUiServices &ui) {
        ui.fileNames = {u"/tmp/x"_s};
        QString filter;
        ui.saveFileName(u"S"_s, {}, {}, {}, {}, &filter);
    }) << u"the filter of \"S\""_s;
    QTest::newRow("colour") << std::function([](ScriptedUiServices &ui) { ui.chooseColor(Qt::red); })
                            << u"the colour dialog"_s;
    QTest::newRow("modal dialog") << std::function([](ScriptedUiServices &ui) {
        QDialog dialog;
        dialog.setWindowTitle(u"Kassenzählung"_s);
        ui.runModal(dialog);
    }) << u"the dialog \"Kassenzählung\" (, QDialog)"_s;
}

void TstScriptedUiServices::unansweredQuestionThrows()
{
    QFETCH(std::function<void(ScriptedUiServices &)>, ask);
    QFETCH(QString, question);
    ScriptedUiServices ui;
    try {
        ask(ui);
        QFAIL("an unanswered question returned");
    } catch (const ScriptedUiServices::Unanswered &error) {
        QCOMPARE(QString::fromUtf8(error.what()), u"No scripted answer for "_s + question);
    }
}

// Dialogs are played in the order they were queued, matched by object name or class name; any
// other dialog is a problem the test fails on, like an error box nobody took.
void TstScriptedUiServices::dialogsPlayInQueuedOrderAndStrayOnesAreProblems()
{
    ScriptedUiServices::takeLeftOverProblems(); // those of the tests before, which provoke them
    QStringList played;
    {
        ScriptedUiServices ui;
        ui.expectDialog(u"TimeSpanForm"_s, [&](QDialog &) { played << u"period"_s; return int(QDialog::Accepted); });
        ui.expectDialog(u"QDialog"_s, [&](QDialog &) { played << u"plain"_s; return int(QDialog::Rejected); });
        QDialog period;
        period.setObjectName(u"TimeSpanForm"_s);
        QDialog plain;
        QCOMPARE(ui.runModal(period), int(QDialog::Accepted));
        QCOMPARE(ui.runModal(plain), int(QDialog::Rejected));
        QCOMPARE(ui.problems(), QStringList());
        QVERIFY_THROWS_EXCEPTION(ScriptedUiServices::Unanswered, ui.runModal(plain));
        ui.expectDialog(u"ExportForm"_s, [](QDialog &) { return int(QDialog::Accepted); });
        QVERIFY_THROWS_EXCEPTION(ScriptedUiServices::Unanswered, ui.runModal(period));
        ui.showError(u"Kaputt"_s);
        QCOMPARE(ui.problems().size(), 4);
        QVERIFY(ui.problems().contains(u"Unexpected error box: Kaputt."_s));
    }
    QCOMPARE(played, (QStringList{u"period"_s, u"plain"_s}));
    const QStringList left = ScriptedUiServices::takeLeftOverProblems();
    QCOMPARE(left.size(), 4);
    QVERIFY(left.at(1).contains(u"TimeSpanForm, QDialog) where ExportForm was queued"_s));
    QCOMPARE(ScriptedUiServices::takeLeftOverProblems(), QStringList());
}

QTEST_MAIN(TstScriptedUiServices)
#include "tst_scripteduiservices.moc"
