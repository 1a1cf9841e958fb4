#include "TZLBTrailer.h"

#include <QtEndian>

namespace kb {

namespace {
// Always 1 in the files written; readers ignore it.
constexpr qint32 TrailerMarker = 1;
}

QByteArray TZLBTrailer::toBytes() const
{
    QByteArray bytes(Size, '\0');
    char *data = bytes.data();
    qToLittleEndian<quint32>(crc, data);
    qToLittleEndian<qint32>(entryCount, data + 4);
    qToLittleEndian<qint32>(TrailerMarker, data + 8);
    qToLittleEndian<qint32>(registryLength, data + 12);
    qToLittleEndian<qint32>(registryOffset, data + 16);
    data[20] = char(registryCompressed);
    return bytes;
}

TZLBTrailer TZLBTrailer::fromBytes(const char *data)
{
    TZLBTrailer trailer;
    trailer.crc = qFromLittleEndian<quint32>(data);
    trailer.entryCount = qFromLittleEndian<qint32>(data + 4);
    trailer.registryLength = qFromLittleEndian<qint32>(data + 12);
    trailer.registryOffset = qFromLittleEndian<qint32>(data + 16);
    trailer.registryCompressed = quint8(data[20]);
    return trailer;
}

} // namespace kb
