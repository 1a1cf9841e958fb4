#pragma once

#include <QString>

namespace kb {

// Puts the files of the staging directory in place of the data directory's files of the same
// name, all or nothing, also when the process is killed on the way: the new data directory is
// built beside the old one from links to the files that stay and the staged files, and the two
// directories then trade places in one step of the file system. Until that step the data
// directory is untouched; after it, it is complete.
class DataDirectoryReplacement
{
public:
    // workDirectory: an unused name beside the data directory, on the same file system; what an
    // interrupted earlier run left there is removed first. The staged files leave the staging
    // directory. Throws Error; the data directory then holds what it held before.
    static void replace(const QString &dataDirectory, const QString &stagingDirectory, const QString &workDirectory);
};

} // namespace kb
