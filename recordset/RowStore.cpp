#include "RowStore.h"

#include "Database.h"
#include "Errors.h"
#include "Statement.h"
#include "StoredValue.h"

#include <algorithm>

namespace kb {

namespace {

QByteArray keyOf(const std::vector<int> &columns)
{
    return QByteArray(reinterpret_cast<const char *>(columns.data()), qsizetype(columns.size() * sizeof(int)));
}

QString placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks.append(QStringLiteral("?"));
    return marks.join(QStringLiteral(", "));
}

} // namespace

RowStore::RowStore(Database &db, const QString &table, const QStringList &columns, std::vector<FieldType> types,
                   const std::vector<int> &columnsInUse)
    : m_db(db), m_table(StoredValue::quoted(table)), m_types(std::move(types)), m_inUse(size_t(columns.size())),
      m_stamp(db.totalChanges())
{
    for (const QString &column : columns) {
        m_allColumns.push_back(int(m_columns.size()));
        m_columns.append(StoredValue::quoted(column));
    }
    for (int column : columnsInUse)
        m_inUse[size_t(column)] = true;
    m_rows.reserve(Capacity);
}

RowStore::~RowStore() = default;

const Row *RowStore::cached(qint64 id)
{
    dropIfStale();
    const auto found = m_rows.find(id);
    return found == m_rows.end() ? nullptr : &found->second;
}

void RowStore::fetch(const std::vector<qint64> &ids)
{
    dropIfStale();
    makeRoom(ids.size());
    std::vector<int> columns;
    for (size_t i = 0; i < m_inUse.size(); ++i) {
        if (m_inUse[i])
            columns.push_back(int(i));
    }
    if (columns != m_fetchedColumns) {
        m_fetchByIds.reset();
        m_fetchRange.reset();
        m_fetchedColumns = columns;
    }
    for (size_t start = 0; start < ids.size(); start += BatchSize) {
        const auto end = ids.begin() + qsizetype(std::min(ids.size(), start + BatchSize));
        fetchChunk(std::vector<qint64>(ids.begin() + qsizetype(start), end));
    }
}

const Row *RowStore::complete(qint64 id)
{
    dropIfStale();
    makeRoom(1);
    if (!m_fetchOne) {
        m_fetchOne = std::make_unique<Statement>(
            m_db.prepare(QStringLiteral("SELECT rowid%1 FROM %2 WHERE rowid = ?").arg(columnList(m_allColumns), m_table)));
    }
    m_fetchOne->reset();
    m_fetchOne->bindInteger(1, id);
    m_rows.erase(id);
    readRows(*m_fetchOne, m_allColumns, {id});
    return cached(id);
}

void RowStore::use(int column)
{
    m_inUse[size_t(column)] = true;
}

void RowStore::fetchChunk(std::vector<qint64> ids)
{
    std::sort(ids.begin(), ids.end());
    if (ids.back() - ids.front() < qint64(2 * ids.size())) {
        if (!m_fetchRange) {
            m_fetchRange = std::make_unique<Statement>(m_db.prepare(
                QStringLiteral("SELECT rowid%1 FROM %2 WHERE rowid BETWEEN ? AND ?").arg(columnList(m_fetchedColumns), m_table)));
        }
        m_fetchRange->reset();
        m_fetchRange->bindInteger(1, ids.front());
        m_fetchRange->bindInteger(2, ids.back());
        readRows(*m_fetchRange, m_fetchedColumns, ids);
        return;
    }
    if (!m_fetchByIds) {
        m_fetchByIds = std::make_unique<Statement>(m_db.prepare(QStringLiteral("SELECT rowid%1 FROM %2 WHERE rowid IN (%3)")
                                                                     .arg(columnList(m_fetchedColumns), m_table,
                                                                          placeholders(BatchSize))));
    }
    m_fetchByIds->reset();
    for (size_t i = 0; i < ids.size(); ++i)
        m_fetchByIds->bindInteger(int(i) + 1, ids[i]);
    readRows(*m_fetchByIds, m_fetchedColumns, ids);
}

