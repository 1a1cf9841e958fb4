#include "TZLBArchive.h"

#include "ArchiveError.h"
#include "DeflateWriter.h"
#include "InflateReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>

#include <filesystem>
#include <limits>
#include <optional>
#include <vector>

#include <sys/stat.h>
#include <zlib.h>

using namespace Qt::StringLiterals;

namespace kb {

namespace {

constexpr qint64 CrcChunkSize = 10240;
constexpr qint64 PieceSize = 4096;
constexpr qint64 CopyChunkSize = 64 * 1024;
// No deflate stream inflates to more than 1032 times its length.
constexpr qint64 MaxDeflateRatio = 1032;
// Sizes and offsets are signed 32-bit fields.
constexpr qint64 MaxOffset = std::numeric_limits<qint32>::max();

int zlibLevel(TFileCompressionLevel level)
{
    switch (level) {
    case TFileCompressionLevel::fcNone: return Z_NO_COMPRESSION;
    case TFileCompressionLevel::fcFastest: return Z_BEST_SPEED;
    case TFileCompressionLevel::fcDefault: return Z_DEFAULT_COMPRESSION;
    case TFileCompressionLevel::fcMaximum: return Z_BEST_COMPRESSION;
    }
    return Z_DEFAULT_COMPRESSION;
}

quint32 updateCrc(quint32 crc, const char *data, qint64 size)
{
    return quint32(crc32_z(crc, reinterpret_cast<const Bytef *>(data), size_t(size)));
}

int halfEvenPercentage(qint64 counter, qint64 total)
{
    if (total <= 0)
        return 0;
    qint64 percent = counter * 100 / total;
    const qint64 twiceRemainder = 2 * (counter * 100 % total);
    if (twiceRemainder > total || (twiceRemainder == total && percent % 2 == 1))
        ++percent;
    return int(percent);
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// The path up to and including its last separator; empty for a bare name.
QString directoryOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

bool sameIgnoringAsciiCase(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    const auto fold = [](QChar c) {
        return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + (u'a' - u'A')) : c;
    };
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (fold(a.at(i)) != fold(b.at(i)))
            return false;
    }
    return true;
}

// A member name from an archive is untrusted: it must name a file inside the target directory.
bool isSafeMemberName(const QString &name)
{
    return !name.isEmpty() && name != u"."_s && name != u".."_s && !name.contains(u'/')
        && !name.contains(u'\\') && !name.contains(QChar(0));
}

// A stored directory is appended to the destination, so it must not climb out of it or carry a
// drive. Both separators count, as archives come from either platform.
bool isSafeStoredDirectory(const QString &directory)
{
    if (directory.contains(QChar(0)))
        return false;
    const QString normal = QString(directory).replace(u'\\', u'/');
    if (normal.size() >= 2 && normal.at(1) == u':')
        return false;
    return !normal.split(u'/', Qt::SkipEmptyParts).contains(u".."_s);
}

bool copyBytes(QIODevice &from, QIODevice &to, qint64 count)
{
    std::vector<char> chunk(CopyChunkSize);
    while (count > 0) {
        const qint64 got = from.read(chunk.data(), std::min(count, CopyChunkSize));
        if (got <= 0 || to.write(chunk.data(), got) != got)
            return false;
        count -= got;
    }
    return true;
}

bool writeAll(QIODevice &to, const QByteArray &bytes)
{
    return to.write(bytes) == bytes.size();
}

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// An extraction target written through a buffer of 64 KiB. What was handed to it reaches the file
// also when the extraction ends early.
class TargetFile
{
public:
    explicit TargetFile(const QString &path) : m_file(path) { m_buffer.reserve(CopyChunkSize); }
    ~TargetFile() { flush(); }
    TargetFile(const TargetFile &) = delete;
    TargetFile &operator=(const TargetFile &) = delete;

