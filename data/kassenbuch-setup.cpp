#include "DataDirectorySetup.h"
#include "Errors.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << QStringLiteral("Aufruf: kassenbuch-setup PROGRAMMVERZEICHNIS\n"
                              "Legt im Programmverzeichnis ein neues Verzeichnis Data/ mit den Tabellen,\n"
                              "der Firma \"Beispielfirma\", Standardkonten und Standardtexten an.\n");
        return 2;
    }
    try {
        kb::DataDirectorySetup::create(args.at(1));
    } catch (const kb::Error &e) {
        err << e.text() << QLatin1Char('\n');
        return 1;
    }
    return 0;
}
