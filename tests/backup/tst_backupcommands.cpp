#include "BackupCommands.h"
#include "CodePage1252.h"
#include "CommandGuard.h"
#include "DataDirectorySetup.h"
#include "Database.h"
#include "MainWindowServices.h"
#include "ScriptedUiServices.h"
#include "TDataForm.h"
#include "TZLBArchive.h"
#include "TestFiles.h"
#include "UiCheck.h"

#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

using namespace kb;
using namespace kb::testfiles;
using namespace kb::test;
using namespace Qt::StringLiterals;
using Kind = ScriptedUiServices::Kind;

namespace {

const QString ChooserTitle = u"Verzeichnis auswählen"_s;
const QString RestoreFailed = u"Ein Fehler ist beim Rücksichern aufgetreten"_s;
const QString RestartAdvice = u"Es wird empfohlen nach einer Rücksicherung das Programm neu zu starten."_s;

// The main window as the commands see it: what they asked of it, and in which state.
class WindowProbe : public MainWindowServices, public Progress
{
public:
    explicit WindowProbe(TDataForm *&data) : m_data(data) {}

    QWidget &window() override { return m_window; }
    void showCompanyInCaption() override {}
    void LoadTexts() override {}
    void redrawJournal() override {}
    void FormShow() override { shownWithTablesOpen << m_data->FirmaTable.isOpen(); }
    Progress &progress() override { return *this; }
    void closeWithoutBackupQuestion() override { ++closed; }

    void setMaximum(int value) override { maximum = value; }
    void setPosition(int value) override
    {
        position = value;
        highest = std::max(highest, value);
    }
    void reset() override { position = 0; }

    QList<bool> shownWithTablesOpen;
    int closed = 0;
    int maximum = 0;
    int position = -1;
    int highest = 0;

private:
    TDataForm *&m_data;
    QWidget m_window;
};

// Every file below a directory with its bytes.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    for (const QString &entry : tree(root)) {
        if (QFileInfo(QDir(root).filePath(entry)).isFile())
            files.insert(entry, readBytes(QDir(root).filePath(entry)));
    }
    return files;
}

QMap<QString, QByteArray> archived(const QString &archivePath)
{
    QTemporaryDir target;
    TZLBArchive archive;
    archive.OpenArchive(archivePath);
    archive.ExtractFiles(target.path());
    return snapshot(target.path());
}

} // namespace

class TstBackupCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void backupIntoAnEmptyDirectory();
    void secondBackupReplacesBothFiles();
    void fileThatCannotBeCopiedIsNamedAndLeftOut();
    void archiveThatCannotBeWrittenIsAFailure();
    void cancelInTheChooserChangesNothing();
    void directoryInsideDataOrStagingIsRefused_data();
    void directoryInsideDataOrStagingIsRefused();
    void restoreWithoutArchiveLeavesDataAndEnds();
    void restoreOfAGoodArchiveBringsTheBackupBack();
    void restoreOfABrokenArchiveLeavesDataUntouched_data();
    void restoreOfABrokenArchiveLeavesDataUntouched();
    void closeQueryOffersABackupAndNeverStopsTheClose_data();
    void closeQueryOffersABackupAndNeverStopsTheClose();

private:
    QString program(const QString &name) const { return QDir(m_program->path()).filePath(name); }
    QString data() const { return program(u"Data"_s); }
    QString target(const QString &name = {}) const { return QDir(m_target->path()).filePath(name); }
    void backUpInto(const QString &directory);
    void addBooking();

    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_target;
    std::unique_ptr<ScriptedUiServices> m_ui;
    TDataForm *m_data = nullptr;
    std::unique_ptr<WindowProbe> m_window;
    std::unique_ptr<TDataForm> m_dataForm;
    std::unique_ptr<BackupCommands> m_commands;
};

void TstBackupCommands::init()
{
    m_program = std::make_unique<QTemporaryDir>();
    m_target = std::make_unique<QTemporaryDir>();
    DataDirectorySetup::create(m_program->path());
    // Two files keep the expected lists short: the database and one template.
    for (const QString &name : {u"BarKasse.frf"_s, u"Gruppen.frf"_s, u"Konten.frf"_s})
        QFile::remove(program(u"Data/"_s + name));
    writeBytes(program(u"Data/Kassenbuch.frf"_s), "<template>cash book</template>");
    m_ui = std::make_unique<ScriptedUiServices>();
    m_window = std::make_unique<WindowProbe>(m_data);
    m_dataForm = std::make_unique<TDataForm>(m_program->path(), *m_ui);
    m_data = m_dataForm.get();
    m_commands = std::make_unique<BackupCommands>(m_program->path(), *m_data, *m_ui, *m_window);
}

