#include "Database.h"

#include "Errors.h"
#include "Statement.h"

#include <sqlite3.h>

namespace kb {

Database::Database(const QString &path, bool createIfMissing)
    : m_path(path)
{
    const int flags = SQLITE_OPEN_READWRITE | (createIfMissing ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                     : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw EngineError(QStringLiteral("%1: %2").arg(path, message));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 2000);
    execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
    execute(QStringLiteral("PRAGMA synchronous=FULL"));
    execute(QStringLiteral("PRAGMA foreign_keys=OFF"));
}

Database::~Database()
{
    sqlite3_close_v2(m_db);
}

Statement Database::prepare(const QString &sql) const
{
    return Statement(m_db, sql);
}

void Database::execute(const QString &sql) const
{
    prepare(sql).run();
}

bool Database::hasTable(const QString &table) const
{
    Statement s = prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE"));
    s.bindText(1, table);
    return s.step();
}

QList<ColumnInfo> Database::columns(const QString &table) const
{
    Statement s = prepare(QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?1)"));
    s.bindText(1, table);
    QList<ColumnInfo> result;
    while (s.step())
        result.append({s.text(0), s.text(1), s.integer(2) != 0});
    return result;
}

qint64 Database::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

bool Database::inTransaction() const
{
    return m_depth > 0;
}

void Database::begin()
{
    if (m_depth == 0) {
        execute(QStringLiteral("BEGIN IMMEDIATE"));
        m_rollbackOnly = false;
    }
    ++m_depth;
}

void Database::commit()
{
    if (m_depth == 0)
        return;
    if (m_depth > 1) {
        --m_depth;
        return;
    }
    if (m_rollbackOnly) {
        rollback();
        throw EngineError(QStringLiteral("Die Transaktion wurde zurückgesetzt."));
    }
    try {
        execute(QStringLiteral("COMMIT"));
    } catch (...) {
        rollback();
        throw;
    }
    m_depth = 0;
}

void Database::rollback()
{
    if (m_depth == 0)
        return;
    if (--m_depth == 0) {
        if (!sqlite3_get_autocommit(m_db))
            execute(QStringLiteral("ROLLBACK"));
        m_rollbackOnly = false;
    } else {
        m_rollbackOnly = true;
    }
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_db.rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    m_done = true;
    m_db.commit();
}

} // namespace kb
