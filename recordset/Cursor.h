#pragma once

#include "Field.h"

#include <memory>
#include <vector>

namespace kb {

enum class CursorState { Inactive, Browse, Edit, Insert };

// One row's values in the order of the cursor's fields.
using Row = std::vector<FieldValue>;

// Told by a cursor what happens to it; a data source passes it on to its observers. These are
// plain calls: an exception from an observer propagates into the cursor operation that told it.
class CursorObserver
{
public:
    // The current row is about to be left or replaced while it still stands: detail cursors store
    // their pending rows now; an exception stops the move before anything moved.
    virtual void cursorRecordChanging() {}
    // The current row is another one, or its values were loaded again.
    virtual void cursorRecordChanged() {}
    // Rows came, went or changed their order: open, close, refresh, filter, range, store, delete.
    virtual void cursorRowsChanged() {}
    // A field of the current row was written.
    virtual void cursorFieldChanged(Field &) {}
    virtual void cursorStateChanged() {}
    // A store is about to begin: controls write their pending input into the fields now.
    virtual void cursorUpdateRecord() {}
    virtual void cursorDestroyed() {}

protected:
    ~CursorObserver() = default;
};

// What table cursors and the SQL cursor have in common: a current row with its fields, moving,
// the at-start and at-end flags, and observers. Field references stay valid while it is open.
class Cursor
{
public:
    Cursor() = default;
    virtual ~Cursor();
    Cursor(const Cursor &) = delete;
    Cursor &operator=(const Cursor &) = delete;

    bool isOpen() const { return m_state != CursorState::Inactive; }
    CursorState state() const { return m_state; }
    bool isEditing() const { return m_state == CursorState::Edit || m_state == CursorState::Insert; }

    virtual void first() = 0;
    virtual void last() = 0;
    virtual void next() = 0;
    virtual void prior() = 0;
    // Moves to the row at position among the rows as they are now.
    virtual void moveTo(int position) = 0;
    // First sets bof, last sets eof; next on the last row sets eof, prior on the first sets bof;
    // both are true when there are no rows.
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }

    // The number of rows, within range and filter; a row being inserted is not counted yet.
    virtual int recordCount() = 0;
    // The current row's position from 0; while inserting the place the new row shows at;
    // -1 without rows.
    virtual int position() const { return m_position; }
    // A stored row's value without moving the cursor; for grids.
    virtual FieldValue valueAt(int position, int fieldIndex) = 0;

    // A field's value as held, unread or not, and whether it was written since the row was loaded.
    struct FieldState
    {
        FieldValue value;
        bool modified = false;
    };

    int fieldCount() const { return int(m_fields.size()); }
    Field &field(int index) { return *m_fields.at(size_t(index)); }
    const Field &field(int index) const { return *m_fields.at(size_t(index)); }
    // Without regard to case; -1 or nullptr when there is no such field.
    int fieldIndex(const QString &name) const;
    Field *findField(const QString &name) const;
    // Throws an EngineError naming the field when there is none.
    Field &fieldByName(const QString &name) const;

    void addObserver(CursorObserver *observer);
    void removeObserver(CursorObserver *observer);

protected:
    // The name messages show: the table's name, or "Query".
    virtual QString displayName() const = 0;
    // Fetches the values of the current row that were not read yet; asked is the field being read,
    // if any.
    virtual void loadMissingValues(const Field *asked);
    bool hasMissingValues() const;

    void setFields(std::vector<std::unique_ptr<Field>> fields);
    int indexOf(const Field &field) const;
    void removeFields();
    // Loads the row into the fields; they count as unmodified afterwards. Unread values stay
    // unread until asked for.
    void loadRow(const Row &row);
    // Fills only the fields whose values are unread.
    void fillMissingValues(const Row &row);
    void clearRow();
    void markUnmodified();
    std::vector<FieldState> fieldStates() const;
    void restoreFieldStates(const std::vector<FieldState> &states);
    // The values of the current row; fetches unread ones first.
    Row currentRow();
    void setState(CursorState state);
    void checkOpen() const;

    void notifyRecordChanging();
    void notifyRecordChanged();
    void notifyRowsChanged();
    void notifyUpdateRecord();

    [[noreturn]] void fail(const QString &message) const;
    // The position one step (+1 or -1) from the current row among count rows; -1 when the step
    // runs off an end, which then sets bof or eof as next and prior must.
    int stepTarget(int step, int count);

    int m_position = -1;
    bool m_bof = true;
    bool m_eof = true;

private:
    friend class Field;

    void beforeFieldWrite(const Field &field) const;
    void afterFieldWrite(Field &field);
    template <typename Event>
    void notify(Event event);

    CursorState m_state = CursorState::Inactive;
    std::vector<std::unique_ptr<Field>> m_fields;
    std::vector<CursorObserver *> m_observers;
};

} // namespace kb
