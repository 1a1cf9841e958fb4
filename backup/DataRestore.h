#pragma once

#include "BackupDirectories.h"

#include <QString>

namespace kb {

class TZLBArchive;

// The steps of a restore that touch files, in the order they run: the archive's members into the
// emptied staging directory, then, only when they are all whole and the database among them is
// sound, in place of the data directory's files of the same name.
class DataRestore
{
public:
    // The archive's events stay as the caller set them; member checksums are checked.
    DataRestore(const BackupDirectories &directories, TZLBArchive &archive);

    // Throws the archive's error when the archive or a member is broken; the data directory is
    // not touched.
    void extract(const QString &archivePath);
    // Throws Error when the staged database is unsound or a file cannot be put in place; the data
    // directory then holds what it held before, otherwise exactly the staged files in place of
    // its own. The staging directory is empty afterwards.
    void replaceData();

private:
    const BackupDirectories &m_directories;
    TZLBArchive &m_archive;
};

} // namespace kb
