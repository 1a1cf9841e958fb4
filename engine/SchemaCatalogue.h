#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kb {

class Database;

enum class FieldType { AutoIncrement, Integer, ShortInteger, Text, Date, Logical, Money, Double, Memo };

struct FieldDef
{
    QString name;
    FieldType type;
    int width = 0; // characters, for Text only
};

struct IndexDef
{
    QString name;       // the name the system uses ("FIRMA_ID")
    QStringList fields; // in key order
    bool unique = false;
};

struct TableDef
{
    QString name; // "KASSE"
    QList<FieldDef> fields;
    QList<IndexDef> indexes;

    const FieldDef *field(const QString &name) const;     // case-insensitive
    const IndexDef *index(const QString &name) const;     // case-insensitive
};

// The single place the schema is written: the eight tables with their fields, types, widths and
// indexes. The set-up code creates tables from it; SQL text names tables as files ("Kasse.adt"),
// which fileNameToTable maps back.
class SchemaCatalogue
{
public:
    static const QList<TableDef> &tables();
    static const TableDef *table(const QString &name); // case-insensitive, with or without ".ADT"
    // "Kasse.adt" -> "KASSE"; empty when the text names no table of the catalogue.
    static QString fileNameToTable(const QString &fileName);

    // An identifier as SQL text: in double quotes, inner quotes doubled ("E-mail", "1_Cent").
    static QString quoted(const QString &identifier);

    // The SQLite declaration of a field: VARCHAR(n), DATE, BOOLEAN, REAL (money), DOUBLE, ...
    static QString declaredType(const FieldDef &field);
    // Maps a declared type back; Text widths come from VARCHAR(n). Unknown types read as Memo.
    static FieldType typeFromDeclaration(const QString &declaredType, bool primaryKey, int *width);

    // SQLite index names are global, so each is prefixed with its table: KASSE_FIRMA_ID.
    static QString physicalIndexName(const TableDef &table, const IndexDef &index);

    static QString createTableStatement(const TableDef &table);
    static QStringList createIndexStatements(const TableDef &table);
    // Creates every table and index in one transaction.
    static void createAll(Database &db);
};

} // namespace kb
