#pragma once

#include "Cursor.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>
#include <unordered_map>

namespace kb {

class Database;
class Statement;

// The rows of one table by row id, kept in a bounded cache and written by cached statements per
// set of columns. Batches of rows are fetched with only the columns in use (the others stay
// Unread until a row is completed), so a walk that reads a few fields decodes only those. The
// cache is dropped as soon as anything else wrote through the connection, so it never shows
// values older than the file.
class RowStore
{
public:
    static constexpr int BatchSize = 64;

    // columnsInUse: the columns every batch fetches from the start (sort and link keys).
    RowStore(Database &db, const QString &table, const QStringList &columns, std::vector<FieldType> types,
             const std::vector<int> &columnsInUse);
    ~RowStore();

    // The cached row, or nullptr. The pointer lives until the next fetch, clear or forget.
    const Row *cached(qint64 id);
    // Fetches the rows of the ids into the cache; ids of rows that no longer exist stay absent.
    void fetch(const std::vector<qint64> &ids);
    // The row with every column fetched; nullptr when it no longer exists.
    const Row *complete(qint64 id);
    // Later batches fetch this column too.
    void use(int column);
    bool isInUse(int column) const { return m_inUse[size_t(column)]; }
    void put(qint64 id, Row row);
    void clear();

    // Writes the columns of the row with the values valueOf gives; a cached copy takes them too.
    void update(qint64 id, const std::vector<int> &columns, const std::function<const FieldValue &(int)> &valueOf);
    qint64 insert(const std::vector<int> &columns, const Row &row);
    void remove(qint64 id);

private:
    static constexpr size_t Capacity = 4096;

    void dropIfStale();
    void makeRoom(size_t rows);
    // Rows in a dense run of ids come by one range scan, scattered ones by their ids.
    void fetchChunk(std::vector<qint64> ids);
    void readRows(Statement &statement, const std::vector<int> &columns, const std::vector<qint64> &wanted);
    // ", a, b" for the select list after the row id.
    QString columnList(const std::vector<int> &columns) const;
    Statement &cachedStatement(QHash<QByteArray, std::shared_ptr<Statement>> &cache,
                               const std::vector<int> &columns, const std::function<QString()> &sql);
    // Runs a statement that must change exactly one row.
    void changeOneRow(Statement &statement);

    Database &m_db;
    QString m_table;
    QStringList m_columns;
    std::vector<FieldType> m_types;
    std::vector<bool> m_inUse;
    std::vector<int> m_allColumns;
    std::unordered_map<qint64, Row> m_rows;
    qint64 m_stamp;
    std::unique_ptr<Statement> m_fetchByIds;
    std::unique_ptr<Statement> m_fetchRange;
    std::vector<int> m_fetchedColumns;
    std::unique_ptr<Statement> m_fetchOne;
    std::unique_ptr<Statement> m_delete;
    QHash<QByteArray, std::shared_ptr<Statement>> m_updates;
    // A walk writes the same columns of row after row.
    std::vector<int> m_lastUpdateColumns;
    Statement *m_lastUpdate = nullptr;
    QHash<QByteArray, std::shared_ptr<Statement>> m_inserts;
};

} // namespace kb