void TstBackupCommands::cleanup()
{
    m_commands.reset();
    m_dataForm.reset();
    m_data = nullptr;
    m_ui.reset();
    verifyNoUiProblems();
}

void TstBackupCommands::backUpInto(const QString &directory)
{
    m_ui->directories << directory;
    m_commands->Datenkopieanlegen1Click();
}

// A booking written beside the data module, as a change made after the backup.
void TstBackupCommands::addBooking()
{
    Database db(DataDirectorySetup::databasePath(m_program->path()));
    // Numbered and balanced, so that opening the tables finds nothing to repair.
    db.execute(u"INSERT INTO \"KASSE\" (\"Firma_ID\", \"Datum\", \"BelegNr\", \"Buchungsbetrag\", \"Minuskonto\", "
               "\"lfdNr\", \"Zeilenbestand\") VALUES (1, '2026-12-01', 'B-1', 10, 0, 1, 10)"_s);
}

void TstBackupCommands::backupIntoAnEmptyDirectory()
{
    const QMap<QString, QByteArray> before = snapshot(data());
    writeBytes(program(u"_Temp/Geloescht.frf"_s), "left by an earlier backup");
    backUpInto(target());

    QCOMPARE(m_ui->shown.first().caption, ChooserTitle);
    QCOMPARE(m_ui->shown.last(), (ScriptedUiServices::Shown{
        Kind::Information, UiServices::informationCaption(),
        u"2 Dateien wurden in die komprimierte Datei DATEN.ZLB im Verzeichnis %1 gesichert."_s.arg(target()),
        u"&Ja"_s}));
    QCOMPARE(tree(target()), (QStringList{u"daten.zlb"_s, u"sikinfo.dat"_s}));
    QCOMPARE(archived(target(u"daten.zlb"_s)), before);
    QCOMPARE(readBytes(target(u"sikinfo.dat"_s)),
             CodePage1252::encode(u"%1/Kassenbuch.frf\r\n%1/kassenbuch.db\r\n"_s.arg(program(u"_Temp"_s))));
    QCOMPARE(m_window->shownWithTablesOpen, QList<bool>{true});
    QCOMPARE(m_window->maximum, 100);
    QCOMPARE(m_window->position, 0);
    QVERIFY(m_data->KasseTable.isOpen());
}

void TstBackupCommands::secondBackupReplacesBothFiles()
{
    backUpInto(target());
    addBooking();
    writeBytes(program(u"Data/Konten.frf"_s), "<template>accounts</template>");
    backUpInto(target());

    QCOMPARE(m_ui->texts(Kind::Error), QStringList());
    QCOMPARE(tree(target()), (QStringList{u"daten.zlb"_s, u"sikinfo.dat"_s}));
    QCOMPARE(archived(target(u"daten.zlb"_s)), snapshot(data()));
    QCOMPARE(CodePage1252::readLines(target(u"sikinfo.dat"_s)).size(), 3);
}

void TstBackupCommands::fileThatCannotBeCopiedIsNamedAndLeftOut()
{
    // A write-only attribute of the kernel: reading it fails, also for root.
    const QString unreadable = u"/sys/bus/platform/drivers_probe"_s;
    if (!QFileInfo(unreadable).isFile())
        QSKIP("this system has no write-only kernel attribute to read");
    QVERIFY(QFile::link(unreadable, program(u"Data/Unlesbar.frf"_s)));
    backUpInto(target());

    QCOMPARE(m_ui->texts(Kind::Message), QStringList{u"Fehler beim Kopieren der Datei\n%1/Unlesbar.frf\nnach\n%2/Unlesbar.frf"_s
                                                        .arg(data(), program(u"_Temp"_s))});
    QCOMPARE(archived(target(u"daten.zlb"_s)).keys(), (QStringList{u"Kassenbuch.frf"_s, u"kassenbuch.db"_s}));
    QVERIFY(m_ui->texts(Kind::Information).constFirst().startsWith(u"2 Dateien wurden"_s));
}

