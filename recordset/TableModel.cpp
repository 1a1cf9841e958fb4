#include "TableModel.h"

#include "DataSource.h"
#include "Table.h"

namespace kb {

TableModel::TableModel(DataSource *source, QObject *parent)
    : QAbstractTableModel(parent), m_source(source)
{
    connect(source, &DataSource::rowsChanged, this, &TableModel::rowsChanged);
    connect(source, &DataSource::recordChanged, this, &TableModel::recordChanged);
    connect(source, &DataSource::stateChanged, this, &TableModel::recordChanged);
    connect(source, &DataSource::fieldChanged, this, &TableModel::fieldChanged);
    resetRows();
}

void TableModel::setColumns(const QList<Column> &columns)
{
    m_configured = columns;
    resetRows();
    Cursor *cursor = m_source ? m_source->cursor() : nullptr;
    for (qsizetype i = 0; cursor && cursor->isOpen() && i < m_shown.size(); ++i) {
        if (m_fieldIndexes[size_t(i)] < 0)
            cursor->fieldByName(m_shown[i].fieldName);
    }
}

void TableModel::setFormatter(Formatter formatter)
{
    m_formatter = std::move(formatter);
    if (m_rowCount > 0)
        emit dataChanged(index(0, 0), index(m_rowCount - 1, int(m_shown.size()) - 1));
}

int TableModel::fieldIndex(int column) const
{
    return column >= 0 && size_t(column) < m_fieldIndexes.size() ? m_fieldIndexes[size_t(column)] : -1;
}

int TableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int TableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    Cursor *cursor = m_source ? m_source->cursor() : nullptr;
    const int fieldIndex = this->fieldIndex(index.column());
    if (!cursor || !index.isValid() || fieldIndex < 0 || fieldIndex >= cursor->fieldCount())
        return {};
    const Field &field = cursor->field(fieldIndex);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue((field.isNumeric() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    try {
        const int position = storedPosition(index.row());
        if (position < 0 || (cursor->state() == CursorState::Edit && position == cursor->position()))
            return text(field, role);
        return text(field.withValue(cursor->valueAt(position, fieldIndex)), role);
    } catch (const std::exception &) {
        // Painting cannot report; the error shows when the row is used.
        return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_shown.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column &column = m_shown[section];
    return column.title.isEmpty() ? column.fieldName : column.title;
}

Qt::ItemFlags TableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const bool editable = !m_readOnly && m_source && m_source->table() && index.isValid()
        && !m_shown[index.column()].readOnly && fieldIndex(index.column()) >= 0;
    return editable ? flags | Qt::ItemIsEditable : flags;
}

bool TableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    bool written = false;
    const auto work = [&] {
        setCurrentRow(index.row());
        Table *table = m_source->table();
        table->edit();
        table->field(fieldIndex(index.column())).setAsString(value.toString());
        written = true;
    };
    if (m_guard)
        m_guard(work);
    else
        work();
    return written;
}

int TableModel::currentRow() const
{
    Cursor *cursor = m_source ? m_source->cursor() : nullptr;
    return cursor && cursor->isOpen() ? cursor->position() : -1;
}

void TableModel::setCurrentRow(int row)
{
    Cursor *cursor = m_source ? m_source->cursor() : nullptr;
    if (!cursor || !cursor->isOpen() || row == currentRow() || row < 0 || row >= m_rowCount)
        return;
    const bool inserting = cursor->state() == CursorState::Insert;
    cursor->moveTo(inserting && row > cursor->position() ? row - 1 : row);
}

void TableModel::rowsChanged()
{
    resetRows();
    emit currentRowChanged(currentRow());
}

void TableModel::recordChanged()
{
    if (shownRows() != m_rowCount) {
        rowsChanged();
        return;
    }
    emitRowChanged(currentRow());
    emit currentRowChanged(currentRow());
}

void TableModel::fieldChanged(Field *field)
{
    const int row = currentRow();
    Cursor *cursor = m_source ? m_source->cursor() : nullptr;
    for (size_t column = 0; cursor && row >= 0 && column < m_fieldIndexes.size(); ++column) {
        if (m_fieldIndexes[column] >= 0 && &cursor->field(m_fieldIndexes[column]) == field)
            emit dataChanged(index(row, int(column)), index(row, int(column)));
    }
}

void TableModel::resetRows()
{
    beginResetModel();
    resolveColumns();
    m_rowCount = shownRows();
    endResetModel();
}

void TableModel::resolveColumns()
{
    Cursor *cursor = m_source ? m_source->cursor() : nullptr;
    m_shown = m_configured;
    if (m_shown.isEmpty() && cursor) {
        for (int i = 0; i < cursor->fieldCount(); ++i)
            m_shown.append({cursor->field(i).name(), QString(), false});
    }
    m_fieldIndexes.clear();
    for (const Column &column : std::as_const(m_shown))
        m_fieldIndexes.push_back(cursor ? cursor->fieldIndex(column.fieldName) : -1);
}

int TableModel::shownRows() const
{
    Cursor *cursor = m_source ? m_source->cursor() : nullptr;
    if (!cursor || !cursor->isOpen())
        return 0;
    return cursor->recordCount() + (cursor->state() == CursorState::Insert ? 1 : 0);
}

int TableModel::storedPosition(int row) const
{
    Cursor *cursor = m_source->cursor();
    if (cursor->state() != CursorState::Insert)
        return row;
    const int inserted = cursor->position();
    return row == inserted ? -1 : (row > inserted ? row - 1 : row);
}

QString TableModel::text(const Field &field, int role) const
{
    return m_formatter ? m_formatter(field, role) : field.asString();
}

void TableModel::emitRowChanged(int row)
{
    if (row >= 0 && row < m_rowCount && !m_shown.isEmpty())
        emit dataChanged(index(row, 0), index(row, int(m_shown.size()) - 1));
}

} // namespace kb
