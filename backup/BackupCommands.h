#pragma once

#include "BackupDirectories.h"
#include "DataRestore.h"
#include "TZLBArchive.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kb {

struct ApplicationContext;
class MainWindowServices;
class TDataForm;
class UiServices;

// Backup of the data directory into the archive daten.zlb in a directory the user chooses,
// restore from there, and the backup question when the program closes. Both commands close the
// tables while they work and pass the files through the staging directory _Temp.
class BackupCommands
{
public:
    // Installs Datenkopieanlegen1Click, Datenkopiezurckschreiben1Click and FormCloseQuery.
    static void install(ApplicationContext &context);

    BackupCommands(const QString &programDirectory, TDataForm &data, UiServices &ui, MainWindowServices &mainWindow);
    BackupCommands(const BackupCommands &) = delete;
    BackupCommands &operator=(const BackupCommands &) = delete;

    // Copies the data directory's files into the chosen directory's daten.zlb. A backup that
    // could not be written throws, and the previous daten.zlb stays as it was.
    void Datenkopieanlegen1Click();
    // Puts the files of the chosen directory's daten.zlb in place of those in the data directory,
    // all or nothing and only when the archive is whole and its database sound; then the program
    // ends.
    void Datenkopiezurckschreiben1Click();
    // Offers a backup before the program closes; closing goes on whatever happens.
    void FormCloseQuery();

    // Copies every file directly in source into target, which is created when missing; a file
    // that cannot be copied is reported and left out. True when every file was copied.
    bool CopyDirectory(const QString &source, const QString &target);
    // Appends the full path of every file directly in the directory, in name order.
    static void ListFiles(const QString &directory, QStringList &list);
    // Writes sikinfo.dat and daten.zlb into the backup directory; the list is emptied.
    void WriteBackup(QStringList &list, const QString &backupDirectory);
    // Extracts the backup directory's daten.zlb into the emptied staging directory, checking every
    // member. False when there is no daten.zlb; the archive's failures pass on.
    bool ReadBackup(const QString &backupDirectory);

    void ZLibErrorLogged(const QString &Msg);
    void ZLibProgress(const QString &Msg, int Percentage);

    TZLBArchive ZLib;

private:
    // Empty when the user cancelled or chose a directory that cannot take a backup.
    QString chooseBackupDirectory();
    // Runs work with every table closed; afterwards the tables open again and the window shows
    // the remembered company, whether work succeeded or not.
    void withTablesClosed(const std::function<void()> &work);

    TDataForm &m_data;
    UiServices &m_ui;
    MainWindowServices &m_mainWindow;
    BackupDirectories m_directories;
    DataRestore m_restore;
};

} // namespace kb
