#pragma once

#include "Field.h"

namespace kb {

class Statement;

// How field values travel to and from SQLite: dates as 'yyyy-mm-dd' text, money as REAL,
// logical as 0/1, and the order SQLite's ORDER BY gives them.
class StoredValue
{
public:
    static QString quoted(const QString &identifier);
    static void bind(Statement &statement, int index, const FieldValue &value);
    // A date column's stored text becomes the date itself, so rows cost no text for it.
    static FieldValue read(const Statement &statement, int column, FieldType type);
    // The order of ORDER BY: empty first, then numbers, then text (dates are text); text keys by
    // the connection's text collation when collated, else exactly.
    static int compare(const FieldValue &a, const FieldValue &b, bool collated);
};

} // namespace kb
