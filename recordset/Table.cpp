#include "Table.h"

#include "DataSource.h"
#include "Database.h"
#include "Errors.h"
#include "RowStore.h"
#include "SchemaCatalogue.h"
#include "StoredValue.h"

#include <algorithm>

namespace kb {

namespace {

bool isText(FieldType type)
{
    return type == FieldType::Text || type == FieldType::Memo;
}

} // namespace

Table::Table(Database *db)
    : m_db(db)
{
}

Table::~Table()
{
    disconnectMaster();
}

void Table::setDatabase(Database *db)
{
    close();
    m_db = db;
}

void Table::setTableName(const QString &name)
{
    checkClosed();
    m_tableName = name;
}

void Table::setIndexName(const QString &name)
{
    reconfigure([&] { m_indexName = name; }, true);
}

void Table::setFilter(const QString &filter)
{
    reconfigure([&] { m_filter = filter; }, false);
}

void Table::setFiltered(bool filtered)
{
    reconfigure([&] { m_filtered = filtered; }, false);
}

void Table::setMasterSource(DataSource *source, const QStringList &masterFields, const QStringList &detailFields)
{
    if (masterFields.size() != detailFields.size())
        fail(QStringLiteral("Die Zahl der Master- und Detailfelder ist verschieden"));
    checkBrowseMode();
    const std::vector<int> indexes = isOpen() ? detailIndexes(detailFields) : std::vector<int>();
    disconnectMaster();
    m_masterSource = source;
    m_masterFields = masterFields;
    m_detailFields = detailFields;
    connectMaster();
    if (isOpen()) {
        m_detailIndexes = indexes;
        for (int column : m_detailIndexes)
            m_store->use(column);
        rebuild(false);
    }
}

void Table::open()
{
    if (isOpen())
        return;
    if (!m_db)
        fail(QStringLiteral("Keine Datenbank zugewiesen"));
    const QString catalogued = SchemaCatalogue::fileNameToTable(m_tableName);
    m_storedName = catalogued.isEmpty() ? m_tableName : catalogued;
    try {
        setFields(fieldsOfFile());
        m_emptyRow = Row(size_t(fieldCount()));
        m_detailIndexes = detailIndexes(m_detailFields);
        QStringList names;
        std::vector<FieldType> types;
        for (int i = 0; i < fieldCount(); ++i) {
            names.append(field(i).name());
            types.push_back(field(i).type());
            if (m_rowIdField < 0 && field(i).type() == FieldType::AutoIncrement)
                m_rowIdField = i;
        }
        Order order = orderOf(m_indexName);
        m_store = std::make_unique<RowStore>(*m_db, m_storedName, names, std::move(types), keyColumns(order));
        std::optional<Row> rangeKey;
        m_keys = makeKeySet(order, rangeKey);
        m_order = std::move(order);
        m_rangeKey = std::move(rangeKey);
    } catch (...) {
        reset();
        throw;
    }
    setState(CursorState::Browse);
    m_direction = 1;
    const int count = recordCount();
    show(count > 0 ? 0 : -1, true, count == 0);
    notifyRowsChanged();
}

void Table::close()
{
    if (!isOpen())
        return;
    reset();
    setState(CursorState::Inactive);
    notifyRowsChanged();
    notifyRecordChanged();
}

void Table::first()
{
    checkOpen();
    checkBrowseMode();
    m_direction = 1;
    const int count = recordCount();
    show(count > 0 ? 0 : -1, true, count == 0);
}

void Table::last()
{
    checkOpen();
    checkBrowseMode();
    m_direction = -1;
    const int count = recordCount();
    show(count - 1, count == 0, true);
}

void Table::next()
{
    checkOpen();
    checkBrowseMode();
    m_direction = 1;
    if (const int target = stepTarget(1, recordCount()); target >= 0)
        show(target, false, false);
}

void Table::prior()
{
    checkOpen();
    checkBrowseMode();
    m_direction = -1;
    if (const int target = stepTarget(-1, recordCount()); target >= 0)
        show(target, false, false);
}

void Table::moveTo(int position)
{
    checkOpen();
    if (isEditing()) {
        const bool stored = position >= 0 && position < recordCount();
        const qint64 target = stored ? m_keys->id(position) : 0;
        post();
        if (const int now = stored ? m_keys->indexOf(target) : -1; now >= 0)
            position = now;
    } else if (position == m_position) {
        return;
    }
    const int count = recordCount();
    m_direction = 1;
    if (count == 0)
        show(-1, true, true);
    else
        show(std::clamp(position, 0, count - 1), false, false);
}

int Table::recordCount()
{
    return m_keys ? m_keys->size() : 0;
}

int Table::position() const
{
    return state() == CursorState::Insert ? m_insertPosition : m_position;
}

FieldValue Table::valueAt(int position, int fieldIndex)
{
    if (!isOpen() || position < 0 || position >= recordCount() || fieldIndex < 0 || fieldIndex >= fieldCount())
        return {};
    const FieldValue &value = storedRow(position)[size_t(fieldIndex)];
    if (!std::holds_alternative<Unread>(value))
        return value;
    m_store->use(fieldIndex);
    const Row *row = m_store->complete(m_keys->id(position));
    return row ? (*row)[size_t(fieldIndex)] : FieldValue();
}

bool Table::locate(const QString &fields, const QVariant &value, LocateOption option)
{
    const QStringList names = fields.split(QLatin1Char(';'));
    return locate(names, names.size() > 1 ? value.toList() : QVariantList{value}, option);
}

bool Table::locate(const QStringList &fields, const QVariantList &values, LocateOption option)
{
    checkOpen();
    if (fields.size() != values.size())
        fail(QStringLiteral("Die Zahl der Suchfelder und Suchwerte ist verschieden"));
    QStringList conditions;
    Row parameters;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const Field &target = fieldByName(fields[i].trimmed());
        Field probe(target.name(), target.type());
        probe.setAsVariant(values[i]);
        const QString column = StoredValue::quoted(target.name());
        if (probe.isNull()) {
            conditions.append(column + QStringLiteral(" IS NULL"));
            continue;
        }
        if (option == LocateOption::CaseInsensitivePrefix && isText(target.type()))
            conditions.append(QStringLiteral("%1(%2, ?)").arg(Database::startsWithFunction(), column));
        else
            conditions.append(column + QStringLiteral(" = ?"));
        parameters.push_back(probe.value());
    }
    checkBrowseMode();
    const std::optional<qint64> id = m_keys->firstMatch(conditions.join(QStringLiteral(" AND ")), parameters);
    const int position = id ? m_keys->indexOf(*id) : -1;
    if (position < 0)
        return false;
    m_direction = 1;
    show(position, false, false);
    return true;
}

