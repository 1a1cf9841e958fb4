#pragma once

#include "TZLBEntry.h"
#include "TZLBTrailer.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtEndian>

#include <utility>

#include <zlib.h>

// Raw archive bytes for cases no writer of ours produces: foreign or hostile names, uncompressed
// registries, broken data.
namespace ArchiveBytes {

struct Member
{
    QString name;
    QString directory;
    QByteArray content;
    bool compressed = true;
};

inline QByteArray zlibStream(const QByteArray &data)
{
    uLongf length = compressBound(uLong(data.size()));
    QByteArray stream(qsizetype(length), '\0');
    compress2(reinterpret_cast<Bytef *>(stream.data()), &length,
              reinterpret_cast<const Bytef *>(data.constData()), uLong(data.size()), Z_DEFAULT_COMPRESSION);
    stream.resize(qsizetype(length));
    return stream;
}

inline quint32 crcOf(const QByteArray &data)
{
    return quint32(crc32(0, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
}

// Recomputes the trailer CRC so that a change before the trailer gets past the archive check.
inline void refreshTrailerCrc(QByteArray &archive)
{
    const qsizetype body = archive.size() - kb::TZLBTrailer::Size;
    qToLittleEndian<quint32>(crcOf(archive.left(body)), archive.data() + body);
}

// An archive file of the given data area and registry records.
inline QByteArray assemble(const QByteArray &area, const QByteArray &records, bool compressedRegistry = true)
{
    kb::TZLBTrailer trailer;
    trailer.entryCount = qint32(records.size() / kb::TZLBEntry::RecordSize);
    trailer.registryOffset = qint32(area.size());
    trailer.registryCompressed = compressedRegistry ? 1 : 0;
    const QByteArray registry = compressedRegistry ? zlibStream(records) : records;
    trailer.registryLength = compressedRegistry ? qint32(registry.size()) : 0;
    QByteArray archive = area + registry + trailer.toBytes();
    refreshTrailerCrc(archive);
    return archive;
}

// The data area and the registry records of the members, back to back.
inline std::pair<QByteArray, QByteArray> layOut(const QList<Member> &members)
{
    QByteArray area;
    QByteArray records;
    for (const Member &member : members) {
        kb::TZLBEntry entry;
        entry.fileName = member.name;
        entry.directory = member.directory;
        entry.uncompressedSize = qint32(member.content.size());
        entry.crc = crcOf(member.content);
        entry.storedUnchanged = !member.compressed;
        entry.level = member.compressed ? quint8(kb::TFileCompressionLevel::fcDefault) : 0;
        const QByteArray block = member.compressed ? zlibStream(member.content) : member.content;
        entry.storedSize = qint32(block.size());
        entry.dataOffset = qint32(area.size());
        area += block;
        records += entry.toRecord();
    }
    return {area, records};
}

inline QByteArray build(const QList<Member> &members, bool compressedRegistry = true)
{
    const auto [area, records] = layOut(members);
    return assemble(area, records, compressedRegistry);
}

} // namespace ArchiveBytes
