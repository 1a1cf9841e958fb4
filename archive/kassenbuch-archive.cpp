#include "ArchiveTool.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return kb::ArchiveTool(out, err).run(QCoreApplication::arguments().mid(1));
}
