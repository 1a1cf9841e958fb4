#include "KeySet.h"

#include "Database.h"
#include "Statement.h"
#include "StoredValue.h"

#include <algorithm>

namespace kb {

KeySet::KeySet(Database &db, const QString &table, const QString &condition, Row parameters,
               const QString &orderBy, std::vector<SortKey> sortKeys, bool alwaysEmpty)
    : m_db(db), m_table(StoredValue::quoted(table)), m_condition(condition), m_parameters(std::move(parameters)),
      m_orderBy(orderBy), m_sortKeys(std::move(sortKeys)), m_alwaysEmpty(alwaysEmpty)
{
}

KeySet::~KeySet() = default;

void KeySet::load()
{
    m_ids.clear();
    if (m_alwaysEmpty)
        return;
    const QString where = m_condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + m_condition;
    Statement &select = statement(QStringLiteral("SELECT rowid FROM %1%2 ORDER BY %3").arg(m_table, where, m_orderBy));
    bindRange(select);
    while (select.step())
        m_ids.push_back(select.integer(0));
}

int KeySet::indexOf(qint64 id) const
{
    const auto found = std::find(m_ids.begin(), m_ids.end(), id);
    return found == m_ids.end() ? -1 : int(found - m_ids.begin());
}

void KeySet::removeAt(int position)
{
    m_ids.erase(m_ids.begin() + position);
}

void KeySet::insertAt(int position, qint64 id)
{
    m_ids.insert(m_ids.begin() + position, id);
}

bool KeySet::contains(qint64 id)
{
    if (m_alwaysEmpty)
        return false;
    if (m_condition.isEmpty())
        return true;
    Statement &select = statement(QStringLiteral("SELECT 1 FROM %1 WHERE (%2) AND rowid = ?").arg(m_table, m_condition));
    select.bindInteger(bindRange(select), id);
    const bool found = select.step();
    select.reset();
    return found;
}

std::optional<qint64> KeySet::firstMatch(const QString &extraCondition, const Row &extraParameters)
{
    if (m_alwaysEmpty)
        return std::nullopt;
    const QString where = m_condition.isEmpty() ? extraCondition
                                                : QStringLiteral("(%1) AND %2").arg(m_condition, extraCondition);
    Statement &select = statement(
        QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY %3 LIMIT 1").arg(m_table, where, m_orderBy));
    int index = bindRange(select);
    for (const FieldValue &value : extraParameters)
        StoredValue::bind(select, index++, value);
    std::optional<qint64> id;
    if (select.step())
        id = select.integer(0);
    select.reset();
    return id;
}

int KeySet::sortedPosition(qint64 id, const Row &row, const std::function<const Row &(int)> &rowAt) const
{
    const int count = size();
    if (count == 0 || compare(rowAt(count - 1), m_ids.back(), row, id) < 0)
        return count;
    int low = 0;
    int high = count - 1;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (compare(rowAt(middle), m_ids[size_t(middle)], row, id) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int KeySet::compare(const Row &a, qint64 idA, const Row &b, qint64 idB) const
{
    for (const SortKey &key : m_sortKeys) {
        const int c = StoredValue::compare(a[size_t(key.field)], b[size_t(key.field)], key.collated);
        if (c != 0)
            return c;
    }
    return idA < idB ? -1 : (idA > idB ? 1 : 0);
}

Statement &KeySet::statement(const QString &sql)
{
    std::shared_ptr<Statement> &statement = m_statements[sql];
    if (!statement)
        statement = std::make_shared<Statement>(m_db.prepare(sql));
    statement->reset();
    return *statement;
}

int KeySet::bindRange(Statement &statement) const
{
    int index = 1;
    for (const FieldValue &value : m_parameters)
        StoredValue::bind(statement, index++, value);
    return index;
}

} // namespace kb
