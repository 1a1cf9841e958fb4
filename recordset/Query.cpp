#include "Query.h"

#include "Database.h"
#include "Statement.h"
#include "StoredValue.h"

#include <algorithm>

namespace kb {

namespace {

// A column without declared type (an expression such as a sum) takes the type of its first value;
// an empty one reads as a number, so an empty sum reads 0.
FieldType typeOfValue(Statement::StorageClass storage)
{
    switch (storage) {
    case Statement::StorageClass::Integer: return FieldType::Integer;
    case Statement::StorageClass::Text:
    case Statement::StorageClass::Blob: return FieldType::Memo;
    case Statement::StorageClass::Real:
    case Statement::StorageClass::Null: return FieldType::Double;
    }
    return FieldType::Double;
}

} // namespace

Query::Query(Database *db)
    : m_db(db)
{
}

Query::~Query() = default;

void Query::setDatabase(Database *db)
{
    release();
    m_db = db;
}

void Query::setSql(const QStringList &lines)
{
    close();
    m_sql = lines;
}

void Query::open()
{
    close();
    Statement &statement = prepared();
    if (statement.columnCount() == 0)
        fail(QStringLiteral("Die Anweisung liefert keine Ergebnismenge"));
    const bool hasRow = statement.step();
    m_pending = true;
    setFields(resultFields(hasRow));
    if (hasRow)
        storeCurrentRow();
    else
        finishResult();
    setState(CursorState::Browse);
    fetchThrough(0);
    show(m_rows.empty() ? -1 : 0, true, m_rows.empty());
    notifyRowsChanged();
}

void Query::execSql()
{
    close();
    Statement &statement = prepared();
    statement.run();
    statement.reset();
}

void Query::close()
{
    if (isOpen())
        notifyRecordChanging();
    if (m_pending)
        m_statement->reset();
    m_pending = false;
    m_rows.clear();
    removeFields();
    m_position = -1;
    m_bof = true;
    m_eof = true;
    if (isOpen()) {
        setState(CursorState::Inactive);
        notifyRowsChanged();
        notifyRecordChanged();
    }
}

void Query::release()
{
    close();
    m_statement.reset();
    m_preparedText.clear();
}

void Query::first()
{
    checkOpen();
    show(m_rows.empty() ? -1 : 0, true, m_rows.empty());
}

void Query::last()
{
    checkOpen();
    const int count = recordCount();
    show(count - 1, count == 0, true);
}

void Query::next()
{
    checkOpen();
    fetchThrough(m_position + 1);
    if (const int target = stepTarget(1, int(m_rows.size())); target >= 0)
        show(target, false, false);
}

void Query::prior()
{
    checkOpen();
    if (const int target = stepTarget(-1, int(m_rows.size())); target >= 0)
        show(target, false, false);
}

void Query::moveTo(int position)
{
    checkOpen();
    fetchThrough(position);
    const int count = int(m_rows.size());
    if (count == 0)
        show(-1, true, true);
    else
        show(std::clamp(position, 0, count - 1), false, false);
}

int Query::recordCount()
{
    while (m_pending)
        fetchRow();
    return int(m_rows.size());
}

FieldValue Query::valueAt(int position, int fieldIndex)
{
    if (!isOpen() || position < 0 || fieldIndex < 0 || fieldIndex >= fieldCount())
        return {};
    fetchThrough(position);
    return position < int(m_rows.size()) ? m_rows[size_t(position)][size_t(fieldIndex)] : FieldValue();
}

Statement &Query::prepared()
{
    if (!m_db)
        fail(QStringLiteral("Keine Datenbank zugewiesen"));
    const QString text = sqlText();
    if (!m_statement || m_preparedText != text) {
        m_statement.reset();
        m_preparedText.clear();
        m_statement = std::make_unique<Statement>(m_db->prepare(m_dialect.translate(text)));
        m_preparedText = text;
    }
    m_statement->reset();
    return *m_statement;
}

std::vector<std::unique_ptr<Field>> Query::resultFields(bool hasRow) const
{
    std::vector<std::unique_ptr<Field>> fields;
    for (int column = 0; column < m_statement->columnCount(); ++column) {
        const QString declared = m_statement->declaredType(column);
        int width = 0;
        const FieldType type = !declared.isEmpty()
            ? SchemaCatalogue::typeFromDeclaration(declared, false, &width)
            : typeOfValue(hasRow ? m_statement->storageClass(column) : Statement::StorageClass::Null);
        fields.push_back(std::make_unique<Field>(m_statement->columnName(column), type, width));
    }
    return fields;
}

void Query::fetchThrough(int position)
{
    while (m_pending && int(m_rows.size()) <= position + 1)
        fetchRow();
}

void Query::fetchRow()
{
    try {
        if (m_statement->step())
            storeCurrentRow();
        else
            finishResult();
    } catch (...) {
        finishResult();
        throw;
    }
}

void Query::storeCurrentRow()
{
    Row row;
    row.reserve(size_t(m_statement->columnCount()));
    for (int column = 0; column < m_statement->columnCount(); ++column)
        row.push_back(StoredValue::read(*m_statement, column, field(column).type()));
    m_rows.push_back(std::move(row));
}

void Query::finishResult()
{
    m_pending = false;
    m_statement->reset();
}

void Query::show(int position, bool bof, bool eof)
{
    // Details of this cursor store their pending rows while the old row still stands.
    notifyRecordChanging();
    m_position = position;
    m_bof = bof;
    m_eof = eof;
    if (position < 0)
        clearRow();
    else
        loadRow(m_rows[size_t(position)]);
    notifyRecordChanged();
}

} // namespace kb
