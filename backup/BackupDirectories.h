#pragma once

#include <QString>

namespace kb {

// The directories beside the program that backup and restore work in: Data/ with the tables and
// report templates, the staging directory _Temp/ the files pass through, and the directory a
// restore builds the new Data/ in.
class BackupDirectories
{
public:
    explicit BackupDirectories(const QString &programDirectory);

    QString data() const;
    QString staging() const;
    QString replacement() const;

    // Whether a chosen backup directory lies in Data/ or _Temp/ (or is one of them): a backup
    // there would archive itself or be wiped with the staging directory.
    bool isReserved(const QString &directory) const;
    // Removes everything inside the staging directory, creating it when missing, so that no file
    // of an earlier run reaches an archive or Data/. Throws FileError.
    void emptyStaging() const;

private:
    QString m_programDirectory;
};

} // namespace kb