    bool open() { return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered); }
    bool write(const char *data, qint64 size)
    {
        m_buffer.insert(m_buffer.end(), data, data + size);
        return qint64(m_buffer.size()) < CopyChunkSize || flush();
    }
    bool close()
    {
        const bool written = flush();
        m_file.close();
        return written && m_file.error() == QFileDevice::NoError;
    }

private:
    bool flush()
    {
        const qint64 size = qint64(m_buffer.size());
        const bool written = size == 0 || m_file.write(m_buffer.data(), size) == size;
        m_buffer.clear();
        return written;
    }

    QFile m_file;
    std::vector<char> m_buffer;
};

// The temporary file is private to its owner; the archive keeps the permissions of the one it
// replaces, and a new one gets those of any file created in its place.
void takeOverPermissions(const QString &temp, const QString &archive)
{
    if (QFileInfo::exists(archive)) {
        QFile::setPermissions(temp, QFile::permissions(archive));
        return;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    std::error_code ignored;
    std::filesystem::permissions(fsPath(temp), std::filesystem::perms(0666 & ~mask), ignored);
}

// Puts from in place of to; the old file at to stays untouched until the new one is complete.
void replaceFile(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(fsPath(from), fsPath(to), error);
    if (!error)
        return;
    // A rename cannot cross file systems: copy beside the target first.
    QTemporaryFile beside(QFileInfo(to).absolutePath() + u"/ZLBXXXXXX"_s);
    QFile source(from);
    if (!beside.open() || !source.open(QIODevice::ReadOnly) || !copyBytes(source, beside, source.size())
        || !beside.flush())
        throw FileError::cannotCreate(to);
    std::filesystem::rename(fsPath(beside.fileName()), fsPath(to), error);
    if (error)
        throw FileError::cannotCreate(to);
    beside.setAutoRemove(false);
    source.remove();
}

} // namespace

TZLBArchive::TZLBArchive() = default;

TZLBArchive::~TZLBArchive() = default;

void TZLBArchive::requireOpen() const
{
    if (m_archiveName.isEmpty())
        throw ArchiveError::noArchiveOpen();
}

