#include "BackupCommands.h"

#include "ApplicationContext.h"
#include "CodePage1252.h"
#include "CommandGuard.h"
#include "CommandRegistry.h"
#include "Errors.h"
#include "FileSync.h"
#include "MainWindowServices.h"
#include "TDataForm.h"
#include "UiServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScopeGuard>

#include <cstdio>
#include <exception>
#include <memory>

using namespace Qt::StringLiterals;

namespace kb {

namespace {

const QString BackupCommand = u"Datenkopieanlegen1Click"_s;
const QString RestoreCommand = u"Datenkopiezurckschreiben1Click"_s;
const QString CloseQuery = u"FormCloseQuery"_s;

QString withSlash(const QString &directory)
{
    return directory.endsWith(u'/') ? directory : directory + u'/';
}

// Puts the finished file in place of the previous one in one step, so that a backup that fails
// on the way never costs the user the backup they had.
void replaceFile(const QString &from, const QString &to)
{
    FileSync::sync(from);
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        QFile::remove(from);
        throw FileError::cannotCreate(to);
    }
    FileSync::sync(QFileInfo(to).absolutePath());
}

} // namespace

void BackupCommands::install(ApplicationContext &context)
{
    auto commands = std::make_shared<BackupCommands>(context.programDirectory, context.data, context.ui,
                                                     context.mainWindow);
    context.commands.install(BackupCommand, {u"ToolButton5"_s, u"Datenkopieanlegen1"_s},
                             [commands] { commands->Datenkopieanlegen1Click(); });
    context.commands.install(RestoreCommand, {u"Datenkopiezurckschreiben1"_s},
                             [commands] { commands->Datenkopiezurckschreiben1Click(); });
    context.commands.install(CloseQuery, {}, [commands] { commands->FormCloseQuery(); });
}

BackupCommands::BackupCommands(const QString &programDirectory, TDataForm &data, UiServices &ui,
                               MainWindowServices &mainWindow)
    : m_data(data), m_ui(ui), m_mainWindow(mainWindow), m_directories(programDirectory),
      m_restore(m_directories, ZLib)
{
    ZLib.OnErrorLogged = [this](const QString &message) { ZLibErrorLogged(message); };
    ZLib.OnProgress = [this](const QString &message, int percentage) { ZLibProgress(message, percentage); };
}

void BackupCommands::ZLibErrorLogged(const QString &Msg)
{
    m_ui.message(Msg);
}

void BackupCommands::ZLibProgress(const QString &, int Percentage)
{
    m_mainWindow.progress().setPosition(Percentage);
}

QString BackupCommands::chooseBackupDirectory()
{
    const QString directory = m_ui.chooseDirectory(u"Verzeichnis auswählen"_s, QDir::currentPath());
    if (directory.isEmpty() || !m_directories.isReserved(directory))
        return directory;
    m_ui.warning(u"Das Verzeichnis %1 liegt im Datenverzeichnis oder im Zwischenverzeichnis _Temp des Programms. "
                 u"Eine Datenkopie muss außerhalb dieser Verzeichnisse liegen."_s.arg(directory));
    return {};
}

void BackupCommands::withTablesClosed(const std::function<void()> &work)
{
    m_data.CloseTables();
    std::exception_ptr failure;
    try {
        work();
    } catch (...) {
        failure = std::current_exception();
    }
    auto resetProgress = qScopeGuard([this] { m_mainWindow.progress().reset(); });
    m_data.OpenTables();
    m_mainWindow.FormShow();
    if (failure)
        std::rethrow_exception(failure);
}

void BackupCommands::Datenkopieanlegen1Click()
{
    const QString directory = chooseBackupDirectory();
    if (directory.isEmpty())
        return;
    withTablesClosed([&] {
        m_directories.emptyStaging();
        CopyDirectory(m_directories.data(), m_directories.staging());
        QStringList list;
        ListFiles(m_directories.staging(), list);
        const qsizetype count = list.size();
        WriteBackup(list, directory);
        m_ui.informationWithYes(QString::number(count) + u" Dateien wurden in die komprimierte Datei DATEN.ZLB im Verzeichnis "_s
                                + directory + u" gesichert."_s);
    });
}

void BackupCommands::Datenkopiezurckschreiben1Click()
{
    const QString directory = chooseBackupDirectory();
    if (directory.isEmpty())
        return;
    m_data.CloseTables();
    // The program ends after a restore whatever happened, also when the tables cannot open again.
    auto end = qScopeGuard([this] {
        m_mainWindow.progress().reset();
        m_mainWindow.closeWithoutBackupQuestion();
    });
    try {
        if (ReadBackup(directory))
            m_restore.replaceData();
    } catch (const std::exception &) {
        m_ui.message(u"Ein Fehler ist beim Rücksichern aufgetreten"_s);
    }
    m_ui.information(u"Es wird empfohlen nach einer Rücksicherung das Programm neu zu starten."_s);
    m_data.OpenTables();
    m_mainWindow.FormShow();
}

void BackupCommands::FormCloseQuery()
{
    if (m_ui.confirm(u"Wollen Sie vor dem Beenden noch eine Datenkopie als Sicherung anlegen?"_s))
        CommandGuard::guard(m_ui, [this] { Datenkopieanlegen1Click(); });
}

bool BackupCommands::CopyDirectory(const QString &source, const QString &target)
{
    const QString from = withSlash(source);
    const QString to = withSlash(target);
    if (!QFileInfo(to).isDir() && !QDir().mkpath(to))
        m_ui.message(u"Verzeichnis kann nicht angelegt werden: "_s + to);
    if (!QFileInfo(to).isDir()) {
        m_ui.message(u"Das Zielverzeichnis existiert nicht: "_s + to);
        return false;
    }
    bool copied = true;
    QStringList names;
    ListFiles(from, names);
    for (const QString &path : names) {
        const QString name = path.mid(from.size());
        QFile::remove(to + name);
        if (!QFile::copy(from + name, to + name)) {
            copied = false;
            m_ui.message(u"Fehler beim Kopieren der Datei\n%1\nnach\n%2"_s.arg(from + name, to + name));
        }
    }
    return copied;
}

void BackupCommands::ListFiles(const QString &directory, QStringList &list)
{
    const QString dir = withSlash(directory);
    const QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : names)
        list << dir + name;
}

void BackupCommands::WriteBackup(QStringList &list, const QString &backupDirectory)
{
    const QString directory = withSlash(backupDirectory);
    const QString archive = directory + u"daten.zlb"_s;
    // Written beside the previous backup, which it replaces only when complete.
    const QString fresh = archive + u".neu"_s;
    QFile::remove(fresh);
    ZLib.CreateArchive(fresh);
    CodePage1252::writeLines(directory + u"sikinfo.dat"_s, list);
    m_mainWindow.progress().setMaximum(100);
    const bool written = ZLib.AddFiles(list);
    const QString why = ZLib.lastWriteError();
    ZLib.CloseArchive();
    if (!written) {
        QFile::remove(fresh);
        throw Error(u"Die Sicherungsdatei %1 konnte nicht geschrieben werden: %2"_s.arg(archive, why));
    }
    replaceFile(fresh, archive);
}

bool BackupCommands::ReadBackup(const QString &backupDirectory)
{
    const QString archive = withSlash(backupDirectory) + u"daten.zlb"_s;
    if (!QFileInfo::exists(archive)) {
        m_ui.message(u"Es wurde keine Sicherungsdatei gefunden."_s);
        return false;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    auto normalCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    m_mainWindow.progress().setMaximum(100);
    m_restore.extract(archive);
    return true;
}

} // namespace kb
