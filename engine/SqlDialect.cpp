#include "SqlDialect.h"

#include "Errors.h"
#include "SchemaCatalogue.h"
#include "SqlTokenizer.h"
#include "TextForms.h"

#include <QRegularExpression>

#include <optional>

namespace kb {

namespace {

using Kind = SqlToken::Kind;

struct ColumnReference
{
    QString qualifier; // empty when the column stands alone
    QString column;
};

bool isComparison(const SqlToken &token)
{
    constexpr QStringView operators[] = {u"=", u"==", u"<>", u"!=", u"<", u">", u"<=", u">="};
    for (QStringView op : operators) {
        if (token.isSymbol(op))
            return true;
    }
    return false;
}

// The date a literal compared with a date column stands for: dd.mm.yyyy as the system writes it,
// or the stored form, so that translating twice changes nothing.
std::optional<QDate> readDate(const QString &text)
{
    try {
        return TextForms::parseDate(text);
    } catch (const ConversionError &) {
    }
    static const QRegularExpression stored(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    if (const QRegularExpressionMatch m = stored.match(text); m.hasMatch()) {
        const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (date.isValid())
            return date;
    }
    return std::nullopt;
}

class Translation
{
public:
    Translation(const QString &text, const TableDef *defaultTable)
        : m_text(text), m_tokens(SqlTokenizer::tokenize(text))
    {
        if (defaultTable)
            m_tables.append(defaultTable);
    }

    QString run()
    {
        renameTableFiles();
        collectTables();
        rewriteDateComparisons();
        rewriteBooleans();
        QString result;
        for (const SqlToken &token : std::as_const(m_tokens))
            result += token.text;
        return result;
    }

private:
    // "Kasse.adt" and an unquoted Kasse.adt (three tokens) both become "KASSE".
    void renameTableFiles()
    {
        for (qsizetype i = 0; i < m_tokens.size(); ++i) {
            SqlToken &token = m_tokens[i];
            if (token.kind == Kind::QuotedIdentifier && token.identifier().endsWith(u".adt", Qt::CaseInsensitive)) {
                if (const QString table = SchemaCatalogue::fileNameToTable(token.identifier()); !table.isEmpty())
                    token.text = SchemaCatalogue::quoted(table);
            } else if (isUnquotedFileName(i)) {
                token = {Kind::QuotedIdentifier, SchemaCatalogue::quoted(SchemaCatalogue::fileNameToTable(token.text))};
                m_tokens.remove(i + 1, 2);
            }
        }
    }

    bool isUnquotedFileName(qsizetype i) const
    {
        return i + 2 < m_tokens.size() && m_tokens[i].kind == Kind::Word && m_tokens[i + 1].isSymbol(u".")
            && m_tokens[i + 2].isWord(u"adt") && !SchemaCatalogue::fileNameToTable(m_tokens[i].text).isEmpty();
    }

    // Every identifier that names a catalogue table counts as a table of the statement; its
    // fields decide which unqualified columns are dates.
    void collectTables()
    {
        for (const SqlToken &token : std::as_const(m_tokens)) {
            if (!token.isIdentifier())
                continue;
            const TableDef *table = SchemaCatalogue::table(token.identifier());
            if (table && !m_tables.contains(table))
                m_tables.append(table);
        }
    }

    void rewriteDateComparisons()
    {
        for (qsizetype i = 0; i < m_tokens.size(); ++i) {
            if (!isComparison(m_tokens[i]))
                continue;
            const qsizetype left = previousSignificant(i);
            const qsizetype right = nextSignificant(i);
            if (isString(right)) {
                if (const FieldDef *field = dateField(columnEndingAt(left)))
                    convertDateLiteral(m_tokens[right], *field);
            } else if (isString(left)) {
                if (const FieldDef *field = dateField(columnStartingAt(right)))
                    convertDateLiteral(m_tokens[left], *field);
            }
        }
    }

    void rewriteBooleans()
    {
        for (SqlToken &token : m_tokens) {
            if (token.isWord(u"true"))
                token.text = QStringLiteral("1");
            else if (token.isWord(u"false"))
                token.text = QStringLiteral("0");
        }
    }

    bool isValid(qsizetype i) const { return i >= 0 && i < m_tokens.size(); }
    bool isString(qsizetype i) const { return isValid(i) && m_tokens[i].kind == Kind::String; }
    bool isIdentifier(qsizetype i) const { return isValid(i) && m_tokens[i].isIdentifier(); }
    bool isSymbol(qsizetype i, QStringView symbol) const { return isValid(i) && m_tokens[i].isSymbol(symbol); }

    qsizetype previousSignificant(qsizetype i) const
    {
        do
            --i;
        while (isValid(i) && m_tokens[i].kind == Kind::Space);
        return i;
    }

    qsizetype nextSignificant(qsizetype i) const
    {
        do
            ++i;
        while (isValid(i) && m_tokens[i].kind == Kind::Space);
        return i;
    }

    std::optional<ColumnReference> columnEndingAt(qsizetype i) const
    {
        if (!isIdentifier(i))
            return std::nullopt;
        const qsizetype dot = previousSignificant(i);
        if (!isSymbol(dot, u"."))
            return ColumnReference{{}, m_tokens[i].identifier()};
        const qsizetype qualifier = previousSignificant(dot);
        if (!isIdentifier(qualifier))
            return std::nullopt;
        return ColumnReference{m_tokens[qualifier].identifier(), m_tokens[i].identifier()};
    }

    std::optional<ColumnReference> columnStartingAt(qsizetype i) const
    {
        if (!isIdentifier(i))
            return std::nullopt;
        const qsizetype after = nextSignificant(i);
        if (isSymbol(after, u"("))
            return std::nullopt;
        if (!isSymbol(after, u"."))
            return ColumnReference{{}, m_tokens[i].identifier()};
        const qsizetype column = nextSignificant(after);
        if (!isIdentifier(column))
            return std::nullopt;
        return ColumnReference{m_tokens[i].identifier(), m_tokens[column].identifier()};
    }

    // A qualifier that names no table (an alias) leaves the column to the statement's tables.
    const FieldDef *dateField(const std::optional<ColumnReference> &reference) const
    {
        if (!reference)
            return nullptr;
        auto date = [&](const TableDef *table) -> const FieldDef * {
            const FieldDef *field = table->field(reference->column);
            return field && field->type == FieldType::Date ? field : nullptr;
        };
        if (const TableDef *table = SchemaCatalogue::table(reference->qualifier))
            return date(table);
        for (const TableDef *table : m_tables) {
            if (const FieldDef *field = date(table))
                return field;
        }
        return nullptr;
    }

    void convertDateLiteral(SqlToken &literal, const FieldDef &field) const
    {
        const std::optional<QDate> date = readDate(literal.stringValue());
        if (!date) {
            throw EngineError(QStringLiteral("'%1' ist kein gültiges Datum im Format TT.MM.JJJJ "
                                             "(Vergleich mit dem Datumsfeld %2).")
                                  .arg(literal.stringValue(), field.name),
                              m_text);
        }
        literal.text = QLatin1Char('\'') + date->toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
    }

    QString m_text;
    QList<SqlToken> m_tokens;
    QList<const TableDef *> m_tables;
};

} // namespace

QString SqlDialect::translate(const QString &statement) const
{
    return Translation(statement, nullptr).run();
}

QString SqlDialect::translateCondition(const QString &condition, const QString &table) const
{
    const TableDef *tableDef = SchemaCatalogue::table(table);
    if (!tableDef)
        throw EngineError(QStringLiteral("Die Tabelle %1 ist nicht bekannt.").arg(table), condition);
    return Translation(condition, tableDef).run();
}

} // namespace kb
