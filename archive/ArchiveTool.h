#pragma once

#include <QStringList>
#include <QTextStream>

namespace kb {

// The command-line tool for backup archives: list, test, extract and create. Errors go to the
// error stream with the archive component's text.
class ArchiveTool
{
public:
    enum ExitCode { Success = 0, Failure = 1, UsageError = 2 };

    ArchiveTool(QTextStream &out, QTextStream &err);
    // arguments without the program name
    int run(const QStringList &arguments);

private:
    int list(const QString &archiveName);
    int test(const QString &archiveName);
    int extract(const QString &archiveName, const QString &directory);
    int create(QStringList arguments);
    int usage();

    QTextStream &m_out;
    QTextStream &m_err;
};

} // namespace kb
