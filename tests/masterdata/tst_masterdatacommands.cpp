#include "DbComboBox.h"
#include "DbEdit.h"
#include "DbGrid.h"
#include "DbLookupComboBox.h"
#include "MasterDataFixture.h"
#include "ProgramFixture.h"
#include "TestFiles.h"
#include "UiCheck.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

namespace {

// The text of every item of a drop-down, in order.
QStringList items(const QComboBox &box)
{
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts << box.itemText(i);
    return texts;
}

} // namespace

class TstMasterDataCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyControlOpensItsDialog_data();
    void everyControlOpensItsDialog();
    void closingTheCompanyListAdoptsItsCompany_data();
    void closingTheCompanyListAdoptsItsCompany();
    void aNewAccountIsAtOnceInTheEntryPanel();
    void theEntryPanelListsTheTextsAlphabetically();
    void theCurrencySymbolAppliesAtOnceAndIsWritten_data();
    void theCurrencySymbolAppliesAtOnceAndIsWritten();
    void anUnwritableCurrencyFileIsReported();

private:
    void start();
    // Runs the command behind the control as the user does: a menu item is triggered, a button clicked.
    void use(const QString &control);
    QString programFile(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<ProgramDirectory> m_dir;
    std::unique_ptr<RunningProgram> m_program;
};

void TstMasterDataCommands::init()
{
    m_dir = std::make_unique<ProgramDirectory>();
}

void TstMasterDataCommands::start()
{
    m_program = std::make_unique<RunningProgram>(m_dir->path());
    QVERIFY(m_program->isActive());
}

void TstMasterDataCommands::cleanup()
{
    if (m_program)
        m_program->quit();
    m_program.reset();
    m_dir.reset();
    verifyNoUiProblems();
}

void TstMasterDataCommands::use(const QString &control)
{
    if (auto *action = m_program->window().findChild<QAction *>(control)) {
        QVERIFY2(action->isEnabled(), qPrintable(control));
        action->trigger();
        return;
    }
    auto *button = m_program->control<QAbstractButton>(control);
    QVERIFY2(button, qPrintable(control));
    QVERIFY2(button->isEnabled(), qPrintable(control));
    button->click();
}

void TstMasterDataCommands::everyControlOpensItsDialog_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("tool button Firmen") << u"BtnFirma"_s << u"FirmaForm"_s;
    QTest::newRow("menu Firmen") << u"Firmen1"_s << u"FirmaForm"_s;
    QTest::newRow("menu Konten") << u"Konten1"_s << u"KontenForm"_s;
    QTest::newRow("... beside the account") << u"SpeedButton1"_s << u"KontenForm"_s;
    QTest::newRow("menu Kontengruppen") << u"Kontengruppen1"_s << u"GruppeForm"_s;
    QTest::newRow("menu Texte") << u"Texte1"_s << u"TextForm"_s;
    QTest::newRow("... beside the text") << u"SpeedButton2"_s << u"TextForm"_s;
}

void TstMasterDataCommands::everyControlOpensItsDialog()
{
    QFETCH(QString, control);
    QFETCH(QString, dialog);
    start();
    m_program->ui.expectDialog(dialog, [](QDialog &list) { return click(list, u"Button4"_s); });
    use(control);
    QCOMPARE(m_program->ui.texts(ScriptedUiServices::Kind::Error), QStringList());
}

void TstMasterDataCommands::closingTheCompanyListAdoptsItsCompany_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("company");
    QTest::addColumn<QStringList>("journal");
    QTest::newRow("no change still writes") << u"none"_s << u"Beispielfirma"_s << QStringList{};
    QTest::newRow("the current company renamed") << u"rename"_s << u"Beispielfirma KG"_s << QStringList{};
    QTest::newRow("the last company deleted") << u"delete"_s << QString() << QStringList{};
    QTest::newRow("another company chosen, numbered as it becomes current")
        << u"choose"_s << u"Zweite"_s << QStringList{u"Z1 1 5"_s, u"Z2 2 12"_s};
}

void TstMasterDataCommands::closingTheCompanyListAdoptsItsCompany()
{
    QFETCH(QString, action);
    QFETCH(QString, company);
    QFETCH(QStringList, journal);
    if (action == u"choose"_s) {
        m_dir->execute({u"INSERT INTO \"FIRMA\" (\"Firma\") VALUES ('Zweite')"_s,
                        u"INSERT INTO \"KASSE\" (\"Firma_ID\", \"Datum\", \"BelegNr\", \"Buchungsbetrag\", \"KontoID\", "
                        "\"Minuskonto\") VALUES (2, '2007-03-02', 'Z2', 7, 2, 0), (2, '2007-03-01', 'Z1', 5, 2, 0)"_s});
    }
    start();
    QFile::remove(programFile(u"program.cfg"_s));
    m_program->ui.expectDialog(u"FirmaForm"_s, [&](QDialog &list) {
        if (action == u"rename"_s) {
            m_program->ui.expectDialog(u"FirmaEditForm"_s, [](QDialog &edit) {
                QTest::keyClicks(edit.findChild<DbEdit *>(u"DBEdit1"_s), u" KG"_s);
                return click(edit, u"Button3"_s);
            });
            click(list, u"Button3"_s);
        } else if (action == u"delete"_s) {
            m_program->ui.confirmations = {true};
            click(list, u"Button2"_s);
        } else if (action == u"choose"_s) {
            auto *grid = list.findChild<DbGrid *>(u"DBGrid1"_s);
            grid->setCurrentIndex(grid->model()->index(1, 0));
        }
        return click(list, u"Button4"_s);
    });
    use(u"BtnFirma"_s);
    QCOMPARE(m_program->window().windowTitle(), u"Vuno Kassenbuch (%1)"_s.arg(company));
    QCOMPARE(QString::fromLatin1(testfiles::readBytes(programFile(u"program.cfg"_s))).simplified(),
             u"[Firma] Letzte Firma=%1"_s.arg(company).trimmed());
    if (!journal.isEmpty())
        QCOMPARE(m_dir->journal(2), journal);
}

