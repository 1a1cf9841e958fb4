#include "ProgramFixture.h"
#include "UiCheck.h"

#include "Errors.h"
#include "TextForms.h"

#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

class TstStartup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void currencySymbol_data();
    void currencySymbol();
    void unreadableCurrencyFileLetsTheStartGoOn();
    void rememberedCompany_data();
    void rememberedCompany();
    void journalStandsOnTheFirstBooking();
    void startWithoutTablesFails();
    void pendingBookingAtExit_data();
    void pendingBookingAtExit();
    void bookingThatCannotBeStoredAtExitIsReported();
};

void TstStartup::cleanup()
{
    verifyNoUiProblems();
}

void TstStartup::currencySymbol_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("amount");
    QTest::newRow("first line exactly, further lines ignored") << QByteArray("CHF\r\nx\r\n") << u"12,50 CHF"_s;
    QTest::newRow("euro sign as the single byte of code page 1252") << QByteArray("\x80\r\n") << u"12,50 €"_s;
    QTest::newRow("zero bytes give the euro") << QByteArray() << u"12,50 €"_s;
    QTest::newRow("empty first line gives no symbol") << QByteArray("\r\nCHF\r\n") << u"12,50"_s;
}

void TstStartup::currencySymbol()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, amount);
    ProgramDirectory dir;
    dir.writeFile(u"currency.cfg"_s, file);
    dir.addBooking(1, u"2007-03-15"_s, u"B-1"_s, u"12.5"_s, Erloese19, 1, u"12.5"_s);

    RunningProgram program(dir.path());
    QCOMPARE(program.cell(0, u"Betrag"_s), amount);
    QCOMPARE(program.window().grid().model()->headerData(5, Qt::Horizontal).toString(), u"USt €"_s);
    QCOMPARE(program.ui.shown.size(), 0);
}

void TstStartup::unreadableCurrencyFileLetsTheStartGoOn()
{
    ProgramDirectory dir;
    QVERIFY(QDir(dir.path()).mkdir(u"currency.cfg"_s));
    dir.execute({u"INSERT INTO \"FIRMA\" (\"Firma\") VALUES ('Zweitfirma')"_s});
    dir.writeFile(u"program.cfg"_s, "[Firma]\r\nLetzte Firma=Zweitfirma\r\n");
    dir.addBooking(2, u"2007-03-15"_s, u"B-1"_s, u"12.5"_s, Erloese19, 1, u"12.5"_s);

    RunningProgram program(dir.path());
    QCOMPARE(program.ui.takeErrors(),
             QStringList{FileError::cannotOpen(dir.filePath(u"currency.cfg"_s)).text() + u'.'});
    QCOMPARE(program.cell(0, u"Betrag"_s), u"12,50 €"_s);
    QCOMPARE(program.window().windowTitle(), u"Vuno Kassenbuch (Zweitfirma)"_s);
}

void TstStartup::rememberedCompany_data()
{
    QTest::addColumn<QByteArray>("programCfg");
    QTest::addColumn<QString>("current");

    QTest::newRow("name stored exactly") << QByteArray("[Firma]\r\nLetzte Firma=Zweitfirma\r\n") << u"Zweitfirma"_s;
    QTest::newRow("name in another case is not found") << QByteArray("[Firma]\r\nLetzte Firma=ZWEITFIRMA\r\n")
                                                      << u"Beispielfirma"_s;
    QTest::newRow("the beginning of a name is not found") << QByteArray("[Firma]\r\nLetzte Firma=Zweit\r\n")
                                                         << u"Beispielfirma"_s;
    QTest::newRow("no file") << QByteArray() << u"Beispielfirma"_s;
}