void RowStore::readRows(Statement &statement, const std::vector<int> &columns, const std::vector<qint64> &wanted)
{
    while (statement.step()) {
        const qint64 id = statement.integer(0);
        if (!std::binary_search(wanted.begin(), wanted.end(), id) || m_rows.contains(id))
            continue;
        Row row(m_columns.size(), Unread());
        for (size_t i = 0; i < columns.size(); ++i) {
            const auto column = size_t(columns[i]);
            row[column] = StoredValue::read(statement, int(i) + 1, m_types[column]);
        }
        m_rows.insert_or_assign(id, std::move(row));
    }
}

QString RowStore::columnList(const std::vector<int> &columns) const
{
    QString list;
    for (int column : columns)
        list += QStringLiteral(", ") + m_columns.at(column);
    return list;
}

void RowStore::put(qint64 id, Row row)
{
    makeRoom(1);
    m_rows.insert_or_assign(id, std::move(row));
}

void RowStore::clear()
{
    m_rows.clear();
}

void RowStore::makeRoom(size_t rows)
{
    if (m_rows.size() + rows > Capacity)
        m_rows.clear();
}

void RowStore::update(qint64 id, const std::vector<int> &columns,
                      const std::function<const FieldValue &(int)> &valueOf)
{
    if (!m_lastUpdate || columns != m_lastUpdateColumns) {
        m_lastUpdate = &cachedStatement(m_updates, columns, [&] {
            QStringList assignments;
            for (int column : columns)
                assignments.append(m_columns.at(column) + QStringLiteral(" = ?"));
            return QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(m_table, assignments.join(QStringLiteral(", ")));
        });
        m_lastUpdateColumns = columns;
    }
    Statement &statement = *m_lastUpdate;
    statement.reset();
    int index = 1;
    for (int column : columns)
        StoredValue::bind(statement, index++, valueOf(column));
    statement.bindInteger(index, id);
    changeOneRow(statement);
    if (const auto cachedRow = m_rows.find(id); cachedRow != m_rows.end()) {
        for (int column : columns)
            cachedRow->second[size_t(column)] = valueOf(column);
    }
}

qint64 RowStore::insert(const std::vector<int> &columns, const Row &row)
{
    Statement &statement = cachedStatement(m_inserts, columns, [&] {
        if (columns.empty())
            return QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_table);
        QStringList names;
        for (int column : columns)
            names.append(m_columns.at(column));
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(m_table, names.join(QStringLiteral(", ")), placeholders(names.size()));
    });
    int index = 1;
    for (int column : columns)
        StoredValue::bind(statement, index++, row[size_t(column)]);
    changeOneRow(statement);
    return m_db.lastInsertRowId();
}

void RowStore::remove(qint64 id)
{
    if (!m_delete)
        m_delete = std::make_unique<Statement>(m_db.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(m_table)));
    m_delete->reset();
    m_delete->bindInteger(1, id);
    changeOneRow(*m_delete);
    m_rows.erase(id);
}

void RowStore::dropIfStale()
{
    const qint64 stamp = m_db.totalChanges();
    if (stamp != m_stamp) {
        m_rows.clear();
        m_stamp = stamp;
    }
}

Statement &RowStore::cachedStatement(QHash<QByteArray, std::shared_ptr<Statement>> &cache,
                                     const std::vector<int> &columns, const std::function<QString()> &sql)
{
    std::shared_ptr<Statement> &statement = cache[keyOf(columns)];
    if (!statement)
        statement = std::make_shared<Statement>(m_db.prepare(sql()));
    statement->reset();
    return *statement;
}

void RowStore::changeOneRow(Statement &statement)
{
    dropIfStale();
    statement.run();
    const qint64 stamp = m_db.totalChanges();
    if (stamp == m_stamp)
        throw EngineError(QStringLiteral("Der Datensatz ist nicht mehr vorhanden; er wurde inzwischen gelöscht."),
                          statement.sql());
    m_stamp = stamp;
}

} // namespace kb
