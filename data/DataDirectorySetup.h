#pragma once

#include <QString>

namespace kb {

// Makes a fresh Data/ directory: the eight empty tables, the company "Beispielfirma", a small
// standard chart of accounts, a few standard texts and the four report templates. Never touches
// an existing Data/.
class DataDirectorySetup
{
public:
    static QString dataDirectory(const QString &programDirectory);
    static QString databasePath(const QString &programDirectory);

    // Throws kb::Error when Data/ already exists or cannot be made; nothing is left half-made.
    static void create(const QString &programDirectory);
};

} // namespace kb
