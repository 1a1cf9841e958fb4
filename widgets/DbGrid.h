#pragma once

#include "TableModel.h"

#include <QColor>
#include <QPersistentModelIndex>
#include <QTableView>

#include <optional>

namespace kb {

class DataSource;
class Field;
class FormatSettings;
class UiServices;

// A grid on a data source: the rows of its cursor, read only as far as they show, so a table of
// any size opens at once. The grid's current row is the cursor's row both ways: the grid follows
// the cursor, and moving to another row moves the cursor, which stores an edited row first. Cells
// are edited in place through the cursor; money shows with the currency symbol, without it while
// edited, logical fields as "Wahr" or "Falsch". A failed write or store reaches the general error
// display and the typed text stays in its cell for correction.
class DbGrid : public QTableView
{
    Q_OBJECT

public:
    struct Column
    {
        QString field;
        QString title;  // empty: the field's name
        int width = 0;  // pixels; 0: the grid's default
        bool readOnly = false;
    };

    // formats must outlive the grid; a change of its currency symbol shows at the next repaint.
    DbGrid(UiServices &ui, const FormatSettings &formats, QWidget *parent = nullptr);

    void bind(DataSource *source);
    DataSource *dataSource() const;
    TableModel *tableModel() const { return m_model; }

    // Empty: every field of the cursor. Throws for a field the open cursor lacks.
    void setColumns(const QList<Column> &columns);
    const QList<Column> &columns() const { return m_columns; }
    bool isReadOnlyColumn(int column) const;
    // The background of read-only columns; the palette's window colour unless set.
    QColor readOnlyBackground() const { return m_readOnlyBackground; }
    void setReadOnlyBackground(const QColor &color);

    // For the cell editor: its first change puts the cursor into editing.
    void startEditing(const QPersistentModelIndex &cell);
    // For the cell editor: text whose write failed, to show again when the cell reopens.
    void keepForCorrection(const QModelIndex &cell, const QString &text);
    std::optional<QString> takeCorrection(const QModelIndex &cell);

private:
    QList<TableModel::Column> modelColumns() const;
    QString cellText(const Field &field, int role) const;
    void applyColumnWidths();
    void followCursor(int row);
    void userMovedTo(const QModelIndex &current);
    void reopenCorrection();

    UiServices &m_ui;
    const FormatSettings &m_formats;
    TableModel *m_model = nullptr;
    QList<Column> m_columns;
    QColor m_readOnlyBackground;
    // The column the grid keeps when it follows the cursor to another row.
    int m_column = 0;
    bool m_following = false;
    QPersistentModelIndex m_correctionCell;
    QString m_correctionText;
};

} // namespace kb
