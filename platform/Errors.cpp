#include "Errors.h"

namespace kb {

ConversionError ConversionError::notAnInteger(const QString &text)
{
    return ConversionError(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text));
}

ConversionError ConversionError::notAFloat(const QString &text)
{
    return ConversionError(QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(text));
}

ConversionError ConversionError::notADate(const QString &text)
{
    return ConversionError(QStringLiteral("'%1' ist kein gültiges Datum").arg(text));
}

ConversionError ConversionError::invalidDate()
{
    return ConversionError(QStringLiteral("Ungültiges Argument zum Codieren des Datums"));
}

FileError FileError::cannotOpen(const QString &path)
{
    return FileError(QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(path));
}

FileError FileError::cannotCreate(const QString &path)
{
    return FileError(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path));
}

} // namespace kb
