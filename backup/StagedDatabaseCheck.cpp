#include "StagedDatabaseCheck.h"

#include "Database.h"
#include "Errors.h"
#include "SchemaCatalogue.h"
#include "Statement.h"

#include <QDir>
#include <QFileInfo>

namespace kb {

void StagedDatabaseCheck::check(const QString &directory)
{
    const QString path = QDir(directory).filePath(Database::fileName());
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("Die Sicherung enthält keine Datenbank %1").arg(Database::fileName()));
    const Database db(path);
    Statement integrity = db.prepare(QStringLiteral("PRAGMA integrity_check(1)"));
    if (!integrity.step() || integrity.text(0) != QStringLiteral("ok"))
        throw Error(QStringLiteral("Die Datenbank der Sicherung ist beschädigt"));
    for (const TableDef &table : SchemaCatalogue::tables()) {
        if (!db.hasTable(table.name))
            throw Error(QStringLiteral("Der Datenbank der Sicherung fehlt die Tabelle %1").arg(table.name));
    }
}

} // namespace kb