void TZLBArchive::openForReading(QFile &archive) const
{
    if (!archive.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw ArchiveError::unableToOpen(archive.fileName());
}

void TZLBArchive::CreateArchive(const QString &fileName)
{
    CloseArchive();
    if (fileName.isEmpty())
        return;
    if (QFileInfo::exists(fileName))
        throw ArchiveError::fileAlreadyExists();
    m_archiveName = fileName;
    if (OnArchiveOpened)
        OnArchiveOpened();
    m_newArchive = true;
}

bool TZLBArchive::OpenArchive(const QString &fileName)
{
    CloseArchive();
    if (fileName.isEmpty())
        return false;
    if (!QFileInfo::exists(fileName))
        throw ArchiveError::archiveNotFound();
    QFile archive(fileName);
    openForReading(archive);
    const qint64 length = archive.size();
    // An empty file has an all-zero trailer, which matches the CRC of nothing.
    TZLBTrailer trailer;
    quint32 crc = 0;
    if (length > 0) {
        if (length < TZLBTrailer::Size)
            throw ArchiveError::corrupted();
        crc = StreamCRC(archive, TZLBTrailer::Size);
        const QByteArray bytes = archive.seek(length - TZLBTrailer::Size) ? archive.read(TZLBTrailer::Size)
                                                                          : QByteArray();
        if (bytes.size() != TZLBTrailer::Size)
            throw ArchiveError::corrupted();
        trailer = TZLBTrailer::fromBytes(bytes.constData());
    }
    if (trailer.crc != crc)
        throw ArchiveError::corrupted();
    std::optional<QList<TZLBEntry>> entries = readRegistry(archive, trailer, length);
    if (!entries) {
        CloseArchive();
        throw ArchiveError::unableToReadFileList();
    }
    m_entries = std::move(*entries);
    m_trailer = trailer;
    m_archiveName = fileName;
    if (OnArchiveOpened)
        OnArchiveOpened();
    archive.close();
    reportIdle();
    return true;
}

std::optional<QList<TZLBEntry>> TZLBArchive::readRegistry(QFile &archive, const TZLBTrailer &trailer,
                                                          qint64 length)
{
    if (trailer.entryCount == 0)
        return QList<TZLBEntry>();
    const qint64 registryEnd = length - TZLBTrailer::Size;
    if (trailer.entryCount < 0 || trailer.registryOffset < 0 || trailer.registryOffset > registryEnd
        || !archive.seek(trailer.registryOffset))
        return std::nullopt;
    const qint64 available = registryEnd - trailer.registryOffset;
    const qint64 size = qint64(trailer.entryCount) * TZLBEntry::RecordSize;
    QByteArray records;
    if (trailer.registryCompressed == 1 && size <= available * MaxDeflateRatio) {
        InflateReader inflater(archive);
        beginStep(u"Extracting archive registry"_s, size);
        char piece[PieceSize];
        while (records.size() < size) {
            const qint64 wanted = std::min(PieceSize, size - records.size());
            if (!inflater.readExactly(piece, wanted))
                return std::nullopt;
            records.append(piece, wanted);
            reportCounter(records.size());
        }
    } else if (trailer.registryCompressed == 0 && size <= available) {
        records = archive.read(size);
    }
    if (records.size() != size)
        return std::nullopt;
    QList<TZLBEntry> entries;
    entries.reserve(trailer.entryCount);
    for (qint64 offset = 0; offset < size; offset += TZLBEntry::RecordSize)
        entries.append(TZLBEntry::fromRecord(records.constData() + offset));
    return entries;
}

void TZLBArchive::CloseArchive()
{
    m_entries.clear();
    m_newArchive = false;
    m_trailer = TZLBTrailer();
    m_archiveName.clear();
    reportIdle();
}

bool TZLBArchive::AddFiles(QStringList &files)
{
    requireOpen();
    m_lastWriteError.clear();
    expandDirectories(files);
    const QList<TZLBEntry> entriesBefore = m_entries;
    try {
        writeArchive(files);
        return true;
    } catch (const Error &error) {
        // The archive file is as it was, so the entry list goes back to mirror it.
        if (!m_archiveName.isEmpty())
            m_entries = entriesBefore;
        m_lastWriteError = error.text();
        return false;
    }
}

void TZLBArchive::expandDirectories(QStringList &files)
{
    for (qsizetype i = 0; i < files.size();) {
        if (!QFileInfo(files.at(i)).isDir()) {
            ++i;
            continue;
        }
        const QString directory = files.takeAt(i);
        if (m_recursePaths)
            AddDirectory(directory, files);
    }
}

void TZLBArchive::writeArchive(QStringList &files)
{
    const QString tempName = MakeTempFileName();
    auto removeTemp = qScopeGuard([&] { QFile::remove(tempName); });
    QFile temp(tempName);
    if (!temp.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered))
        throw FileError::cannotCreate(tempName);
    if (!m_newArchive) {
        QFile archive(m_archiveName);
        openForReading(archive);
        if (!copyBytes(archive, temp, m_trailer.registryOffset))
            throw ArchiveError::unableToOpen(m_archiveName);
    }
    while (!files.isEmpty()) {
        addFile(temp, files.constFirst());
        files.removeFirst();
    }
    writeRegistryAndTrailer(temp);
    temp.close();
    if (temp.error() != QFileDevice::NoError)
        throw FileError::cannotCreate(tempName);
    takeOverPermissions(tempName, m_archiveName);
    replaceFile(tempName, m_archiveName);
    removeTemp.dismiss();
    const QString name = m_archiveName;
    CloseArchive();
    try {
        OpenArchive(name);
    } catch (const Error &) {
        QFile::remove(name);
        throw;
    }
}

