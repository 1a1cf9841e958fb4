#pragma once

#include "Cursor.h"
#include "SqlDialect.h"

#include <QStringList>

#include <memory>

namespace kb {

class Database;
class Statement;

// The SQL cursor: a statement in the system's SQL forms, given as lines joined by line breaks and
// translated for SQLite. open runs a SELECT and gives a read-only cursor over its rows, fetched as
// they are reached; execSql runs any other statement. The prepared statement is kept for the same
// text until release.
class Query : public Cursor
{
public:
    explicit Query(Database *db = nullptr);
    ~Query() override;

    Database *database() const { return m_db; }
    void setDatabase(Database *db); // releases the statement

    const QStringList &sql() const { return m_sql; }
    // Replaces the statement; closes the cursor.
    void setSql(const QStringList &lines);
    QString sqlText() const { return m_sql.join(QLatin1Char('\n')); }

    // Runs the SELECT and stands on its first row; a statement without result set is refused
    // unrun.
    void open();
    void execSql();
    void close();
    // Closes and drops the prepared statement.
    void release();

    void first() override;
    void last() override;
    void next() override;
    void prior() override;
    void moveTo(int position) override;
    // Fetches the rest of the result.
    int recordCount() override;
    FieldValue valueAt(int position, int fieldIndex) override;

protected:
    QString displayName() const override { return QStringLiteral("Query"); }

private:
    Statement &prepared();
    std::vector<std::unique_ptr<Field>> resultFields(bool hasRow) const;
    // Fetches until the row at position and the one after it are there, or the result ends, so
    // a result of one row leaves no statement running.
    void fetchThrough(int position);
    void fetchRow();
    void storeCurrentRow();
    void finishResult();
    void show(int position, bool bof, bool eof);

    Database *m_db = nullptr;
    SqlDialect m_dialect;
    QStringList m_sql;
    QString m_preparedText;
    std::unique_ptr<Statement> m_statement;
    std::vector<Row> m_rows;
    bool m_pending = false;
};

} // namespace kb