void TstBackupCommands::archiveThatCannotBeWrittenIsAFailure()
{
    backUpInto(target());
    const QByteArray previous = readBytes(target(u"daten.zlb"_s));
    addBooking();
    m_ui->shown.clear();
    // The archive is built in the directory for temporary files first; a file there in its place
    // makes that fail.
    const QByteArray tmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(writeBytes(target(u"keinVerzeichnis"_s), "a file")));
    m_ui->directories << target();
    CommandGuard::guard(*m_ui, [this] { m_commands->Datenkopieanlegen1Click(); });
    qputenv("TMPDIR", tmpdir);

    QCOMPARE(m_ui->texts(Kind::Information), QStringList());
    const QStringList errors = m_ui->takeErrors();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.constFirst().startsWith(
                 u"Die Sicherungsdatei %1 konnte nicht geschrieben werden"_s.arg(target(u"daten.zlb"_s))),
             qPrintable(errors.constFirst()));
    QCOMPARE(readBytes(target(u"daten.zlb"_s)), previous);
    QCOMPARE(tree(target()), (QStringList{u"daten.zlb"_s, u"keinVerzeichnis"_s, u"sikinfo.dat"_s}));
    QVERIFY(m_data->KasseTable.isOpen());
    QCOMPARE(m_window->position, 0);
}

void TstBackupCommands::cancelInTheChooserChangesNothing()
{
    m_ui->directories << QString();
    m_commands->Datenkopieanlegen1Click();
    m_ui->directories << QString();
    m_commands->Datenkopiezurckschreiben1Click();

    QCOMPARE(m_ui->shown.size(), 2);
    QCOMPARE(m_window->shownWithTablesOpen, QList<bool>());
    QCOMPARE(m_window->closed, 0);
    QVERIFY(!QFileInfo::exists(program(u"_Temp"_s)));
    QVERIFY(m_data->KasseTable.isOpen());
}

void TstBackupCommands::directoryInsideDataOrStagingIsRefused_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<bool>("restore");
    QTest::newRow("backup into Data") << u"Data"_s << false;
    QTest::newRow("backup into a new directory below _Temp") << u"_Temp/Sicherung"_s << false;
    QTest::newRow("restore from _Temp") << u"_Temp/"_s << true;
}

void TstBackupCommands::directoryInsideDataOrStagingIsRefused()
{
    QFETCH(QString, directory);
    QFETCH(bool, restore);
    QDir().mkpath(program(directory));
    const QMap<QString, QByteArray> before = snapshot(m_program->path());
    m_ui->directories << program(directory);
    restore ? m_commands->Datenkopiezurckschreiben1Click() : m_commands->Datenkopieanlegen1Click();

    QCOMPARE(m_ui->texts(Kind::Warning),
             QStringList{u"Das Verzeichnis %1 liegt im Datenverzeichnis oder im Zwischenverzeichnis _Temp des "
                         "Programms. Eine Datenkopie muss außerhalb dieser Verzeichnisse liegen."_s
                             .arg(program(directory))});
    QCOMPARE(snapshot(m_program->path()), before);
    QCOMPARE(m_window->closed, 0);
    QVERIFY(m_data->KasseTable.isOpen());
}

void TstBackupCommands::restoreWithoutArchiveLeavesDataAndEnds()
{
    // Copies of an earlier backup in the staging directory must not reach Data/.
    QDir().mkpath(target(u"alt"_s));
    backUpInto(target(u"alt"_s));
    writeBytes(program(u"_Temp/kassenbuch.db"_s), "stale copy");
    const QMap<QString, QByteArray> before = snapshot(data());
    m_ui->shown.clear();
    m_ui->directories << target();
    m_commands->Datenkopiezurckschreiben1Click();

    QCOMPARE(m_ui->texts(), (QStringList{QString(), u"Es wurde keine Sicherungsdatei gefunden."_s, RestartAdvice}));
    QCOMPARE(snapshot(data()), before);
    QCOMPARE(m_window->closed, 1);
    QVERIFY(m_data->KasseTable.isOpen());
}

