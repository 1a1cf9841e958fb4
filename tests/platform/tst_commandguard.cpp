#include "CommandGuard.h"
#include "Errors.h"
#include "ScriptedUiServices.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

using namespace Qt::StringLiterals;
using kb::CommandGuard;
using kb::ScriptedUiServices;

using Command = std::function<void()>;
Q_DECLARE_METATYPE(Command)

class TstCommandGuard : public QObject
{
    Q_OBJECT

private slots:
    void guard_data();
    void guard();
    void unansweredQuestionEndsTheCommandVisibly();
    void signalsRunGuarded();
};

void TstCommandGuard::guard_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<bool>("completed");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("completes") << Command([] {}) << true << QStringList();
    QTest::newRow("conversion error") << Command([] { throw kb::ConversionError::notAnInteger(u"x"_s); })
                                      << false << QStringList{u"'x' ist kein gültiger Integerwert."_s};
    QTest::newRow("file error") << Command([] { throw kb::FileError::cannotCreate(u"/a/sikinfo.dat"_s); })
                                << false << QStringList{u"Datei /a/sikinfo.dat kann nicht erstellt werden."_s};
    QTest::newRow("engine error shows its message")
        << Command([] { throw kb::EngineError(u"no such column: Betrag"_s, u"SELECT Betrag FROM KASSE"_s); })
        << false << QStringList{u"no such column: Betrag."_s};
    QTest::newRow("silent abort") << Command([] { throw kb::Abort(); }) << false << QStringList();
    QTest::newRow("standard exception") << Command([] { throw std::runtime_error("File already exists"); })
                                        << false << QStringList{u"File already exists."_s};
    QTest::newRow("anything else") << Command([] { throw 42; }) << false << QStringList{u"Unbekannter Fehler."_s};
}

void TstCommandGuard::guard()
{
    QFETCH(Command, command);
    QFETCH(bool, completed);
    QFETCH(QStringList, errors);
    ScriptedUiServices ui;
    QCOMPARE(CommandGuard::guard(ui, command), completed);
    QCOMPARE(ui.texts(), errors);
    QCOMPARE(ui.texts(ScriptedUiServices::Kind::Error), errors);
}

void TstCommandGuard::unansweredQuestionEndsTheCommandVisibly()
{
    ScriptedUiServices ui;
    bool wentOn = false;
    QVERIFY(!CommandGuard::guard(ui, [&] {
        ui.confirm(u"Wirklich?"_s);
        wentOn = true;
    }));
    QVERIFY(!wentOn);
    QCOMPARE(ui.texts(ScriptedUiServices::Kind::Error),
             QStringList{u"No scripted answer for the question \"Wirklich?\""_s});
}

void TstCommandGuard::signalsRunGuarded()
{
    ScriptedUiServices ui;
    QPushButton button(u"Speichern"_s);
    QAction action(u"Beenden"_s);
    int runs = 0;
    CommandGuard::connect(&button, ui, [&] {
        ++runs;
        throw kb::ConversionError::notAFloat(u"-"_s);
    });
    CommandGuard::connect(&action, ui, [&] {
        ++runs;
        throw kb::Abort();
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    action.trigger();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(runs, 3);
    QCOMPARE(ui.texts(), QStringList(2, u"'-' ist kein gültiger Gleitkommawert."_s));
}

QTEST_MAIN(TstCommandGuard)
#include "tst_commandguard.moc"
