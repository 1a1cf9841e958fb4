#pragma once

#include <QString>

namespace kb {

// Tells whether the database extracted from a backup is one the program can work with, before
// it takes the place of the one in Data/.
class StagedDatabaseCheck
{
public:
    // Throws Error unless the directory holds the database file, SQLite's integrity check passes
    // on it and it has every table of the schema.
    static void check(const QString &directory);
};

} // namespace kb