void Table::edit()
{
    checkOpen();
    if (isEditing())
        return;
    if (recordCount() == 0) {
        insert();
        return;
    }
    // Something else may have written the row since it was loaded: edit what the file holds.
    if (m_rowStamp != m_db->totalChanges()) {
        loadRow(storedRow(m_position));
        m_rowStamp = m_db->totalChanges();
        notifyRecordChanged();
    }
    setState(CursorState::Edit);
}

void Table::append()
{
    startInsert(true);
}

void Table::insert()
{
    startInsert(false);
}

void Table::post()
{
    if (!isEditing())
        return;
    notifyUpdateRecord();
    if (beforePost)
        beforePost(*this);
    if (isEditing())
        store();
    if (afterPost)
        afterPost(*this);
}

void Table::cancel()
{
    if (!isEditing())
        return;
    m_insertPosition = -1;
    const int count = recordCount();
    setState(CursorState::Browse);
    if (count == 0)
        show(-1, true, true);
    else
        show(std::clamp(m_position, 0, count - 1), false, false);
}

void Table::deleteRecord()
{
    checkOpen();
    if (state() == CursorState::Insert) {
        cancel();
        return;
    }
    if (recordCount() == 0)
        fail(QStringLiteral("Operation bei leerer Datenmenge nicht ausführbar"));
    if (beforeDelete)
        beforeDelete(*this);
    const qint64 id = m_keys->id(m_position);
    {
        Transaction transaction(*m_db);
        m_store->remove(id);
        transaction.commit();
    }
    m_keys->removeAt(m_position);
    setState(CursorState::Browse);
    const int count = recordCount();
    if (count == 0)
        show(-1, true, true);
    else
        show(std::min(m_position, count - 1), false, false);
    notifyRowsChanged();
    if (afterDelete)
        afterDelete(*this);
}

