#include "DataRestore.h"

#include "DataDirectoryReplacement.h"
#include "StagedDatabaseCheck.h"
#include "TZLBArchive.h"

namespace kb {

DataRestore::DataRestore(const BackupDirectories &directories, TZLBArchive &archive)
    : m_directories(directories), m_archive(archive)
{
    // The trailer's checksum already covers every byte; checking each member as well costs
    // little and catches a member written wrong in the first place.
    m_archive.setCheckCRC(true);
}

void DataRestore::extract(const QString &archivePath)
{
    m_directories.emptyStaging();
    m_archive.OpenArchive(archivePath);
    m_archive.ExtractFiles(m_directories.staging());
    m_archive.CloseArchive();
}

void DataRestore::replaceData()
{
    StagedDatabaseCheck::check(m_directories.staging());
    DataDirectoryReplacement::replace(m_directories.data(), m_directories.staging(), m_directories.replacement());
}

} // namespace kb