void TstBackupCommands::restoreOfAGoodArchiveBringsTheBackupBack()
{
    backUpInto(target());
    const QMap<QString, QByteArray> backedUp = snapshot(data());
    addBooking();
    writeBytes(program(u"Data/Kassenbuch.frf"_s), "<template>changed</template>");
    writeBytes(program(u"Data/Eigene.frf"_s), "<template>own</template>");
    writeBytes(program(u"_Temp/Geloescht.frf"_s), "left by an earlier backup");
    m_ui->shown.clear();
    m_ui->directories << target();
    m_commands->Datenkopiezurckschreiben1Click();

    QCOMPARE(m_ui->texts(), (QStringList{QString(), RestartAdvice}));
    QMap<QString, QByteArray> expected = backedUp;
    expected.insert(u"Eigene.frf"_s, "<template>own</template>");
    QCOMPARE(snapshot(data()), expected);
    QCOMPARE(tree(program(u"_Temp"_s)), QStringList());
    QCOMPARE(tree(m_program->path()).filter(u"_Ruecksicherung"_s), QStringList());
    QCOMPARE(m_window->highest, 100);
    QCOMPARE(m_window->position, 0);
    QCOMPARE(m_window->shownWithTablesOpen.constLast(), true);
    QCOMPARE(m_window->closed, 1);
}

void TstBackupCommands::restoreOfABrokenArchiveLeavesDataUntouched_data()
{
    QTest::addColumn<int>("damage");
    QTest::newRow("one byte of the data area changed") << 0;
    QTest::newRow("archive cut short") << 1;
    QTest::newRow("archive without the database") << 2;
    QTest::newRow("database inside fails the integrity check") << 3;
}

void TstBackupCommands::restoreOfABrokenArchiveLeavesDataUntouched()
{
    QFETCH(int, damage);
    backUpInto(target());
    QByteArray bytes = readBytes(target(u"daten.zlb"_s));
    if (damage == 0) {
        bytes[10] = char(bytes[10] ^ 0x20);
    } else if (damage == 1) {
        bytes.chop(100);
    } else {
        const QString file = damage == 2 ? program(u"Data/Kassenbuch.frf"_s) : target(u"kassenbuch.db"_s);
        if (damage == 3) {
            QByteArray database = readBytes(program(u"Data/kassenbuch.db"_s));
            database.replace(4096, 4096, QByteArray(4096, '\xff'));
            writeBytes(file, database);
        }
        QFile::remove(target(u"daten.zlb"_s));
        TZLBArchive archive;
        archive.CreateArchive(target(u"daten.zlb"_s));
        QStringList files{file};
        QVERIFY(archive.AddFiles(files));
        archive.CloseArchive();
        QFile::remove(target(u"kassenbuch.db"_s));
        bytes = readBytes(target(u"daten.zlb"_s));
    }
    writeBytes(target(u"daten.zlb"_s), bytes);
    addBooking();
    const QMap<QString, QByteArray> before = snapshot(data());
    m_ui->shown.clear();
    m_ui->directories << target();
    m_commands->Datenkopiezurckschreiben1Click();

    QCOMPARE(m_ui->texts(), (QStringList{QString(), RestoreFailed, RestartAdvice}));
    QCOMPARE(m_ui->texts(Kind::Message), QStringList{RestoreFailed});
    QCOMPARE(snapshot(data()), before);
    QCOMPARE(m_window->closed, 1);
}

void TstBackupCommands::closeQueryOffersABackupAndNeverStopsTheClose_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("Ja and a directory make the backup") << true << u"Sicherung"_s
                                                         << QStringList{u"daten.zlb"_s, u"sikinfo.dat"_s};
    QTest::newRow("Ja, then cancel in the chooser") << true << QString() << QStringList();
    QTest::newRow("Nein") << false << QString() << QStringList();
}

void TstBackupCommands::closeQueryOffersABackupAndNeverStopsTheClose()
{
    QFETCH(bool, answer);
    QFETCH(QString, directory);
    QFETCH(QStringList, files);
    QDir().mkpath(target(u"Sicherung"_s));
    m_ui->confirmations << answer;
    if (answer)
        m_ui->directories << (directory.isEmpty() ? QString() : target(directory));
    m_commands->FormCloseQuery();

    QCOMPARE(m_ui->shown.constFirst().text, u"Wollen Sie vor dem Beenden noch eine Datenkopie als Sicherung anlegen?"_s);
    QVERIFY(m_ui->allAnswersTaken());
    QCOMPARE(tree(target(u"Sicherung"_s)), files);
    QCOMPARE(m_ui->texts(Kind::Error), QStringList());
    QCOMPARE(m_window->closed, 0);
}

QTEST_MAIN(TstBackupCommands)
#include "tst_backupcommands.moc"
