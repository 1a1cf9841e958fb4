#include "SchemaCatalogue.h"

#include "Database.h"

#include <QRegularExpression>

namespace kb {

namespace {

FieldDef text(const char *name, int width)
{
    return {QString::fromUtf8(name), FieldType::Text, width};
}

FieldDef typed(const char *name, FieldType type)
{
    return {QString::fromUtf8(name), type, 0};
}

IndexDef index(const char *name, const char *fields, bool unique = false)
{
    return {QString::fromUtf8(name), QString::fromUtf8(fields).split(QLatin1Char(';')), unique};
}

QList<TableDef> buildCatalogue()
{
    using T = FieldType;
    QList<TableDef> tables;
    tables.append({QStringLiteral("FIRMA"),
                   {typed("ID", T::AutoIncrement), text("Firma", 50), text("Strasse", 60), text("PLZ", 8),
                    text("Ort", 60), text("Telefon", 25), text("Fax", 25), text("E-mail", 30),
                    text("Homepage", 40), text("B-Institut1", 50), text("KontoNr1", 30),
                    text("B-Institut2", 50), text("KontoNr2", 30), text("BLZ1", 30), text("BLZ2", 30),
                    text("Print1", 50)},
                   {index("FIRMA", "FIRMA")}});
    tables.append({QStringLiteral("KASSE"),
                   {typed("Firma_ID", T::Integer), typed("Nr", T::AutoIncrement), typed("Datum", T::Date),
                    text("BelegNr", 20), typed("Buchungsbetrag", T::Money), typed("UMSTinProzent", T::Double),
                    typed("UMSTinEURO", T::Money), typed("Nettobuchungsbetrag", T::Money),
                    typed("Zeilenbestand", T::Money), text("Text", 255), text("Kontoname", 60),
                    typed("KontoID", T::ShortInteger), typed("Minuskonto", T::Logical),
                    typed("lfdNr", T::Integer)},
                   // BALANCE is our own: it covers the balance sums of a company, which would
                   // otherwise read every booking row of it at each store.
                   {index("PRIMARY", "FIRMA_ID;NR", true), index("FIRMA_ID", "FIRMA_ID;DATUM;NR"),
                    index("BALANCE", "FIRMA_ID;MINUSKONTO;LFDNR;BUCHUNGSBETRAG")}});
    tables.append({QStringLiteral("KONTEN"),
                   {typed("KontoNr", T::AutoIncrement), text("Konto", 10), text("Kontoname", 70),
                    typed("KontoProzentSatz", T::Double), typed("Minuskonto", T::Logical)},
                   {index("PRIMARY", "KONTONR", true), index("KONTO", "KONTO"), index("KONTONAME", "KONTONAME")}});
    tables.append({QStringLiteral("TEXTE"),
                   {typed("Nr", T::AutoIncrement), text("Text", 60)},
                   {index("TEXT", "TEXT")}});
    tables.append({QStringLiteral("GRUPPEN"),
                   {typed("GruppenNr", T::AutoIncrement), text("Gruppe", 40), text("Typ", 15)},
                   {}});
    tables.append({QStringLiteral("GRPLINK"),
                   {typed("GruppenID", T::Integer), typed("KontoID", T::Integer), text("Kontoname", 40),
                    text("Typ", 10)},
                   {index("GRUPPENID", "GRUPPENID;KONTOID")}});
    QList<FieldDef> bkasse{typed("Datum", T::Date), text("KassenName", 20), text("Bemerkung", 60)};
    for (const char *coin : {"1_Cent", "2_Cent", "5_Cent", "10_Cent", "20_Cent", "50_Cent", "1_Euro", "2_Euro",
                             "5_Euro", "10_Euro", "20_Euro", "50_Euro", "100_Euro", "200_Euro", "500_Euro"})
        bkasse.append(typed(coin, T::Integer));
    bkasse.append(typed("Summe", T::Money));
    bkasse.append(typed("ID", T::AutoIncrement));
    tables.append({QStringLiteral("BKASSE"), bkasse, {index("DATUM", "DATUM;KASSENNAME", true)}});
    tables.append({QStringLiteral("MAIL"),
                   {text("Text", 80), typed("LongText", T::Memo), typed("ID", T::Integer)},
                   {}});
    return tables;
}

// The integer primary key is the row id itself; an index on it alone would only duplicate it.
bool isRowIdIndex(const TableDef &table, const IndexDef &index)
{
    if (index.fields.size() != 1)
        return false;
    const FieldDef *field = table.field(index.fields.first());
    return field && field->type == FieldType::AutoIncrement;
}

} // namespace

const FieldDef *TableDef::field(const QString &name) const
{
    for (const FieldDef &f : fields) {
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

const IndexDef *TableDef::index(const QString &name) const
{
    for (const IndexDef &i : indexes) {
        if (i.name.compare(name, Qt::CaseInsensitive) == 0)
            return &i;
    }
    return nullptr;
}

const QList<TableDef> &SchemaCatalogue::tables()
{
    static const QList<TableDef> catalogue = buildCatalogue();
    return catalogue;
}

const TableDef *SchemaCatalogue::table(const QString &name)
{
    const QString bare = fileNameToTable(name).isEmpty() ? name : fileNameToTable(name);
    for (const TableDef &t : tables()) {
        if (t.name.compare(bare, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

QString SchemaCatalogue::fileNameToTable(const QString &fileName)
{
    QString bare = fileName;
    if (bare.endsWith(QLatin1String(".adt"), Qt::CaseInsensitive))
        bare.chop(4);
    for (const TableDef &t : tables()) {
        if (t.name.compare(bare, Qt::CaseInsensitive) == 0)
            return t.name;
    }
    return {};
}

QString SchemaCatalogue::quoted(const QString &identifier)
{
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString SchemaCatalogue::declaredType(const FieldDef &field)
{
    switch (field.type) {
    case FieldType::AutoIncrement: return QStringLiteral("INTEGER");
    case FieldType::Integer: return QStringLiteral("INTEGER");
    case FieldType::ShortInteger: return QStringLiteral("SMALLINT");
    case FieldType::Text: return QStringLiteral("VARCHAR(%1)").arg(field.width);
    case FieldType::Date: return QStringLiteral("DATE");
    case FieldType::Logical: return QStringLiteral("BOOLEAN");
    case FieldType::Money: return QStringLiteral("REAL");
    case FieldType::Double: return QStringLiteral("DOUBLE");
    case FieldType::Memo: return QStringLiteral("TEXT");
    }
    return {};
}

FieldType SchemaCatalogue::typeFromDeclaration(const QString &declaredType, bool primaryKey, int *width)
{
    static const QRegularExpression varchar(QStringLiteral("^\\s*(VAR)?CHAR\\s*\\(\\s*(\\d+)\\s*\\)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString type = declaredType.trimmed().toUpper();
    if (width)
        *width = 0;
    if (const QRegularExpressionMatch m = varchar.match(type); m.hasMatch()) {
        if (width)
            *width = m.captured(2).toInt();
        return FieldType::Text;
    }
    if (type == QLatin1String("INTEGER") || type == QLatin1String("INT"))
        return primaryKey ? FieldType::AutoIncrement : FieldType::Integer;
    if (type == QLatin1String("SMALLINT"))
        return FieldType::ShortInteger;
    if (type == QLatin1String("DATE"))
        return FieldType::Date;
    if (type == QLatin1String("BOOLEAN") || type == QLatin1String("LOGICAL"))
        return FieldType::Logical;
    if (type == QLatin1String("REAL") || type == QLatin1String("MONEY"))
        return FieldType::Money;
    if (type == QLatin1String("DOUBLE") || type == QLatin1String("FLOAT"))
        return FieldType::Double;
    return FieldType::Memo;
}

QString SchemaCatalogue::physicalIndexName(const TableDef &table, const IndexDef &index)
{
    return table.name + QLatin1Char('_') + index.name;
}

QString SchemaCatalogue::createTableStatement(const TableDef &table)
{
    QStringList columns;
    for (const FieldDef &field : table.fields) {
        QString column = quoted(field.name) + QLatin1Char(' ') + declaredType(field);
        if (field.type == FieldType::AutoIncrement)
            column += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
        columns.append(column);
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(table.name), columns.join(QStringLiteral(", ")));
}

QStringList SchemaCatalogue::createIndexStatements(const TableDef &table)
{
    QStringList statements;
    for (const IndexDef &index : table.indexes) {
        if (isRowIdIndex(table, index))
            continue;
        QStringList keys;
        for (const QString &name : index.fields)
            keys.append(quoted(table.field(name)->name));
        statements.append(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                              .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(),
                                   quoted(physicalIndexName(table, index)), quoted(table.name),
                                   keys.join(QStringLiteral(", "))));
    }
    return statements;
}

void SchemaCatalogue::createAll(Database &db)
{
    Transaction transaction(db);
    for (const TableDef &table : tables()) {
        db.execute(createTableStatement(table));
        for (const QString &statement : createIndexStatements(table))
            db.execute(statement);
    }
    transaction.commit();
}

} // namespace kb
