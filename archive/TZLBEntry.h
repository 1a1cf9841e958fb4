#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace kb {

// The compression levels of the format; the ordinal is what an entry records.
enum class TFileCompressionLevel : quint8 { fcNone, fcFastest, fcDefault, fcMaximum };

// One member of an archive as its 532-byte registry record describes it. Names are held decoded
// from code page 1252; the record keeps at most 255 characters of each.
struct TZLBEntry
{
    static constexpr int RecordSize = 532;
    static constexpr int MaxNameLength = 255;

    QString fileName;
    QString directory;             // with trailing separator, empty unless paths were saved
    qint32 uncompressedSize = 0;
    qint32 storedSize = 0;
    qint32 dataOffset = 0;
    quint32 crc = 0;
    bool storedUnchanged = false;  // data block is the file content itself, not a zlib stream
    quint8 level = 0;              // ordinal of TFileCompressionLevel; 0 when stored unchanged

    QByteArray toRecord() const;
    // data must hold RecordSize bytes.
    static TZLBEntry fromRecord(const char *data);
    // The form a name takes in a record: code page 1252 (unmappable characters become '?'),
    // cut to MaxNameLength.
    static QString recordForm(const QString &name);
};

} // namespace kb
