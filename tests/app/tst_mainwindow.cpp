#include "ProgramFixture.h"
#include "UiCheck.h"

#include "DbNavigator.h"
#include "EntryPanel.h"
#include "HelpViewer.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QProgressBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

namespace {

// A help file of three topics: the contents, one found by its keyword, and the contact topic.
const QByteArray HelpXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<help contents="1">
  <topic id="1" title="Inhalt"><body>&lt;p&gt;Inhalt&lt;/p&gt;</body></topic>
  <topic id="5" title="Das Journal"><keyword>Journal</keyword><body>&lt;p&gt;Journal&lt;/p&gt;</body></topic>
  <topic id="21" title="Kontakt"><keyword>Adresse</keyword><body>&lt;p&gt;Kontakt&lt;/p&gt;</body></topic>
</help>
)";

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void layout();
    void controlHints_data();
    void controlHints();
    void menuItemHints_data();
    void menuItemHints();
    void menuTitleHint();
    void shortcutsWorkFromAnyControl_data();
    void shortcutsWorkFromAnyControl();
    void helpCommands_data();
    void helpCommands();
    void helpViewerClosesAtExit();
    void info();
    void everyCommandIsInstalled();
    void printerSetupUsesTheProgramsPrinter();
    void printButtonOpensThePrintMenu();
    void journalColumns();
    void navigatorDelete_data();
    void navigatorDelete();
};

void TstMainWindow::cleanup()
{
    verifyNoUiProblems();
}

void TstMainWindow::layout()
{
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    TMainForm &window = program.window();
    QCOMPARE(window.size(), QSize(800, 600));
    QCOMPARE(window.progressBar().size(), QSize(200, 36));
    auto *print = program.control<QToolButton>(u"ToolButton1"_s);
    QCOMPARE(print->size(), QSize(80, 36));
    QCOMPARE(print->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QVERIFY(!print->icon().isNull());
    QCOMPARE(window.entryPanel().height(), 105);
    QCOMPARE(window.entryPanel().width(), window.width());
    QCOMPARE(window.bottomNavigator().height(), 25);
    QCOMPARE(program.control<QLabel>(u"VersionPanel"_s)->text(), u"Kassenbuch Version 1.2c"_s);
    QCOMPARE(program.control<QLabel>(u"VersionPanel"_s)->width(), 200);
}

void TstMainWindow::controlHints_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("statusText");
    QTest::newRow("print button") << u"ToolButton1"_s << u"Druckberichte"_s << u"Druckberichte einsehen oder drucken"_s;
    QTest::newRow("hint without bar") << u"ToolButton2"_s << u"Programm beenden"_s << u"Programm beenden"_s;
    QTest::newRow("journal") << u"DBGrid1"_s << u"Kassenbuchungen"_s
                             << u"Sehen Sie hier die Buchungen, die bereits eingetragen wurden."_s;
    QTest::newRow("entry field") << u"EditBeleg"_s << u"Belegnummer bearbeiten"_s << u"Belegnummer bearbeiten"_s;
}

// Pointing at a control shows the short part as tooltip and the long part in the status line;
// moving on to a control without hint empties the status line.
void TstMainWindow::controlHints()
{
    QFETCH(QString, control);
    QFETCH(QString, toolTip);
    QFETCH(QString, statusText);
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    auto *widget = program.control<QWidget>(control);
    QVERIFY(widget);

    QTest::mouseMove(widget);
    QCOMPARE(widget->toolTip(), toolTip);
    QTRY_COMPARE(program.window().hintText(), statusText);

    QTest::mouseMove(program.control<QLabel>(u"VersionPanel"_s));
    QTRY_COMPARE(program.window().hintText(), QString());
}

void TstMainWindow::menuItemHints_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("statusText");
    QTest::newRow("printer setup") << u"Datei1"_s << u"Druckereinrichten1"_s << u"Drucker einrichten"_s;
    QTest::newRow("exit") << u"Datei1"_s << u"Beenden1"_s << u"Diese Anwendung beenden"_s;
    QTest::newRow("info") << u"Hilfe1"_s << u"Info1"_s << u"Programminformationen anzeigen"_s;
    QTest::newRow("item without hint") << u"Hilfe1"_s << u"Kontakt1"_s << QString();
}

void TstMainWindow::menuItemHints()
{
    QFETCH(QString, menu);
    QFETCH(QString, item);
    QFETCH(QString, statusText);
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    program.window().ShowHint(u"vorher"_s);
    auto *popup = program.control<QMenu>(menu);
    popup->popup(program.window().mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(popup));

    popup->setActiveAction(program.control<QAction>(item));
    QCOMPARE(program.window().hintText(), statusText);
    popup->close();
}

