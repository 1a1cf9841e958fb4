#pragma once

#include <QString>

namespace kb {

// currency.cfg beside the program: one line in code page 1252 holding the currency symbol.
class CurrencySymbolFile
{
public:
    static QString defaultSymbol() { return QStringLiteral("€"); }
    static QString path(const QString &programDirectory);

    // The first line exactly as stored; the default when the file is missing or has no line.
    // Throws FileError::cannotOpen when it exists but cannot be read.
    static QString read(const QString &path);
    // Replaces the whole file by the one line. Throws FileError::cannotCreate.
    static void write(const QString &path, const QString &symbol);
};

} // namespace kb
