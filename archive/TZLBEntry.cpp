#include "TZLBEntry.h"

#include "CodePage1252.h"

#include <QtEndian>

#include <algorithm>

namespace kb {

namespace {

constexpr int DirectoryOffset = 256;
constexpr int SizesOffset = 512;

QByteArray recordBytes(const QString &name)
{
    return CodePage1252::encode(name).left(TZLBEntry::MaxNameLength);
}

// A name field: the length byte, the characters, zeros up to its 256 bytes.
void writeName(char *field, const QString &name)
{
    const QByteArray bytes = recordBytes(name);
    field[0] = char(bytes.size());
    std::copy(bytes.begin(), bytes.end(), field + 1);
}

QString readName(const char *field)
{
    return CodePage1252::decode(QByteArrayView(field + 1, uchar(field[0])));
}

} // namespace

QString TZLBEntry::recordForm(const QString &name)
{
    return CodePage1252::decode(recordBytes(name));
}

QByteArray TZLBEntry::toRecord() const
{
    QByteArray record(RecordSize, '\0');
    char *data = record.data();
    writeName(data, fileName);
    writeName(data + DirectoryOffset, directory);
    qToLittleEndian<qint32>(uncompressedSize, data + SizesOffset);
    qToLittleEndian<qint32>(storedSize, data + SizesOffset + 4);
    qToLittleEndian<qint32>(dataOffset, data + SizesOffset + 8);
    qToLittleEndian<quint32>(crc, data + SizesOffset + 12);
    data[SizesOffset + 16] = storedUnchanged ? 1 : 0;
    data[SizesOffset + 17] = char(level);
    return record;
}

TZLBEntry TZLBEntry::fromRecord(const char *data)
{
    TZLBEntry entry;
    entry.fileName = readName(data);
    entry.directory = readName(data + DirectoryOffset);
    entry.uncompressedSize = qFromLittleEndian<qint32>(data + SizesOffset);
    entry.storedSize = qFromLittleEndian<qint32>(data + SizesOffset + 4);
    entry.dataOffset = qFromLittleEndian<qint32>(data + SizesOffset + 8);
    entry.crc = qFromLittleEndian<quint32>(data + SizesOffset + 12);
    entry.storedUnchanged = data[SizesOffset + 16] == 1;
    entry.level = quint8(data[SizesOffset + 17]);
    return entry;
}

} // namespace kb
