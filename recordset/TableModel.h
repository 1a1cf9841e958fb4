#pragma once

#include "DataSource.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <functional>
#include <vector>

namespace kb {

// Shows a data source's cursor in a grid. It reads only the rows the view asks for, by position
// through the cursor, and keeps no copy of its own; the grid's current row is the cursor's row,
// and a row being inserted shows where the cursor inserts it. Edits go through the cursor.
class TableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString fieldName;
        QString title; // empty: the field's name
        bool readOnly = false;
    };
    // The text of a field for Qt::DisplayRole or Qt::EditRole; by default its text form.
    using Formatter = std::function<QString(const Field &field, int role)>;
    // Runs the work of an edit made in the grid, so that its errors reach the user; without one
    // they propagate.
    using Guard = std::function<void(const std::function<void()> &work)>;

    explicit TableModel(DataSource *source, QObject *parent = nullptr);

    DataSource *source() const { return m_source; }
    // Empty: every field of the cursor, titled by its name. Throws for a field the open cursor lacks.
    void setColumns(const QList<Column> &columns);
    const QList<Column> &columns() const { return m_shown; }
    void setFormatter(Formatter formatter);
    void setGuard(Guard guard) { m_guard = std::move(guard); }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // The cursor's field index a column shows, -1 when the cursor has no such field.
    int fieldIndex(int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Moves the cursor to the row, puts it into editing and writes the text into the field.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The cursor's row in the grid, -1 without rows.
    int currentRow() const;
    // Moves the cursor to the grid's row; a pending edit is stored first (and may throw).
    void setCurrentRow(int row);

signals:
    void currentRowChanged(int row);

private:
    void rowsChanged();
    void recordChanged();
    void fieldChanged(Field *field);
    void resetRows();
    void resolveColumns();
    int shownRows() const;
    // The cursor position of a grid row; -1 for the row being inserted.
    int storedPosition(int row) const;
    QString text(const Field &field, int role) const;
    void emitRowChanged(int row);

    QPointer<DataSource> m_source;
    QList<Column> m_configured;
    QList<Column> m_shown;
    std::vector<int> m_fieldIndexes;
    Formatter m_formatter;
    Guard m_guard;
    bool m_readOnly = false;
    int m_rowCount = 0;
};

} // namespace kb
