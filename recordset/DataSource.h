#pragma once

#include "Cursor.h"

#include <QObject>

#include <vector>

namespace kb {

class Table;

// Told by a data source what happens to its cursor, as plain calls: detail cursors and field
// bindings, whose work can fail, follow a data source through this; an exception propagates into
// the cursor operation. The data source's Qt signals are only notices to repaint.
class DataSourceObserver : public CursorObserver
{
public:
    virtual void dataSourceDestroyed() {}

protected:
    ~DataSourceObserver() = default;
};

// Binds a cursor to controls and detail cursors: passes on what happens to the cursor, first to
// its observers, then as signals for repainting. Does not own the cursor; either may go first.
class DataSource : public QObject, private CursorObserver
{
    Q_OBJECT

public:
    explicit DataSource(Cursor *cursor = nullptr, QObject *parent = nullptr);
    ~DataSource() override;

    Cursor *cursor() const { return m_cursor; }
    // The cursor as a table cursor; nullptr for the SQL cursor or none.
    Table *table() const;
    void setCursor(Cursor *cursor);
    CursorState state() const;

    // Observers are told in the order they were added.
    void addObserver(DataSourceObserver *observer);
    void removeObserver(DataSourceObserver *observer);

signals:
    // The current row is another one or its values were loaded again (scroll, refresh, store).
    void recordChanged();
    // Rows came, went or changed order; a grid reads them again.
    void rowsChanged();
    void fieldChanged(kb::Field *field);
    void stateChanged(kb::CursorState state);

private:
    void cursorRecordChanging() override;
    void cursorRecordChanged() override;
    void cursorRowsChanged() override;
    void cursorFieldChanged(Field &field) override;
    void cursorStateChanged() override;
    void cursorUpdateRecord() override;
    void cursorDestroyed() override;

    template <typename Event>
    void tell(Event event);

    Cursor *m_cursor = nullptr;
    std::vector<DataSourceObserver *> m_observers;
};

} // namespace kb

Q_DECLARE_METATYPE(kb::CursorState)
