#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

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

    // The collation cursors order text keys by: without regard to case, umlauts and accented
    // letters as their base letter, ß as ss; equal keys fall back to the exact text so the order
    // is total. Registered on every connection and used only in ORDER BY, never in the schema,
    // so standard SQLite tools still read the file.
    static QString textCollation() { return QStringLiteral("kb_text"); }
    static int compareText(QStringView a, QStringView b);
    // The SQL function kb_starts_with(text, prefix): whether text begins with prefix, ignoring case.
    static QString startsWithFunction() { return QStringLiteral("kb_starts_with"); }

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
    // Moves whenever rows may differ from what a cache read: every insert, change or delete
    // through this connection, and every rollback, which takes written values back.
    qint64 totalChanges() const;
    bool inTransaction() const;
    // Moves with every rollback that reached SQLite: rows read before may no longer exist.
    qint64 rollbackCount() const { return m_rollbacks; }

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
    qint64 m_rollbacks = 0;
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
