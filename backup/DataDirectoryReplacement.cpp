#include "DataDirectoryReplacement.h"

#include "Errors.h"
#include "FileSync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

namespace kb {

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

QFileInfoList entriesOf(const QString &directory)
{
    return QDir(directory).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                         QDir::Name);
}

void makeDirectory(const QString &path)
{
    if (!QDir().mkdir(path))
        throw FileError::cannotCreate(path);
}

void sync(const QString &path)
{
    if (!FileSync::sync(path))
        throw FileError::cannotCreate(path);
}

void copySymLink(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::copy_symlink(std::filesystem::path(native(from).toStdString()),
                                  std::filesystem::path(native(to).toStdString()), error);
    if (error)
        throw FileError::cannotCreate(to);
}

// A second name for a file that stays: nothing is copied, and the original is never written.
void linkOrCopy(const QString &from, const QString &to)
{
    if (::link(native(from).constData(), native(to).constData()) == 0)
        return;
    if (!QFile::copy(from, to))
        throw FileError::cannotCreate(to);
    sync(to);
}

void linkEntry(const QFileInfo &entry, const QString &target);

// Subdirectories of the data directory are not part of a backup, but the new data directory
// keeps them.
void linkTree(const QString &from, const QString &to)
{
    makeDirectory(to);
    for (const QFileInfo &entry : entriesOf(from))
        linkEntry(entry, QDir(to).filePath(entry.fileName()));
    sync(to);
}

void linkEntry(const QFileInfo &entry, const QString &target)
{
    if (entry.isSymLink())
        copySymLink(entry.filePath(), target);
    else if (entry.isDir())
        linkTree(entry.filePath(), target);
    else
        linkOrCopy(entry.filePath(), target);
}

void moveStaged(const QString &from, const QString &to)
{
    if (::rename(native(from).constData(), native(to).constData()) != 0) {
        if (!QFile::copy(from, to))
            throw FileError::cannotCreate(to);
        QFile::remove(from);
    }
    sync(to);
}

// Builds in work what the data directory holds after the restore.
void build(const QString &dataDirectory, const QString &stagingDirectory, const QString &work)
{
    makeDirectory(work);
    QSet<QString> staged;
    const QFileInfoList stagedFiles = entriesOf(stagingDirectory);
    for (const QFileInfo &file : stagedFiles)
        staged.insert(file.fileName());
    for (const QFileInfo &entry : entriesOf(dataDirectory)) {
        // A staged file replaces a file only, never a directory of the same name.
        if (!staged.contains(entry.fileName()))
            linkEntry(entry, QDir(work).filePath(entry.fileName()));
        else if (!entry.isFile() || entry.isSymLink())
            throw FileError::cannotCreate(entry.filePath());
    }
    for (const QFileInfo &file : stagedFiles) {
        if (!file.isFile() || file.isSymLink())
            throw FileError::cannotCreate(file.filePath());
        moveStaged(file.filePath(), QDir(work).filePath(file.fileName()));
    }
    sync(work);
}

// Makes each name point to the other's directory at once. Where the file system cannot exchange,
// two renames do it, and the first is taken back when the second fails.
void exchange(const QString &dataDirectory, const QString &work)
{
    if (::renameat2(AT_FDCWD, native(work).constData(), AT_FDCWD, native(dataDirectory).constData(),
                    RENAME_EXCHANGE) == 0)
        return;
    if (errno != EINVAL && errno != ENOSYS)
        throw FileError::cannotCreate(dataDirectory);
    const QString old = work + QStringLiteral(".alt");
    QDir(old).removeRecursively();
    if (!QDir().rename(dataDirectory, old))
        throw FileError::cannotCreate(dataDirectory);
    if (!QDir().rename(work, dataDirectory)) {
        QDir().rename(old, dataDirectory);
        throw FileError::cannotCreate(dataDirectory);
    }
    QDir().rename(old, work);
}

} // namespace

void DataDirectoryReplacement::replace(const QString &dataDirectory, const QString &stagingDirectory,
                                       const QString &workDirectory)
{
    if (!QFileInfo(dataDirectory).isDir())
        throw FileError::cannotOpen(dataDirectory);
    QDir(workDirectory).removeRecursively();
    try {
        build(dataDirectory, stagingDirectory, workDirectory);
        exchange(dataDirectory, workDirectory);
    } catch (...) {
        QDir(workDirectory).removeRecursively();
        throw;
    }
    FileSync::sync(QFileInfo(dataDirectory).absolutePath());
    // The work directory now holds the replaced files; a failure to remove them harms nothing,
    // the next restore removes them first.
    QDir(workDirectory).removeRecursively();
}

} // namespace kb