void TstMasterDataCommands::aNewAccountIsAtOnceInTheEntryPanel()
{
    start();
    m_program->ui.expectDialog(u"KontenForm"_s, [this](QDialog &list) {
        m_program->ui.expectDialog(u"KontenEditForm"_s, [](QDialog &edit) {
            auto *name = edit.findChild<DbEdit *>(u"DBEdit1"_s);
            name->clear();
            QTest::keyClicks(name, u"Kaffeekasse"_s);
            return click(edit, u"Button3"_s);
        });
        click(list, u"Button1"_s);
        return click(list, u"Button4"_s);
    });
    use(u"SpeedButton1"_s);
    const QStringList accounts = items(*m_program->control<DbLookupComboBox>(u"DBLKonto"_s));
    QVERIFY(accounts.contains(u"Kaffeekasse"_s));
    QStringList sorted = accounts;
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) { return a.localeAwareCompare(b) < 0; });
    QCOMPARE(accounts, sorted);
}

void TstMasterDataCommands::theEntryPanelListsTheTextsAlphabetically()
{
    start();
    m_program->ui.expectDialog(u"TextForm"_s, [](QDialog &list) {
        list.show();
        for (const QString &text : {u"Zeitschriften"_s, u"Abholung"_s}) {
            click(list, u"Button1"_s);
            QTest::keyClicks(QApplication::focusWidget(), text);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QTest::mouseClick(list.findChild<QAbstractButton *>(u"Button4"_s), Qt::LeftButton);
        return list.result();
    });
    use(u"SpeedButton2"_s);
    const QStringList texts = items(*m_program->control<DbComboBox>(u"DBLText"_s));
    QVERIFY(texts.contains(u"Zeitschriften"_s) && texts.contains(u"Abholung"_s));
    QStringList sorted = texts;
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) { return a.localeAwareCompare(b) < 0; });
    QCOMPARE(texts, sorted);
}

void TstMasterDataCommands::theCurrencySymbolAppliesAtOnceAndIsWritten_data()
{
    QTest::addColumn<std::optional<QString>>("entered");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("EUR") << std::optional<QString>(u"EUR"_s) << u"1.234,50 EUR"_s << QByteArray("EUR\r\n");
    QTest::newRow("empty symbol") << std::optional<QString>(QString()) << u"1.234,50"_s << QByteArray("\r\n");
    QTest::newRow("cancelled") << std::optional<QString>() << u"1.234,50 €"_s << QByteArray("CHF\r\n");
}

void TstMasterDataCommands::theCurrencySymbolAppliesAtOnceAndIsWritten()
{
    QFETCH(std::optional<QString>, entered);
    QFETCH(QString, cell);
    QFETCH(QByteArray, file);
    m_dir->addBooking(1, u"2007-03-01"_s, u"B1"_s, u"1234.5"_s, Erloese19, 1, u"1234.5"_s);
    start();
    // Written behind the running program's back: only the command may touch it, and only on OK.
    testfiles::writeBytes(programFile(u"currency.cfg"_s), "CHF\r\n");
    m_program->ui.inputs = {entered};
    use(u"WhrungsSymbol1"_s);
    QCOMPARE(described(m_program->ui.shown), QStringList{u"Eingabe | Währungs-Kürzel: | €"_s});
    QCOMPARE(m_program->cell(0, u"Betrag"_s), cell);
    QCOMPARE(testfiles::readBytes(programFile(u"currency.cfg"_s)), file);
}

void TstMasterDataCommands::anUnwritableCurrencyFileIsReported()
{
    m_dir->addBooking(1, u"2007-03-01"_s, u"B1"_s, u"1234.5"_s, Erloese19, 1, u"1234.5"_s);
    start();
    QVERIFY(QDir(m_dir->path()).mkdir(u"currency.cfg"_s));
    m_program->ui.inputs = {u"EUR"_s};
    use(u"WhrungsSymbol1"_s);
    QCOMPARE(m_program->ui.takeErrors(),
             QStringList{u"Datei %1 kann nicht erstellt werden."_s.arg(programFile(u"currency.cfg"_s))});
    QCOMPARE(m_program->cell(0, u"Betrag"_s), u"1.234,50 EUR"_s);
}

QTEST_MAIN(TstMasterDataCommands)
#include "tst_masterdatacommands.moc"