void Table::refresh()
{
    checkOpen();
    checkBrowseMode();
    m_store->clear();
    rebuild(true);
}

void Table::loadMissingValues(const Field *asked)
{
    if (const int index = asked ? indexOf(*asked) : -1; index >= 0)
        m_store->use(index);
    const Row *row = m_position >= 0 ? m_store->complete(m_keys->id(m_position)) : nullptr;
    fillMissingValues(row ? *row : m_emptyRow);
}

std::vector<int> Table::keyColumns(const Order &order) const
{
    std::vector<int> columns = m_detailIndexes;
    for (const SortKey &key : order.keys)
        columns.push_back(key.field);
    return columns;
}

QString Table::displayName() const
{
    return m_tableName.isEmpty() ? QStringLiteral("Table") : m_tableName;
}

void Table::checkClosed() const
{
    if (isOpen())
        fail(QStringLiteral("Die Operation ist bei einer geöffneten Datenmenge nicht möglich"));
}

void Table::checkBrowseMode()
{
    if (isEditing())
        post();
}

void Table::reconfigure(const std::function<void()> &change, bool keepRow)
{
    checkBrowseMode();
    const QString indexName = m_indexName;
    const QString filter = m_filter;
    const bool filtered = m_filtered;
    change();
    if (!isOpen())
        return;
    try {
        rebuild(keepRow);
    } catch (...) {
        m_indexName = indexName;
        m_filter = filter;
        m_filtered = filtered;
        throw;
    }
}

std::vector<std::unique_ptr<Field>> Table::fieldsOfFile() const
{
    const QList<ColumnInfo> columns = m_db->columns(m_storedName);
    if (columns.isEmpty())
        fail(QStringLiteral("Die Tabelle ist nicht vorhanden"));
    std::vector<std::unique_ptr<Field>> fields;
    for (const ColumnInfo &column : columns) {
        int width = 0;
        const FieldType type = SchemaCatalogue::typeFromDeclaration(column.declaredType, column.primaryKey, &width);
        fields.push_back(std::make_unique<Field>(column.name, type, width));
    }
    return fields;
}

std::vector<int> Table::detailIndexes(const QStringList &names) const
{
    std::vector<int> indexes;
    for (const QString &name : names) {
        fieldByName(name);
        indexes.push_back(fieldIndex(name));
    }
    return indexes;
}

Table::Order Table::orderOf(const QString &indexName) const
{
    Order order;
    QStringList terms;
    bool endsWithRowId = false;
    if (!indexName.isEmpty()) {
        const TableDef *table = SchemaCatalogue::table(m_storedName);
        const IndexDef *index = table ? table->index(indexName) : nullptr;
        if (!index)
            fail(QStringLiteral("Index '%1' nicht gefunden").arg(indexName));
        for (const QString &name : index->fields) {
            const Field &key = fieldByName(name);
            const int i = fieldIndex(name);
            const bool collated = isText(key.type());
            terms.append(StoredValue::quoted(key.name())
                         + (collated ? QStringLiteral(" COLLATE ") + Database::textCollation() : QString()));
            order.keys.push_back({i, collated});
            endsWithRowId = i == m_rowIdField;
        }
    }
    if (!endsWithRowId)
        terms.append(QStringLiteral("rowid"));
    order.sql = terms.join(QStringLiteral(", "));
    return order;
}