// The caption names the company whose journal is shown, whatever program.cfg says.
void TstStartup::rememberedCompany()
{
    QFETCH(QByteArray, programCfg);
    QFETCH(QString, current);
    ProgramDirectory dir;
    dir.execute({u"INSERT INTO \"FIRMA\" (\"Firma\") VALUES ('Zweitfirma')"_s});
    if (!programCfg.isEmpty())
        dir.writeFile(u"program.cfg"_s, programCfg);
    dir.addBooking(1, u"2007-03-01"_s, u"Beispiel-1"_s, u"10"_s, Erloese19, 1, u"10"_s);
    dir.addBooking(2, u"2007-03-01"_s, u"Zweit-1"_s, u"20"_s, Erloese19, 1, u"20"_s);

    RunningProgram program(dir.path());
    QCOMPARE(program.data().FirmaTable.fieldByName(u"Firma"_s).asString(), current);
    QCOMPARE(program.window().windowTitle(), u"Vuno Kassenbuch (%1)"_s.arg(current));
    QCOMPARE(program.kasse().recordCount(), 1);
    QCOMPARE(program.cell(0, u"BelegNr"_s), current == u"Zweitfirma"_s ? u"Zweit-1"_s : u"Beispiel-1"_s);
}

// Start-up numbers an old journal and leaves it on its first booking.
void TstStartup::journalStandsOnTheFirstBooking()
{
    ProgramDirectory dir;
    dir.execute({u"INSERT INTO \"KASSE\" (\"Firma_ID\", \"Datum\", \"BelegNr\", \"Buchungsbetrag\", \"KontoID\", "
                 "\"Minuskonto\") VALUES (1, '2007-03-02', 'B-2', 30, 4, 1), (1, '2007-03-01', 'B-1', 100, 2, 0)"_s});

    RunningProgram program(dir.path());
    QCOMPARE(program.field(u"BelegNr"_s).asString(), u"B-1"_s);
    QCOMPARE(dir.journal(1), (QStringList{u"B-1 1 100"_s, u"B-2 2 70"_s}));
    QCOMPARE(program.window().progressBar().value(), 0);
}

void TstStartup::startWithoutTablesFails()
{
    QTemporaryDir empty;
    ScriptedUiServices ui;
    QVERIFY_THROWS_EXCEPTION(Error, Program(empty.path(), ui));
}

void TstStartup::pendingBookingAtExit_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QStringList>("journal");
    QTest::newRow("with an amount it is stored and numbered") << u"42,5"_s << QStringList{u"B-1 1 10"_s, u"B-2 2 52.5"_s};
    QTest::newRow("without an amount it is discarded") << QString() << QStringList{u"B-1 1 10"_s};
}

// The user typed a new booking and closes the window with the focus still in the amount field.
void TstStartup::pendingBookingAtExit()
{
    QFETCH(QString, amount);
    QFETCH(QStringList, journal);
    ProgramDirectory dir;
    dir.addBooking(1, u"2007-03-01"_s, u"B-1"_s, u"10"_s, Erloese19, 1, u"10"_s);
    {
        RunningProgram program(dir.path());
        QVERIFY(program.isActive());
        QTest::mouseClick(program.control<QPushButton>(u"BtnAdd"_s), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(program.field(u"BelegNr"_s).asString(), u"B-2"_s);
        if (!amount.isEmpty()) {
            auto *betrag = program.control<QLineEdit>(u"EditBetrag"_s);
            betrag->setFocus();
            QTest::keyClicks(betrag, amount);
        }
        program.quit();
        QCOMPARE(program.ui.shown.size(), 0);
    }
    QCOMPARE(dir.journal(1), journal);
}

void TstStartup::bookingThatCannotBeStoredAtExitIsReported()
{
    ProgramDirectory dir;
    RunningProgram program(dir.path());
    QVERIFY(program.isActive());
    QTest::mouseClick(program.control<QPushButton>(u"BtnAdd"_s), Qt::LeftButton);
    auto *betrag = program.control<QLineEdit>(u"EditBetrag"_s);
    betrag->setFocus();
    QTest::keyClicks(betrag, u"10"_s);
    auto *percent = program.control<QLineEdit>(u"EditUStP"_s);
    percent->setFocus();
    QTest::keyClicks(percent, u"-100"_s);

    program.window().close();
    QCOMPARE(program.ui.takeErrors().size(), 1);
    QVERIFY(!program.window().isVisible());
    program.quit();
    QCOMPARE(dir.journal(1), QStringList());
}

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
