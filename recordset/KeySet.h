#pragma once

#include "Cursor.h"

#include <QHash>

#include <functional>
#include <memory>
#include <optional>

namespace kb {

class Database;
class Statement;

// A sort key of a cursor order: the field's position in the row and whether it is text, which
// orders by the connection's text collation.
struct SortKey
{
    int field;
    bool collated;
};

// The ordered row ids of a cursor's range: the rows that meet the condition (master link and
// filter) in index order, the row id breaking ties. Rows are fetched by id elsewhere; the key set
// holds eight bytes per row.
class KeySet
{
public:
    // condition: SQL with one ? per parameter, or empty for every row; alwaysEmpty gives a range
    // without rows (a master without current row).
    KeySet(Database &db, const QString &table, const QString &condition, Row parameters,
           const QString &orderBy, std::vector<SortKey> sortKeys, bool alwaysEmpty);
    ~KeySet();

    void load();
    int size() const { return int(m_ids.size()); }
    qint64 id(int position) const { return m_ids[size_t(position)]; }
    int indexOf(qint64 id) const;
    void removeAt(int position);
    void insertAt(int position, qint64 id);

    // Whether the stored row with this id meets the range's condition.
    bool contains(qint64 id);
    // The first row in order that also meets the extra condition (one ? per extra parameter).
    std::optional<qint64> firstMatch(const QString &extraCondition, const Row &extraParameters);
    // Where a row with these values belongs in the order; rowAt gives the stored row at a position.
    int sortedPosition(qint64 id, const Row &row, const std::function<const Row &(int)> &rowAt) const;

private:
    int compare(const Row &a, qint64 idA, const Row &b, qint64 idB) const;
    Statement &statement(const QString &sql);
    int bindRange(Statement &statement) const;

    Database &m_db;
    QString m_table;
    QString m_condition;
    Row m_parameters;
    QString m_orderBy;
    std::vector<SortKey> m_sortKeys;
    bool m_alwaysEmpty;
    std::vector<qint64> m_ids;
    QHash<QString, std::shared_ptr<Statement>> m_statements;
};

} // namespace kb
