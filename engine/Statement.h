#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace kb {

// A prepared SQLite statement; finalised when destroyed. Values are bound and read as QVariant:
// null, qint64, double, QString.
class Statement
{
public:
    enum class StorageClass { Null, Integer, Real, Text, Blob };

    Statement(sqlite3 *db, const QString &sql);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    const QString &sql() const { return m_sql; }

    void bind(int index, const QVariant &value); // 1-based
    void bindNull(int index);
    void bindInteger(int index, qint64 value);
    void bindDouble(int index, double value);
    void bindText(int index, const QString &value);

    // Steps once: true while a row is there. Throws EngineError on failure.
    bool step();
    // Runs to completion, ignoring rows.
    void run();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    StorageClass storageClass(int column) const;
    // The declared type of the table column a result column reads; empty for an expression.
    QString declaredType(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    QString text(int column) const;
    // The text's UTF-8 bytes, valid until the statement steps or resets.
    QByteArrayView utf8(int column) const;
    QVariant value(int column) const;

private:
    [[noreturn]] void fail() const;
    void refuseTrailingStatement(const char *tail, const char *end);

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    QString m_sql;
};

} // namespace kb