void TstMainWindow::menuTitleHint()
{
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    QMenuBar *bar = program.window().menuBar();
    bar->setActiveAction(program.control<QMenu>(u"Bearbeiten1"_s)->menuAction());
    QCOMPARE(program.window().hintText(), u"Bearbeitenmenü"_s);
    program.control<QMenu>(u"Bearbeiten1"_s)->close();
}

void TstMainWindow::shortcutsWorkFromAnyControl_data()
{
    QTest::addColumn<QString>("focus");
    QTest::newRow("date field") << u"DatumEdit"_s;
    QTest::newRow("text drop-down") << u"DBLText"_s;
    QTest::newRow("journal") << u"DBGrid1"_s;
}

void TstMainWindow::shortcutsWorkFromAnyControl()
{
    QFETCH(QString, focus);
    ProgramDirectory dir;
    dir.writeFile(u"kasse.hlp"_s, HelpXml);
    RunningProgram program(dir.path());
    QVERIFY(program.isActive());
    auto *control = program.control<QWidget>(focus);
    control->setFocus();
    QTRY_VERIFY(control->hasFocus());

    bool searched = false;
    program.ui.expectDialog(u"SearchForm"_s, [&searched](QDialog &) {
        searched = true;
        return int(QDialog::Rejected);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(searched);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QVERIFY(program.window().helpViewer().isVisible());
    QCOMPARE(program.window().helpViewer().currentTopic(), 1);
}

void TstMainWindow::helpCommands_data()
{
    QTest::addColumn<bool>("withHelpFile");
    QTest::addColumn<QString>("item");
    QTest::addColumn<std::optional<QString>>("word");
    QTest::addColumn<int>("topic");  // 0: no help window
    QTest::newRow("contents") << true << u"bersicht1"_s << std::optional<QString>() << 1;
    QTest::newRow("contact") << true << u"Kontakt1"_s << std::optional<QString>() << 21;
    QTest::newRow("keyword") << true << u"Suchbegriff1"_s << std::optional<QString>(u"Journal"_s) << 5;
    QTest::newRow("keyword cancelled") << true << u"Suchbegriff1"_s << std::optional<QString>() << 0;
    QTest::newRow("empty keyword") << true << u"Suchbegriff1"_s << std::optional<QString>(QString()) << 0;
    QTest::newRow("contents without help file") << false << u"bersicht1"_s << std::optional<QString>() << 0;
    QTest::newRow("contact without help file") << false << u"Kontakt1"_s << std::optional<QString>() << 0;
    QTest::newRow("keyword without help file") << false << u"Suchbegriff1"_s << std::optional<QString>() << 0;
}

void TstMainWindow::helpCommands()
{
    QFETCH(bool, withHelpFile);
    QFETCH(QString, item);
    QFETCH(std::optional<QString>, word);
    QFETCH(int, topic);
    ProgramDirectory dir;
    if (withHelpFile)
        dir.writeFile(u"kasse.hlp"_s, HelpXml);
    RunningProgram program(dir.path());
    const bool asks = withHelpFile && item == u"Suchbegriff1"_s;
    if (asks)
        program.ui.inputs << word;

    program.control<QAction>(item)->trigger();
    HelpViewer &help = program.window().helpViewer();
    QCOMPARE(help.isVisible(), topic != 0);
    if (topic != 0)
        QCOMPARE(help.currentTopic(), topic);
    QCOMPARE(described(program.ui.shown), asks ? QStringList{u"Hilfe | Suchwort eingeben: | "_s} : QStringList());
}

void TstMainWindow::helpViewerClosesAtExit()
{
    ProgramDirectory dir;
    dir.writeFile(u"kasse.hlp"_s, HelpXml);
    RunningProgram program(dir.path());
    program.control<QAction>(u"Kontakt1"_s)->trigger();
    QVERIFY(program.window().helpViewer().isVisible());
    program.ui.confirmations << false;
    program.window().close();
    QVERIFY(!program.window().helpViewer().isVisible());
}

// Each subsystem installs its commands: no menu item or tool button is left disabled.
void TstMainWindow::everyCommandIsInstalled()
{
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    QStringList disabled;
    for (QAction *action : program.window().findChildren<QAction *>()) {
        if (!action->objectName().isEmpty() && !action->isSeparator() && !action->isEnabled())
            disabled << action->objectName();
    }
    for (QToolButton *button : program.window().findChildren<QToolButton *>()) {
        if (!button->objectName().isEmpty() && !button->isEnabled())
            disabled << button->objectName();
    }
    QCOMPARE(disabled, QStringList());
}

void TstMainWindow::info()
{
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    program.control<QAction>(u"Info1"_s)->trigger();
    QCOMPARE(described(program.ui.shown),
             QStringList{u"Information | Vuno Kassenbuch\n\nWeitere Informationen finden Sie in der Hilfe. | "_s});
}

// The chosen printer lives in the window, where the reports will take it from.
void TstMainWindow::printerSetupUsesTheProgramsPrinter()
{
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    QPrinter *shownFor = nullptr;
    program.ui.expectDialog(u"QPrintDialog"_s, [&](QDialog &dialog) {
        shownFor = qobject_cast<QPrintDialog *>(&dialog)->printer();
        return int(QDialog::Rejected);
    });
    program.control<QAction>(u"Druckereinrichten1"_s)->trigger();
    QCOMPARE(program.ui.texts(), QStringList{QString()});
    QCOMPARE(program.ui.shown.first().caption, u"Drucker einrichten"_s);
    QCOMPARE(shownFor, &program.window().printer());
}

void TstMainWindow::printButtonOpensThePrintMenu()
{
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    QTest::mouseClick(program.control<QToolButton>(u"ToolButton1"_s), Qt::LeftButton);
    auto *popup = program.control<QMenu>(u"PopupMenu1"_s);
    QTRY_VERIFY(popup->isVisible());
    QStringList items;
    for (QAction *action : popup->actions())
        items << action->text();
    QCOMPARE(items, (QStringList{u"Kassenbuch"_s, QString(), u"Kontenübersicht"_s, u"Gruppenübersicht"_s}));
    popup->close();
}

void TstMainWindow::journalColumns()
{
    ProgramDirectory dir;
    dir.addBooking(1, u"2007-03-15"_s, u"B-1"_s, u"119"_s, Erloese19, 1, u"119"_s);
    dir.addBooking(1, u"2007-03-16"_s, u"B-2"_s, u"10"_s, Buerobedarf, 2, u"109"_s);
    RunningProgram program(dir.path());
    DbGrid &grid = program.window().grid();
    QStringList titles;
    QList<int> widths;
    for (int column = 0; column < grid.model()->columnCount(); ++column) {
        titles << grid.model()->headerData(column, Qt::Horizontal).toString();
        widths << grid.horizontalHeader()->sectionSize(column);
    }
    QCOMPARE(titles, (QStringList{u"Datum"_s, u"BelegNr"_s, u"Kontoname"_s, u"Betrag"_s, u"USt %"_s, u"USt €"_s,
                                  u"Netto"_s, u"Bestand / Saldo"_s, u"Text"_s, u"Minus"_s, u"lfdNr"_s}));
    // The given widths, except where a title would be clipped.
    QList<int> expected{70, 70, 120, 70, 50, 70, 70, 85, 300};
    for (int column = 0; column < expected.size(); ++column) {
        const int titleWidth = grid.horizontalHeader()->sectionSizeHint(column);
        QVERIFY2(widths[column] >= titleWidth, qPrintable(titles[column]));
        expected[column] = std::max(expected[column], titleWidth);
    }
    QCOMPARE(widths.mid(0, 9), expected);
    QCOMPARE(program.cell(0, u"Minus"_s), u"Falsch"_s);
    QCOMPARE(program.cell(1, u"Minus"_s), u"Wahr"_s);
    QCOMPARE(program.cell(1, u"Bestand / Saldo"_s), u"109,00 €"_s);
    QCOMPARE(program.cell(1, u"lfdNr"_s), u"2"_s);
    QVERIFY(grid.isReadOnlyColumn(6));
    QVERIFY(grid.isReadOnlyColumn(7));
    QVERIFY(!grid.isReadOnlyColumn(2));
}

void TstMainWindow::navigatorDelete_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QStringList>("journal");
    QTest::newRow("confirmed: renumbered and balanced again") << true << QStringList{u"B-2 1 -30"_s, u"B-3 2 -10"_s};
    QTest::newRow("declined: unchanged") << false << QStringList{u"B-1 1 100"_s, u"B-2 2 70"_s, u"B-3 3 90"_s};
}

void TstMainWindow::navigatorDelete()
{
    QFETCH(bool, confirmed);
    QFETCH(QStringList, journal);
    ProgramDirectory dir;
    dir.addBooking(1, u"2007-03-01"_s, u"B-1"_s, u"100"_s, Erloese19, 1, u"100"_s);
    dir.addBooking(1, u"2007-03-02"_s, u"B-2"_s, u"30"_s, Buerobedarf, 2, u"70"_s);
    dir.addBooking(1, u"2007-03-02"_s, u"B-3"_s, u"20"_s, Erloese19, 3, u"90"_s);
    {
        RunningProgram program(dir.path());
        QToolButton *remove = program.window().bottomNavigator().button(DbNavigator::Button::Delete);
        QCOMPARE(remove->toolTip(), u"Kassenbucheintrag löschen"_s);
        program.ui.confirmations << confirmed;
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(program.ui.texts(ScriptedUiServices::Kind::Confirmation), QStringList{u"Datensatz löschen?"_s});
        QCOMPARE(program.cell(0, u"BelegNr"_s), confirmed ? u"B-2"_s : u"B-1"_s);
        program.quit();
    }
    QCOMPARE(dir.journal(1), journal);
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
