#pragma once

#include "Cursor.h"
#include "DataSource.h"
#include "KeySet.h"
#include "SqlDialect.h"

#include <QPointer>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>

namespace kb {

class Database;
class RowStore;

enum class LocateOption { Exact, CaseInsensitivePrefix };

// A cursor over one table: the rows within the master range and the filter, in the order of the
// index in use. It keeps only the ordered row ids and fetches the values of the rows it shows, so
// memory and the cost of a move stay flat with the size of the table. Values written elsewhere
// through the same connection show as soon as a row is loaded again (edit loads the current row
// again first); rows that others added, removed or moved show after refresh.
//
// Moving, locating or refreshing while a row is edited stores the row first; storing and
// cancelling outside editing do nothing. Before the current row is left, detail cursors store
// their pending rows while this row still stands; when that fails, nothing moves.
//
// A store and a delete are one transaction each, their events included: whatever BeforePost,
// the write and AfterPost (or BeforeDelete, the delete and AfterDelete) write commits together or
// not at all. On a failure the file is as before and the cursor is back where it was, a row being
// stored still in editing with its values. A BeforePost that cancels the edit leaves nothing
// stored while AfterPost still runs. Abort and every other exception pass through unchanged.
class Table : public Cursor, private DataSourceObserver
{
public:
    using Event = std::function<void(Table &)>;

    explicit Table(Database *db = nullptr);
    ~Table() override;

    Database *database() const { return m_db; }
    void setDatabase(Database *db); // closes the cursor

    const QString &tableName() const { return m_tableName; }
    // The table's name or its file name ("Kasse.adt"); only while closed.
    void setTableName(const QString &name);
    const QString &indexName() const { return m_indexName; }
    // The catalogue's index whose fields give the order; empty orders by row id (write order).
    void setIndexName(const QString &name);

    // Restricts the rows to those whose detail fields equal the master fields of the source's
    // current row; a new row takes the master values. Without current master row there are no rows.
    void setMasterSource(DataSource *source, const QStringList &masterFields, const QStringList &detailFields);
    DataSource *masterSource() const { return m_masterSource; }

    // A condition over the table's fields in the system's SQL forms (Datum>='01.03.2007' and ...);
    // it applies while filtered. Changing either moves to the first row.
    const QString &filter() const { return m_filter; }
    void setFilter(const QString &filter);
    bool isFiltered() const { return m_filtered; }
    void setFiltered(bool filtered);

    // Reads the field list from the file itself and moves to the first row.
    void open();
    // Discards a pending change.
    void close();

    void first() override;
    void last() override;
    void next() override;
    void prior() override;
    void moveTo(int position) override;
    int recordCount() override;
    int position() const override;
    FieldValue valueAt(int position, int fieldIndex) override;

    // Moves to the first row in order whose fields (names joined by ';' or listed) have the values;
    // false and unmoved when there is none. CaseInsensitivePrefix matches text fields that begin
    // with the value, ignoring case; other fields match exactly.
    bool locate(const QString &fields, const QVariant &value, LocateOption option = LocateOption::Exact);
    bool locate(const QStringList &fields, const QVariantList &values, LocateOption option = LocateOption::Exact);

    // Puts the current row into editing; on a table without rows it inserts.
    void edit();
    // A new, empty row at the end or at the current row; the master link fields take the master's values.
    void append();
    void insert();
    // Writes the changed fields (a new row: all filled fields) in one transaction.
    void post();
    void cancel();
    // Deletes the current row and lands on the next one, after the last on the previous one.
    // While inserting it discards the new row.
    void deleteRecord();
    // Reads the range again: rows written through other cursors show, the cursor stays on its row.
    // Done by itself at the next move after a rollback anywhere on the connection.
    void refresh();

    Event beforeInsert;
    Event afterInsert;
    Event beforePost;
    Event afterPost;
    Event beforeDelete;
    Event afterDelete;

protected:
    QString displayName() const override;
    void loadMissingValues(const Field *asked) override;

private:
    struct Order
    {
        std::vector<SortKey> keys;
        QString sql;
    };

    void checkClosed() const;
    // Applies a change of index, filter or filtering; undone when the rows cannot be read so.
    void reconfigure(const std::function<void()> &change, bool keepRow);
    std::vector<std::unique_ptr<Field>> fieldsOfFile() const;
    std::vector<int> detailIndexes(const QStringList &names) const;
    Order orderOf(const QString &indexName) const;
    // The columns every fetch needs: link and sort keys.
    std::vector<int> keyColumns(const Order &order) const;
    std::unique_ptr<KeySet> makeKeySet(const Order &order, std::optional<Row> &rangeKey) const;
    // The master's link values; none when the master has no current row or an empty link value.
    std::optional<Row> masterKey() const;
    void connectMaster();
    void disconnectMaster();
    void masterChanged();
    void cursorRecordChanging() override;
    void cursorRecordChanged() override { masterChanged(); }
    void cursorRowsChanged() override { masterChanged(); }
    void dataSourceDestroyed() override;
    // Stores the pending row, then lets the details store theirs while the row still stands.
    void leaveRecord();
    // Reads the range again when a rollback may have taken back rows the key set holds.
    void followRollback();

    // What a failed store or delete puts back.
    struct Pending
    {
        CursorState state;
        qint64 id;
        int position;
        int insertPosition;
        bool bof;
        bool eof;
        std::vector<FieldState> fields;
    };
    // Runs operation in one transaction; on a failure the cursor is put back as it was.
    void atomically(const std::function<void()> &operation);
    void restore(const Pending &pending) noexcept;
    void loadKeys();
    void rebuild(bool keepRow);
    void startInsert(bool atEnd);
    void fillMasterLink();
    void store();
    void storeChangedRow();
    void storeNewRow();
    // Puts a stored row into the order and shows it; a row outside the range leaves the cursor
    // at fallback.
    void placeStoredRow(qint64 id, Row row, int fallback);
    bool changesRange(const std::vector<int> &written) const;
    // A new row writes its filled fields, a changed one its modified fields.
    void writtenColumns(bool inserting, std::vector<int> &columns) const;
    void show(int position, bool bof, bool eof);
    // The reference lives until the next fetch.
    const Row &storedRow(int position);
    std::vector<qint64> idsAround(int position) const;
    void reset();

    Database *m_db = nullptr;
    SqlDialect m_dialect;
    QString m_tableName;
    QString m_indexName;
    QString m_filter;
    bool m_filtered = false;
    QPointer<DataSource> m_masterSource;
    QStringList m_masterFields;
    QStringList m_detailFields;

    QString m_storedName;
    std::unique_ptr<RowStore> m_store;
    std::unique_ptr<KeySet> m_keys;
    // The connection's rollback count when the key set was read.
    qint64 m_keysRollbacks = 0;
    Order m_order;
    std::vector<int> m_detailIndexes;
    int m_rowIdField = -1;
    std::optional<Row> m_rangeKey;
    int m_insertPosition = -1;
    int m_direction = 1;
    // The connection's change count when the current row was loaded.
    qint64 m_rowStamp = 0;
    std::vector<int> m_written;
    Row m_emptyRow;
};

} // namespace kb
