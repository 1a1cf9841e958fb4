#pragma once

#include <QString>

namespace kb {

// Writes what a file or directory holds through to the disk, so that a rename that follows never
// makes current a file whose content a power failure could still take back.
class FileSync
{
public:
    static bool sync(const QString &path);
};

} // namespace kb
