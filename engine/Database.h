#pragma once

#include <QString>
#include <QStringList>

#include <memory>

struct sqlite3;

namespace kb {

class Statement;

// One column of a table as the database file really holds it.
struct ColumnInfo
{
    QString name;
    QString declaredType;
    bool primaryKey = false;
};

// The connection to Data/kassenbuch.db: rollback journal, synchronous FULL, foreign keys off.
// Every failure throws EngineError with SQLite's message and the statement.
class Database
{
public:
    static QString fileName() { return QStringLiteral("kassenbuch.db"); }

    // Opens an existing file; with createIfMissing a new, empty one is made.
    explicit Database(const QString &path, bool createIfMissing = false);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &path() const { return m_path; }
    sqlite3 *handle() const { return m_db; }

    Statement prepare(const QString &sql) const;
    void execute(const QString &sql) const;

    bool hasTable(const QString &table) const;
    QList<ColumnInfo> columns(const QString &table) const;
    qint64 lastInsertRowId() const;
    bool inTransaction() const;

    // Transactions nest: only the outermost begin/commit reach SQLite, an inner rollback makes
    // the outermost roll back too.
    void begin();
    void commit();
    void rollback();

private:
    QString m_path;
    sqlite3 *m_db = nullptr;
    int m_depth = 0;
    bool m_rollbackOnly = false;
};

// Rolls back in its destructor unless committed.
class Transaction
{
public:
    explicit Transaction(Database &db) : m_db(db) { m_db.begin(); }
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace kb
