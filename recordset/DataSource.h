#pragma once

#include "Cursor.h"

#include <QObject>

namespace kb {

class Table;

// Binds a cursor to controls: passes on what happens to the cursor as signals. A detail table
// follows the data source of its master. Does not own the cursor; either may go first.
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

signals:
    // The current row is another one or its values were loaded again (scroll, refresh, store).
    void recordChanged();
    // Rows came, went or changed order; a grid reads them again.
    void rowsChanged();
    void fieldChanged(kb::Field *field);
    void stateChanged(kb::CursorState state);
    // A store begins: controls write their pending input into the fields now.
    void updateRecord();

private:
    void cursorRecordChanged() override { emit recordChanged(); }
    void cursorRowsChanged() override { emit rowsChanged(); }
    void cursorFieldChanged(Field &field) override { emit fieldChanged(&field); }
    void cursorStateChanged() override { emit stateChanged(state()); }
    void cursorUpdateRecord() override { emit updateRecord(); }
    void cursorDestroyed() override;

    Cursor *m_cursor = nullptr;
};

} // namespace kb

Q_DECLARE_METATYPE(kb::CursorState)