std::unique_ptr<KeySet> Table::makeKeySet(const Order &order, std::optional<Row> &rangeKey) const
{
    QStringList conditions;
    Row parameters;
    bool alwaysEmpty = false;
    if (m_masterSource) {
        rangeKey = masterKey();
        alwaysEmpty = !rangeKey;
        for (size_t i = 0; rangeKey && i < m_detailIndexes.size(); ++i) {
            conditions.append(StoredValue::quoted(field(m_detailIndexes[i]).name()) + QStringLiteral(" = ?"));
            parameters.push_back((*rangeKey)[i]);
        }
    }
    if (m_filtered && !m_filter.trimmed().isEmpty())
        conditions.append(QLatin1Char('(') + m_dialect.translateCondition(m_filter, m_storedName) + QLatin1Char(')'));
    auto keys = std::make_unique<KeySet>(*m_db, m_storedName, conditions.join(QStringLiteral(" AND ")),
                                         std::move(parameters), order.sql, order.keys, alwaysEmpty);
    keys->load();
    return keys;
}

std::optional<Row> Table::masterKey() const
{
    Cursor *master = m_masterSource ? m_masterSource->cursor() : nullptr;
    if (!master || !master->isOpen() || master->position() < 0)
        return std::nullopt;
    Row key;
    for (const QString &name : m_masterFields) {
        const Field &masterField = master->fieldByName(name);
        if (masterField.isNull())
            return std::nullopt;
        key.push_back(masterField.value());
    }
    return key;
}

void Table::connectMaster()
{
    if (!m_masterSource)
        return;
    const auto follow = [this] { masterChanged(); };
    m_masterConnections.append(QObject::connect(m_masterSource, &DataSource::recordChanged, m_masterSource, follow));
    m_masterConnections.append(QObject::connect(m_masterSource, &DataSource::rowsChanged, m_masterSource, follow));
}

void Table::disconnectMaster()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_masterConnections))
        QObject::disconnect(connection);
    m_masterConnections.clear();
}

void Table::masterChanged()
{
    if (!isOpen() || masterKey() == m_rangeKey)
        return;
    checkBrowseMode();
    rebuild(false);
}

void Table::rebuild(bool keepRow)
{
    const bool onRow = keepRow && m_position >= 0 && m_position < recordCount();
    const qint64 current = onRow ? m_keys->id(m_position) : 0;
    Order order = orderOf(m_indexName);
    std::optional<Row> rangeKey;
    std::unique_ptr<KeySet> keys = makeKeySet(order, rangeKey);
    if (order.sql != m_order.sql) {
        for (int column : keyColumns(order))
            m_store->use(column);
        m_store->clear();
    }
    m_keys = std::move(keys);
    m_order = std::move(order);
    m_rangeKey = std::move(rangeKey);
    const int count = recordCount();
    int position = count > 0 ? 0 : -1;
    if (keepRow && count > 0) {
        const int found = onRow ? m_keys->indexOf(current) : -1;
        position = found >= 0 ? found : std::clamp(m_position, 0, count - 1);
    }
    show(position, !keepRow || count == 0, count == 0);
    notifyRowsChanged();
}

void Table::startInsert(bool atEnd)
{
    checkOpen();
    checkBrowseMode();
    if (beforeInsert)
        beforeInsert(*this);
    m_insertPosition = atEnd ? recordCount() : std::max(m_position, 0);
    clearRow();
    m_bof = false;
    m_eof = false;
    setState(CursorState::Insert);
    fillMasterLink();
    notifyRecordChanged();
    if (afterInsert)
        afterInsert(*this);
}

void Table::fillMasterLink()
{
    const std::optional<Row> key = m_masterSource ? masterKey() : std::nullopt;
    for (size_t i = 0; key && i < m_detailIndexes.size(); ++i)
        field(m_detailIndexes[i]).assign((*key)[i]);
}

