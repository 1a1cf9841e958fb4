#include "Database.h"

#include "Errors.h"
#include "Statement.h"
#include "UnicodeLike.h"

#include <sqlite3.h>

namespace kb {

namespace {

void appendSortKey(QString &key, QChar c)
{
    if (c.unicode() < 0x80) {
        key.append(c.toLower());
        return;
    }
    if (c == QChar(0xDF)) {
        key.append(QStringLiteral("ss"));
        return;
    }
    const QString decomposed = c.decompositionTag() == QChar::Canonical ? c.decomposition() : QString();
    key.append(decomposed.isEmpty() ? c.toCaseFolded() : decomposed.at(0).toCaseFolded());
}

QString sortKey(QStringView text)
{
    QString key;
    key.reserve(text.size());
    for (QChar c : text)
        appendSortKey(key, c);
    return key;
}

int collateText(void *, int lengthA, const void *a, int lengthB, const void *b)
{
    const QString textA = QString::fromUtf8(static_cast<const char *>(a), lengthA);
    const QString textB = QString::fromUtf8(static_cast<const char *>(b), lengthB);
    return Database::compareText(textA, textB);
}

void startsWith(sqlite3_context *context, int, sqlite3_value **arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL || sqlite3_value_type(arguments[1]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    const auto text = [](sqlite3_value *value) {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
    };
    sqlite3_result_int(context, text(arguments[0]).startsWith(text(arguments[1]), Qt::CaseInsensitive) ? 1 : 0);
}

} // namespace

int Database::compareText(QStringView a, QStringView b)
{
    const int byKey = sortKey(a).compare(sortKey(b));
    if (byKey != 0)
        return byKey < 0 ? -1 : 1;
    const int exact = a.compare(b);
    return exact < 0 ? -1 : (exact > 0 ? 1 : 0);
}

Database::Database(const QString &path, bool createIfMissing)
    : m_path(path)
{
    // One thread uses a connection, so SQLite need not lock it on every call.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (createIfMissing ? SQLITE_OPEN_CREATE : 0);
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
    sqlite3_create_collation_v2(m_db, textCollation().toUtf8().constData(), SQLITE_UTF8, nullptr,
                                &collateText, nullptr);
    sqlite3_create_function_v2(m_db, startsWithFunction().toUtf8().constData(), 2,
                               SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &startsWith, nullptr, nullptr,
                               nullptr);
    UnicodeLike::registerOn(m_db);
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

qint64 Database::totalChanges() const
{
    return sqlite3_total_changes64(m_db) + m_rollbacks;
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
        ++m_rollbacks;
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
