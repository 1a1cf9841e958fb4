#include "CurrencySymbolFile.h"

#include "CodePage1252.h"

#include <QDir>
#include <QFileInfo>

namespace kb {

QString CurrencySymbolFile::path(const QString &programDirectory)
{
    return QDir(programDirectory).filePath(QStringLiteral("currency.cfg"));
}

QString CurrencySymbolFile::read(const QString &path)
{
    if (!QFileInfo::exists(path))
        return defaultSymbol();
    const QStringList lines = CodePage1252::readLines(path);
    return lines.isEmpty() ? defaultSymbol() : lines.first();
}

void CurrencySymbolFile::write(const QString &path, const QString &symbol)
{
    CodePage1252::writeLines(path, {symbol});
}

} // namespace kb
