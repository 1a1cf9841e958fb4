#include "ArchiveError.h"

namespace kb {

ArchiveError ArchiveError::noArchiveOpen()
{
    return ArchiveError(QStringLiteral("No archive is currently open"));
}

ArchiveError ArchiveError::fileAlreadyExists()
{
    return ArchiveError(QStringLiteral("File already exists"));
}

ArchiveError ArchiveError::archiveNotFound()
{
    return ArchiveError(QStringLiteral("Archive file not found"));
}

ArchiveError ArchiveError::unableToOpen(const QString &path)
{
    return ArchiveError(QStringLiteral("Unable to open file (%1)").arg(path));
}

ArchiveError ArchiveError::corrupted()
{
    return ArchiveError(QStringLiteral("The archive file appears to be corrupted"));
}

ArchiveError ArchiveError::unableToReadFileList()
{
    return ArchiveError(QStringLiteral("Unable to read archive file list"));
}

ArchiveError ArchiveError::alreadyInArchive(const QString &path)
{
    return ArchiveError(QStringLiteral("%1 already exists in the archive").arg(path));
}

ArchiveError ArchiveError::indexOutOfBounds()
{
    return ArchiveError(QStringLiteral("Index out of bounds"));
}

ArchiveError ArchiveError::unableToCreateDestination()
{
    return ArchiveError(QStringLiteral("Unable to create destination path"));
}

ArchiveError ArchiveError::fileCorrupt(int index)
{
    return ArchiveError(QStringLiteral("File (%1) is corrupt").arg(index));
}

} // namespace kb