void TZLBArchive::addFile(QFile &temp, const QString &path)
{
    if (OnErrorLogged && IndexOfFile(path) >= 0)
        OnErrorLogged(ArchiveError::alreadyInArchive(path).text());
    try {
        m_entries.append(compressFile(temp, path));
    } catch (const Error &) {
        logError(ArchiveError::unableToOpen(path).text());
    } catch (const std::bad_alloc &) {
        logError(ArchiveError::unableToOpen(path).text());
    }
}

TZLBEntry TZLBArchive::compressFile(QFile &temp, const QString &path)
{
    // A name that extraction would refuse is not added in the first place.
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !isSafeMemberName(info.fileName()) || !file.open(QIODevice::ReadOnly))
        throw ArchiveError::unableToOpen(path);
    const qint64 size = file.size();
    if (size > MaxOffset)
        throw ArchiveError::unableToOpen(path);
    const qint64 offset = temp.pos();
    try {
        return writeMember(temp, file, path, offset);
    } catch (...) {
        // A member left out leaves no bytes behind: the next one starts where this one would have.
        temp.resize(offset);
        temp.seek(offset);
        throw;
    }
}

TZLBEntry TZLBArchive::writeMember(QFile &temp, QFile &file, const QString &path, qint64 offset)
{
    // The stream goes straight into the archive, so memory stays the same whatever the file's size.
    const qint64 size = file.size();
    beginStep(u"Updating %1"_s.arg(path), size);
    DeflateWriter deflater(temp, zlibLevel(m_compressionLevel), [this](qint64 consumed) { reportCounter(consumed); });
    quint32 crc = 0;
    std::vector<char> chunk(CopyChunkSize);
    for (qint64 total = 0; total < size;) {
        const qint64 got = file.read(chunk.data(), std::min(CopyChunkSize, size - total));
        if (got <= 0 || !deflater.write(chunk.data(), got))
            throw ArchiveError::unableToOpen(path);
        crc = updateCrc(crc, chunk.data(), got);
        total += got;
    }
    if (!deflater.finish())
        throw ArchiveError::unableToOpen(path);

    TZLBEntry entry;
    entry.crc = crc;
    entry.fileName = TZLBEntry::recordForm(fileNameOf(path));
    entry.directory = m_savePaths ? TZLBEntry::recordForm(directoryOf(path)) : QString();
    entry.uncompressedSize = qint32(size);
    entry.dataOffset = qint32(offset);
    const qint64 compressedSize = temp.pos() - offset;
    entry.storedUnchanged = compressedSize >= size;
    entry.storedSize = qint32(entry.storedUnchanged ? size : compressedSize);
    if (offset + entry.storedSize > MaxOffset)
        throw ArchiveError::unableToOpen(path);
    if (entry.storedUnchanged) {
        // The stream is not shorter than the file: the file's own bytes take its place.
        if (!temp.resize(offset) || !temp.seek(offset) || !file.seek(0) || !copyBytes(file, temp, size))
            throw ArchiveError::unableToOpen(path);
    } else {
        entry.level = quint8(m_compressionLevel);
    }
    return entry;
}

void TZLBArchive::writeRegistryAndTrailer(QFile &temp)
{
    const qint64 registryOffset = temp.pos();
    if (registryOffset > MaxOffset)
        throw FileError::cannotCreate(temp.fileName());
    QByteArray records;
    records.reserve(m_entries.size() * TZLBEntry::RecordSize);
    for (const TZLBEntry &entry : std::as_const(m_entries))
        records += entry.toRecord();

    TZLBTrailer trailer;
    trailer.entryCount = qint32(m_entries.size());
    trailer.registryOffset = qint32(registryOffset);
    beginStep(u"Writing archive registry"_s, 0);
    DeflateWriter deflater(temp, zlibLevel(m_compressionLevel), [this](qint64) { reportCounter(0); });
    if (deflater.write(records.constData(), records.size()) && deflater.finish()) {
        trailer.registryLength = qint32(temp.pos() - registryOffset);
        trailer.registryCompressed = 1;
    } else if (!temp.resize(registryOffset) || !temp.seek(registryOffset) || !writeAll(temp, records)) {
        throw FileError::cannotCreate(temp.fileName());
    }
    trailer.crc = StreamCRC(temp, 0);
    if (!writeAll(temp, trailer.toBytes()))
        throw FileError::cannotCreate(temp.fileName());
}

