#pragma once

#include <QString>

namespace kb {

// Translates the SQL texts the system writes into SQLite SQL. Table file names in any case and
// quoting ("Kasse.adt", "KASSE.ADT"."KontoID") become the catalogue's table names, True and False
// become 1 and 0, and a 'dd.mm.yyyy' literal compared with a date column becomes the stored form
// 'yyyy-mm-dd'. Everything else passes unchanged, blanks and comments included.
// A literal compared with a date column that is no date throws EngineError carrying the text:
// comparing it as text would silently give wrong rows.
class SqlDialect
{
public:
    QString translate(const QString &statement) const;
    // A cursor's filter text; its unqualified columns belong to table (name or file name).
    QString translateCondition(const QString &condition, const QString &table) const;
};

} // namespace kb
