#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kb {

// The 8-bit Windows-1252 code page of the files the system shares with other programs
// (currency.cfg, program.cfg, sikinfo.dat, exports). The five bytes the code page leaves
// undefined map to the control characters of the same value, so every byte survives a round trip.
class CodePage1252
{
public:
    // Characters the code page lacks become '?', one per character.
    static QByteArray encode(QStringView text);
    static QString decode(QByteArrayView bytes);

    // Lines end at CR LF, a lone LF or a lone CR; a final line end adds no empty line.
    // Throws FileError::cannotOpen.
    static QStringList readLines(const QString &path);
    // Replaces the file; every line, the last included, ends with CR LF.
    // Throws FileError::cannotCreate.
    static void writeLines(const QString &path, const QStringList &lines);
};

} // namespace kb