void TZLBArchive::ExtractFiles(const QString &destination)
{
    forEachMember([&](QFile &archive, int index) { extractMember(archive, index, destination); });
}

void TZLBArchive::VerifyFiles()
{
    forEachMember([this](QFile &archive, int index) {
        const TZLBEntry entry = m_entries.at(index);
        checkMemberPath(entry, index);
        quint32 crc = 0;
        const bool read = readMember(archive, entry, [&](const char *data, qint64 size) {
            crc = updateCrc(crc, data, size);
        });
        if (!read || crc != entry.crc)
            throw ArchiveError::fileCorrupt(index);
    });
}

void TZLBArchive::forEachMember(const std::function<void(QFile &, int)> &work)
{
    requireOpen();
    QFile archive(m_archiveName);
    openForReading(archive);
    try {
        for (int index = 0; index < m_entries.size(); ++index)
            work(archive, index);
    } catch (...) {
        archive.close();
        reportIdle();
        throw;
    }
    archive.close();
    reportIdle();
}

void TZLBArchive::checkMemberPath(const TZLBEntry &entry, int index) const
{
    if (!isSafeMemberName(entry.fileName) || (m_extractWithPath && !isSafeStoredDirectory(entry.directory)))
        throw ArchiveError::fileCorrupt(index);
}

QString TZLBArchive::targetDirectory(const QString &destination, const TZLBEntry &entry) const
{
    QString directory = destination;
    // Joined with a separator: a stored directory without a leading one would otherwise extend
    // the destination's own name and land beside it.
    if (m_extractWithPath)
        directory += u'/' + QString(entry.directory).replace(u'\\', u'/');
    while (directory.contains(u"//"_s))
        directory.replace(u"//"_s, u"/"_s);
    if (directory.size() > 1 && directory.endsWith(u'/'))
        directory.chop(1);
    return directory;
}

void TZLBArchive::extractMember(QFile &archive, int index, const QString &destination)
{
    const TZLBEntry entry = m_entries.at(index);
    checkMemberPath(entry, index);
    // An empty destination would put stored directories at the root of the file system.
    if (destination.isEmpty())
        throw FileError(u"Das Verzeichnis kann nicht erstellt werden"_s);
    const QString directory = targetDirectory(destination, entry);
    QDir().mkpath(directory);
    if (!QFileInfo(directory).isDir())
        throw ArchiveError::unableToCreateDestination();

    const QString target = directory + u'/' + entry.fileName;
    if (OnReplaceFile && QFileInfo::exists(target)) {
        bool replace = false;
        OnReplaceFile(target, replace);
        if (!replace)
            return;
    }
    TargetFile out(target);
    if (!out.open())
        throw FileError::cannotCreate(target);
    quint32 crc = 0;
    const bool read = readMember(archive, entry, [&](const char *data, qint64 size) {
        if (m_checkCRC)
            crc = updateCrc(crc, data, size);
        if (!out.write(data, size))
            throw FileError::cannotCreate(target);
    });
    if (!read || (m_checkCRC && crc != entry.crc))
        throw ArchiveError::fileCorrupt(index);
    if (!out.close())
        throw FileError::cannotCreate(target);
    if (OnFileExtracted)
        OnFileExtracted(target);
}

