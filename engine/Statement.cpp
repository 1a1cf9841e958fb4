#include "Statement.h"

#include "Errors.h"

#include <sqlite3.h>

#include <utility>

namespace kb {

Statement::Statement(sqlite3 *db, const QString &sql)
    : m_db(db), m_sql(sql)
{
    const QByteArray utf8 = sql.toUtf8();
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &m_stmt, &tail) != SQLITE_OK)
        fail();
    refuseTrailingStatement(tail, utf8.constData() + utf8.size());
}

// SQLite prepares only the first statement of a text; a second one would silently not run.
void Statement::refuseTrailingStatement(const char *tail, const char *end)
{
    if (!tail || tail == end)
        return;
    sqlite3_stmt *next = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, tail, int(end - tail), &next, nullptr);
    sqlite3_finalize(next);
    if (rc != SQLITE_OK || next) {
        sqlite3_finalize(std::exchange(m_stmt, nullptr));
        throw EngineError(QStringLiteral("Ein SQL-Text darf nur eine Anweisung enthalten."), m_sql);
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept
    : m_db(other.m_db), m_stmt(std::exchange(other.m_stmt, nullptr)), m_sql(std::move(other.m_sql))
{
}

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = other.m_db;
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_sql = std::move(other.m_sql);
    }
    return *this;
}

void Statement::fail() const
{
    throw EngineError(QString::fromUtf8(sqlite3_errmsg(m_db)), m_sql);
}

void Statement::bind(int index, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        bindNull(index);
        break;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        bindInteger(index, value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        bindDouble(index, value.toDouble());
        break;
    default:
        if (value.isNull())
            bindNull(index);
        else
            bindText(index, value.toString());
    }
}

void Statement::bindNull(int index)
{
    if (sqlite3_bind_null(m_stmt, index) != SQLITE_OK)
        fail();
}

void Statement::bindInteger(int index, qint64 value)
{
    if (sqlite3_bind_int64(m_stmt, index, value) != SQLITE_OK)
        fail();
}

void Statement::bindDouble(int index, double value)
{
    if (sqlite3_bind_double(m_stmt, index, value) != SQLITE_OK)
        fail();
}

void Statement::bindText(int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    if (sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        fail();
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(m_stmt);
    throw EngineError(message, m_sql);
}

void Statement::run()
{
    while (step()) {
    }
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

Statement::StorageClass Statement::storageClass(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER: return StorageClass::Integer;
    case SQLITE_FLOAT: return StorageClass::Real;
    case SQLITE_TEXT: return StorageClass::Text;
    case SQLITE_BLOB: return StorageClass::Blob;
    default: return StorageClass::Null;
    }
}

QString Statement::declaredType(int column) const
{
    return QString::fromUtf8(sqlite3_column_decltype(m_stmt, column));
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

double Statement::real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

QString Statement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column));
}

QByteArrayView Statement::utf8(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QByteArrayView(data, sqlite3_column_bytes(m_stmt, column));
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(integer(column));
    case SQLITE_FLOAT:
        return QVariant(real(column));
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(text(column));
    }
}

} // namespace kb
