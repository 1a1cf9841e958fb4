#include "FileSync.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace kb {

bool FileSync::sync(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool done = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return done;
}

} // namespace kb
