#pragma once

#include "TZLBEntry.h"
#include "TZLBTrailer.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QFile;
class QIODevice;

namespace kb {

// Packs whole files into one compressed archive file and unpacks them again: the members' data
// blocks, the registry of their entries as one zlib stream, and a trailer with the CRC-32 of
// everything before it. The registry is held in memory while an archive is open; no file is kept
// open between operations. Failures raise ArchiveError, except inside AddFiles.
class TZLBArchive
{
public:
    using TReplaceFileEvent = std::function<void(const QString &fileName, bool &replace)>;
    using TFileExtractedEvent = std::function<void(const QString &fileName)>;
    using TNotifyEvent = std::function<void()>;
    using TErrorLogEvent = std::function<void(const QString &message)>;
    using TProgressEvent = std::function<void(const QString &message, int percentage)>;

    TZLBArchive();
    virtual ~TZLBArchive();
    TZLBArchive(const TZLBArchive &) = delete;
    TZLBArchive &operator=(const TZLBArchive &) = delete;

    TFileCompressionLevel compressionLevel() const { return m_compressionLevel; }
    void setCompressionLevel(TFileCompressionLevel level) { m_compressionLevel = level; }
    // Extraction appends each member's stored directory to the destination.
    bool extractWithPath() const { return m_extractWithPath; }
    void setExtractWithPath(bool on) { m_extractWithPath = on; }
    // Extraction compares each extracted file's CRC-32 with its entry.
    bool checkCRC() const { return m_checkCRC; }
    void setCheckCRC(bool on) { m_checkCRC = on; }
    // Adding stores each file's directory, and the lookup of existing members includes it.
    bool savePaths() const { return m_savePaths; }
    void setSavePaths(bool on) { m_savePaths = on; }
    // Adding expands directories in the file list into their files, walking subdirectories.
    bool recursePaths() const { return m_recursePaths; }
    void setRecursePaths(bool on) { m_recursePaths = on; }

    TReplaceFileEvent OnReplaceFile;     // asked before extraction overwrites an existing file
    TFileExtractedEvent OnFileExtracted; // the path of each file written by extraction
    TNotifyEvent OnArchiveOpened;
    TErrorLogEvent OnErrorLogged;        // a file AddFiles left out, or a duplicate it added
    TProgressEvent OnProgress;

    // Starts a new, empty archive under that name; nothing is written until AddFiles.
    void CreateArchive(const QString &fileName);
    // Checks the trailer CRC and loads the registry; false for an empty name.
    bool OpenArchive(const QString &fileName);
    void CloseArchive();
    // Appends every listed file (the list is emptied), then rewrites registry and trailer and
    // re-opens the archive. A file that cannot be added goes to OnErrorLogged; a failure to write
    // the archive as a whole raises nothing but yields false, leaving the archive file as it was
    // and lastWriteError() saying why.
    bool AddFiles(QStringList &files);
    // Writes every member into the destination; the first failure ends it.
    void ExtractFiles(const QString &destination);
    // Reads every member as extraction would and checks its CRC-32, writing nothing.
    void VerifyFiles();
    int FileCount() const;
    TZLBEntry GetFileEntry(int index) const;
    // The first member with the file's name (and directory, with paths saved), or -1; the letters
    // A to Z match either case.
    int IndexOfFile(const QString &filePath) const;
    // The CRC-32 of the stream's bytes except the last leaveOut; the position is kept.
    quint32 StreamCRC(QIODevice &stream, qint64 leaveOut) const;

    QString archiveName() const { return m_archiveName; }
    QString lastWriteError() const { return m_lastWriteError; }

    // A new, empty file with the prefix ZLB in the platform's directory for temporary files.
    virtual QString MakeTempFileName();
    // Appends the directory's files to the list (subdirectories' first, when paths are recursed).
    virtual void AddDirectory(const QString &directory, QStringList &list);

private:
    void requireOpen() const;
    void openForReading(QFile &archive) const;
    std::optional<QList<TZLBEntry>> readRegistry(QFile &archive, const TZLBTrailer &trailer, qint64 length);
    void expandDirectories(QStringList &files);
    QString lookupKey(const QString &filePath) const;
    void writeArchive(QStringList &files);
    void addFile(QFile &temp, const QString &path);
    TZLBEntry compressFile(QFile &temp, const QString &path);
    TZLBEntry writeMember(QFile &temp, QFile &file, const QString &path, qint64 offset);
    void writeRegistryAndTrailer(QFile &temp);
    void forEachMember(const std::function<void(QFile &, int)> &work);
    void checkMemberPath(const TZLBEntry &entry, int index) const;
    // Hands the member's content to consume in pieces of 4096 bytes; false when it is broken.
    bool readMember(QFile &archive, const TZLBEntry &entry,
                    const std::function<void(const char *, qint64)> &consume);
    QString targetDirectory(const QString &destination, const TZLBEntry &entry) const;
    void extractMember(QFile &archive, int index, const QString &destination);
    void logError(const QString &message) const;
    void beginStep(const QString &message, qint64 total);
    void reportCounter(qint64 counter);
    void reportIdle();

    TFileCompressionLevel m_compressionLevel = TFileCompressionLevel::fcDefault;
    bool m_extractWithPath = false;
    bool m_checkCRC = false;
    bool m_savePaths = false;
    bool m_recursePaths = false;

    QString m_archiveName;
    bool m_newArchive = false;
    QList<TZLBEntry> m_entries;
    TZLBTrailer m_trailer;
    QString m_lastWriteError;
    QString m_progressMessage;
    qint64 m_progressTotal = 0;
    qint64 m_progressCounter = 0;
};

} // namespace kb
