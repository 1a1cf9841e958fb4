#include "DbGrid.h"

#include "CommandGuard.h"
#include "DataSource.h"
#include "DbGridDelegate.h"
#include "Field.h"
#include "FormatSettings.h"
#include "Table.h"
#include "TableModel.h"

#include <QHeaderView>
#include <QTimer>

namespace kb {

DbGrid::DbGrid(UiServices &ui, const FormatSettings &formats, QWidget *parent)
    : QTableView(parent), m_ui(ui), m_formats(formats), m_readOnlyBackground(palette().color(QPalette::Window))
{
    setItemDelegate(new DbGridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

void DbGrid::bind(DataSource *source)
{
    TableModel *oldModel = m_model;
    QItemSelectionModel *oldSelection = selectionModel();
    m_model = source ? new TableModel(source, this) : nullptr;
    if (m_model) {
        m_model->setFormatter([this](const Field &field, int role) { return cellText(field, role); });
        m_model->setGuard([this](const std::function<void()> &work) { CommandGuard::guard(m_ui, work); });
        m_model->setColumns(modelColumns());
    }
    setModel(m_model);
    delete oldSelection;
    delete oldModel;
    if (!m_model)
        return;
    connect(m_model, &TableModel::currentRowChanged, this, &DbGrid::followCursor);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &DbGrid::userMovedTo);
    applyColumnWidths();
    followCursor(m_model->currentRow());
}

DataSource *DbGrid::dataSource() const
{
    return m_model ? m_model->source() : nullptr;
}

void DbGrid::setColumns(const QList<Column> &columns)
{
    const QList<Column> previous = std::exchange(m_columns, columns);
    try {
        if (m_model)
            m_model->setColumns(modelColumns());
    } catch (...) {
        m_columns = previous;
        throw;
    }
    applyColumnWidths();
}

bool DbGrid::isReadOnlyColumn(int column) const
{
    return column >= 0 && column < m_columns.size() && m_columns[column].readOnly;
}

void DbGrid::setReadOnlyBackground(const QColor &color)
{
    m_readOnlyBackground = color;
    viewport()->update();
}

void DbGrid::startEditing(const QPersistentModelIndex &cell)
{
    Table *table = dataSource() ? dataSource()->table() : nullptr;
    if (!table || !cell.isValid() || table->isEditing())
        return;
    CommandGuard::guard(m_ui, [this, table, &cell] {
        m_model->setCurrentRow(cell.row());
        table->edit();
    });
}

void DbGrid::keepForCorrection(const QModelIndex &cell, const QString &text)
{
    m_correctionCell = cell;
    m_correctionText = text;
    QTimer::singleShot(0, this, &DbGrid::reopenCorrection);
}

std::optional<QString> DbGrid::takeCorrection(const QModelIndex &cell)
{
    if (!m_correctionCell.isValid() || m_correctionCell != cell)
        return std::nullopt;
    m_correctionCell = QPersistentModelIndex();
    return std::exchange(m_correctionText, QString());
}

QList<TableModel::Column> DbGrid::modelColumns() const
{
    QList<TableModel::Column> columns;
    for (const Column &column : m_columns)
        columns.append({column.field, column.title, column.readOnly});
    return columns;
}

QString DbGrid::cellText(const Field &field, int role) const
{
    if (field.isNull())
        return {};
    if (field.type() == FieldType::Money)
        return role == Qt::EditRole ? m_formats.formatAmount(field.asMoney()) : m_formats.formatCurrency(field.asMoney());
    return field.asString();
}

void DbGrid::applyColumnWidths()
{
    // A title is never clipped: a column narrower than its title gets the title's width.
    QHeaderView *header = horizontalHeader();
    for (int column = 0; column < m_columns.size() && column < header->count(); ++column) {
        if (m_columns[column].width > 0)
            header->resizeSection(column, std::max(m_columns[column].width, header->sectionSizeHint(column)));
    }
}

void DbGrid::followCursor(int row)
{
    if (!m_model || (currentIndex().isValid() && currentIndex().row() == row))
        return;
    m_following = true;
    if (row < 0) {
        selectionModel()->clearCurrentIndex();
    } else {
        const QModelIndex cell = m_model->index(row, std::max(m_column, 0));
        selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
        scrollTo(cell);
    }
    m_following = false;
}

void DbGrid::userMovedTo(const QModelIndex &current)
{
    if (current.isValid())
        m_column = current.column();
    if (m_following || !current.isValid() || current.row() == m_model->currentRow())
        return;
    if (!m_correctionCell.isValid())
        CommandGuard::guard(m_ui, [this, row = current.row()] { m_model->setCurrentRow(row); });
    followCursor(m_model->currentRow());
}

void DbGrid::reopenCorrection()
{
    const QModelIndex cell = m_correctionCell;
    if (cell.isValid()) {
        m_following = true;
        setCurrentIndex(cell);
        m_following = false;
        edit(cell);
    }
    m_correctionCell = QPersistentModelIndex();
}

} // namespace kb
