#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace kb {

// The 36 bytes that end every non-empty archive file.
struct TZLBTrailer
{
    static constexpr int Size = 36;

    quint32 crc = 0;              // of every byte before the trailer
    qint32 entryCount = 0;
    qint32 registryLength = 0;    // 0 when the registry is stored uncompressed
    qint32 registryOffset = 0;    // equals the length of the data area
    quint8 registryCompressed = 0;

    QByteArray toBytes() const;
    // data must hold Size bytes.
    static TZLBTrailer fromBytes(const char *data);
};

} // namespace kb
