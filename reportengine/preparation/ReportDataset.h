#pragma once

#include "Value.h"

#include <QString>

namespace kb::report {

// What the engine knows of data: a cursor it walks from the first row to the end, reading fields
// by index. The adapters over the program's cursors live outside the engine.
class ReportDataset
{
public:
    virtual ~ReportDataset() = default;
    // Opens the cursor when it is closed and moves to the first row.
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    // -1 when there is no such field (names compared without regard to case).
    virtual int fieldIndex(const QString &name) = 0;
    virtual Value value(int field) const = 0;
    // For a look ahead; moveTo returns to a position told before.
    virtual int position() const = 0;
    virtual void moveTo(int position) = 0;
};

} // namespace kb::report
