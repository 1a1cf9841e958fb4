#pragma once

#include "Errors.h"

namespace kb {

// A failure of the archive component. Its texts are English, as every program reading and writing
// the same archive format reports them.
class ArchiveError : public Error
{
public:
    using Error::Error;
    static ArchiveError noArchiveOpen();
    static ArchiveError fileAlreadyExists();
    static ArchiveError archiveNotFound();
    static ArchiveError unableToOpen(const QString &path);
    static ArchiveError corrupted();
    static ArchiveError unableToReadFileList();
    static ArchiveError alreadyInArchive(const QString &path);
    static ArchiveError indexOutOfBounds();
    static ArchiveError unableToCreateDestination();
    static ArchiveError fileCorrupt(int index);
};

} // namespace kb
