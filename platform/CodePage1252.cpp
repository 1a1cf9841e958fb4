#include "CodePage1252.h"

#include "Errors.h"

#include <QFile>
#include <QSaveFile>

#include <array>

namespace kb {

namespace {

// The characters of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> Bytes80To9F = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr unsigned char FirstHighByte = 0x80;

char byteOf(char32_t character)
{
    if (character < FirstHighByte || (character >= 0xA0 && character <= 0xFF))
        return char(character);
    for (std::size_t i = 0; i < Bytes80To9F.size(); ++i) {
        if (Bytes80To9F[i] == character)
            return char(FirstHighByte + i);
    }
    return '?';
}

QChar characterOf(unsigned char byte)
{
    if (byte >= FirstHighByte && byte < FirstHighByte + Bytes80To9F.size())
        return QChar(Bytes80To9F[byte - FirstHighByte]);
    return QChar(char16_t(byte));
}

} // namespace

QByteArray CodePage1252::encode(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const char32_t character : text.toUcs4())
        bytes.append(byteOf(character));
    return bytes;
}

QString CodePage1252::decode(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text.append(characterOf(static_cast<unsigned char>(byte)));
    return text;
}

QStringList CodePage1252::readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError::cannotOpen(path);
    const QByteArray bytes = file.readAll();
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.append(decode(QByteArrayView(bytes).sliced(start, end - start)));
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

void CodePage1252::writeLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += encode(line) + "\r\n";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw FileError::cannotCreate(path);
}

} // namespace kb
