#pragma once

#include <QStringView>

struct sqlite3;

namespace kb {

// SQLite's LIKE folds only ASCII letters; this one ignores case for every letter through Unicode
// case folding, so "BÜRO" finds "Bürobedarf". % stands for any run of characters, _ for one;
// an ESCAPE character takes the next pattern character literally. A NULL operand gives NULL.
class UnicodeLike
{
public:
    // Replaces like() with two and three arguments on the connection.
    static void registerOn(sqlite3 *db);

    static bool matches(QStringView pattern, QStringView text, QChar escape = QChar());
};

} // namespace kb
