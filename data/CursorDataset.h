#pragma once

#include "Cursor.h"
#include "ReportDataset.h"

#include <functional>

namespace kb {

// A report dataset over one of the data module's cursors: opens it when it is closed, walks it
// in its own order (index, master range and filter apply) and leaves it open at its end.
class CursorDataset : public report::ReportDataset
{
public:
    CursorDataset(Cursor &cursor, std::function<void()> open) : m_cursor(cursor), m_open(std::move(open)) {}

    void first() override;
    void next() override { m_cursor.next(); }
    bool eof() const override { return m_cursor.eof(); }
    int fieldIndex(const QString &name) override;
    report::Value value(int field) const override;
    int position() const override { return m_cursor.position(); }
    void moveTo(int position) override { m_cursor.moveTo(position); }

    // A field's value in the engine's types: amounts as money, dates as dates.
    static report::Value valueOf(const Field &field);

private:
    void ensureOpen();

    Cursor &m_cursor;
    std::function<void()> m_open;
};

} // namespace kb