void Table::store()
{
    if (state() == CursorState::Insert)
        storeNewRow();
    else
        storeChangedRow();
}

void Table::storeChangedRow()
{
    const qint64 id = m_keys->id(m_position);
    writtenColumns(false, m_written);
    if (!m_written.empty()) {
        Transaction transaction(*m_db);
        m_store->update(id, m_written, [this](int column) -> const FieldValue & { return field(column).value(); });
        transaction.commit();
    }
    if (changesRange(m_written)) {
        Row row = currentRow();
        m_keys->removeAt(m_position);
        placeStoredRow(id, std::move(row), m_position);
        return;
    }
    markUnmodified();
    m_rowStamp = m_db->totalChanges();
    setState(CursorState::Browse);
    notifyRecordChanged();
}

void Table::storeNewRow()
{
    writtenColumns(true, m_written);
    Row row = currentRow();
    qint64 id = 0;
    {
        Transaction transaction(*m_db);
        id = m_store->insert(m_written, row);
        transaction.commit();
    }
    if (m_rowIdField >= 0)
        row[size_t(m_rowIdField)] = id;
    placeStoredRow(id, std::move(row), m_position);
}

void Table::placeStoredRow(qint64 id, Row row, int fallback)
{
    int position = fallback;
    if (m_keys->contains(id)) {
        position = m_keys->sortedPosition(id, row, [this](int p) -> const Row & { return storedRow(p); });
        m_keys->insertAt(position, id);
    }
    m_store->put(id, std::move(row));
    m_insertPosition = -1;
    setState(CursorState::Browse);
    const int count = recordCount();
    if (count == 0)
        show(-1, true, true);
    else
        show(std::clamp(position, 0, count - 1), false, false);
    notifyRowsChanged();
}

bool Table::changesRange(const std::vector<int> &written) const
{
    if (written.empty())
        return false;
    if (m_filtered && !m_filter.trimmed().isEmpty())
        return true;
    return std::any_of(written.begin(), written.end(), [this](int column) {
        return std::find(m_detailIndexes.begin(), m_detailIndexes.end(), column) != m_detailIndexes.end()
            || std::any_of(m_order.keys.begin(), m_order.keys.end(), [column](const SortKey &k) { return k.field == column; });
    });
}

void Table::writtenColumns(bool inserting, std::vector<int> &columns) const
{
    columns.clear();
    for (int i = 0; i < fieldCount(); ++i) {
        const Field &f = field(i);
        if (inserting ? !f.isNull() : f.isModified())
            columns.push_back(i);
    }
}

void Table::show(int position, bool bof, bool eof)
{
    m_rowStamp = m_db->totalChanges();
    m_position = position;
    m_bof = bof;
    m_eof = eof;
    if (position < 0)
        clearRow();
    else
        loadRow(storedRow(position));
    notifyRecordChanged();
}

const Row &Table::storedRow(int position)
{
    const qint64 id = m_keys->id(position);
    if (const Row *row = m_store->cached(id))
        return *row;
    m_store->fetch(idsAround(position));
    const Row *row = m_store->cached(id);
    return row ? *row : m_emptyRow;
}

std::vector<qint64> Table::idsAround(int position) const
{
    std::vector<qint64> ids;
    ids.reserve(RowStore::BatchSize);
    const int count = m_keys->size();
    for (int p = position; ids.size() < size_t(RowStore::BatchSize) && p >= 0 && p < count; p += m_direction)
        ids.push_back(m_keys->id(p));
    return ids;
}

void Table::reset()
{
    m_keys.reset();
    m_store.reset();
    removeFields();
    m_emptyRow.clear();
    m_detailIndexes.clear();
    m_rowIdField = -1;
    m_rangeKey.reset();
    m_insertPosition = -1;
    m_position = -1;
    m_bof = true;
    m_eof = true;
}

} // namespace kb
