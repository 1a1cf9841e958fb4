#include "BackupDirectories.h"

#include "DataDirectorySetup.h"
#include "Errors.h"

#include <QDir>
#include <QFileInfo>

namespace kb {

namespace {

// The path with symbolic links resolved as far as it exists, so that two spellings of one
// directory compare equal.
QString resolved(const QString &path)
{
    QFileInfo info(QDir::cleanPath(QDir(path).absolutePath()));
    QString missing;
    while (!info.exists() && !info.isRoot()) {
        missing = QDir(info.fileName()).filePath(missing);
        info = QFileInfo(info.absolutePath());
    }
    return QDir::cleanPath(QDir(info.canonicalFilePath()).filePath(missing));
}

bool isWithin(const QString &path, const QString &directory)
{
    return path == directory || path.startsWith(directory + QLatin1Char('/'));
}

} // namespace

BackupDirectories::BackupDirectories(const QString &programDirectory)
    : m_programDirectory(programDirectory)
{
}

QString BackupDirectories::data() const
{
    return DataDirectorySetup::dataDirectory(m_programDirectory);
}

QString BackupDirectories::staging() const
{
    return QDir(m_programDirectory).filePath(QStringLiteral("_Temp"));
}

QString BackupDirectories::replacement() const
{
    return QDir(m_programDirectory).filePath(QStringLiteral("_Ruecksicherung"));
}

bool BackupDirectories::isReserved(const QString &directory) const
{
    const QString chosen = resolved(directory);
    return isWithin(chosen, resolved(data())) || isWithin(chosen, resolved(staging()));
}

void BackupDirectories::emptyStaging() const
{
    const QDir dir(staging());
    if (!QDir().mkpath(dir.path()))
        throw FileError::cannotCreate(dir.path());
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const bool removed = entry.isDir() && !entry.isSymLink() ? QDir(entry.filePath()).removeRecursively()
                                                                  : QFile::remove(entry.filePath());
        if (!removed)
            throw FileError(QStringLiteral("Die Datei %1 kann nicht gelöscht werden").arg(entry.filePath()));
    }
}

} // namespace kb