bool TZLBArchive::readMember(QFile &archive, const TZLBEntry &entry,
                             const std::function<void(const char *, qint64)> &consume)
{
    if (entry.uncompressedSize < 0 || entry.dataOffset < 0 || !archive.seek(entry.dataOffset))
        return false;
    std::optional<InflateReader> inflater;
    if (!entry.storedUnchanged)
        inflater.emplace(archive);
    beginStep(u"Extracting %1"_s.arg(entry.fileName), entry.uncompressedSize);
    char piece[PieceSize];
    for (qint64 done = 0; done < entry.uncompressedSize;) {
        const qint64 wanted = std::min(PieceSize, entry.uncompressedSize - done);
        const bool read = inflater ? inflater->readExactly(piece, wanted) : archive.read(piece, wanted) == wanted;
        if (!read)
            return false;
        consume(piece, wanted);
        done += wanted;
        reportCounter(done);
    }
    return true;
}

int TZLBArchive::FileCount() const
{
    requireOpen();
    return int(m_entries.size());
}

TZLBEntry TZLBArchive::GetFileEntry(int index) const
{
    if (index < 0 || index >= m_entries.size())
        throw ArchiveError::indexOutOfBounds();
    return m_entries.at(index);
}

QString TZLBArchive::lookupKey(const QString &filePath) const
{
    const QString directory = m_savePaths ? TZLBEntry::recordForm(directoryOf(filePath)) : QString();
    return directory + TZLBEntry::recordForm(fileNameOf(filePath));
}

int TZLBArchive::IndexOfFile(const QString &filePath) const
{
    requireOpen();
    const QString key = lookupKey(filePath);
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (sameIgnoringAsciiCase(m_entries.at(i).directory + m_entries.at(i).fileName, key))
            return int(i);
    }
    return -1;
}

quint32 TZLBArchive::StreamCRC(QIODevice &stream, qint64 leaveOut) const
{
    const qint64 position = stream.pos();
    stream.seek(0);
    quint32 crc = 0;
    std::vector<char> chunk(CrcChunkSize);
    for (qint64 count = stream.size() - leaveOut; count > 0;) {
        const qint64 wanted = std::min(count, CrcChunkSize);
        const qint64 got = stream.read(chunk.data(), wanted);
        if (got > 0)
            crc = updateCrc(crc, chunk.data(), got);
        count -= wanted;
    }
    stream.seek(position);
    return crc;
}

QString TZLBArchive::MakeTempFileName()
{
    QTemporaryFile file(QDir::tempPath() + u"/ZLBXXXXXX"_s);
    file.setAutoRemove(false);
    if (!file.open())
        throw FileError::cannotCreate(file.fileTemplate());
    return file.fileName();
}

void TZLBArchive::AddDirectory(const QString &directory, QStringList &list)
{
    QString base = directory;
    if (base.size() > 1 && base.endsWith(u'/'))
        base.chop(1);
    QStringList local;
    const QFileInfoList entries = QDir(base).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo &entry : entries) {
        const QString path = base + u'/' + entry.fileName();
        if (!entry.isDir()) {
            local << path;
            continue;
        }
        // A linked directory may lead back into the walk, so it is left out.
        if (entry.isSymLink())
            continue;
        // A walked directory is not listed as well, or AddFiles would walk it a second time.
        if (m_recursePaths)
            AddDirectory(path, list);
        else if (m_savePaths)
            local << path;
    }
    list << local;
}

void TZLBArchive::logError(const QString &message) const
{
    if (OnErrorLogged)
        OnErrorLogged(message);
}

void TZLBArchive::beginStep(const QString &message, qint64 total)
{
    m_progressMessage = message;
    m_progressTotal = total;
    m_progressCounter = 0;
}

void TZLBArchive::reportCounter(qint64 counter)
{
    m_progressCounter = counter;
    if (OnProgress)
        OnProgress(m_progressMessage, halfEvenPercentage(counter, m_progressTotal));
}

void TZLBArchive::reportIdle()
{
    if (OnProgress)
        OnProgress(m_archiveName, 0);
}

} // namespace kb
