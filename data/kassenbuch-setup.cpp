#include "DataDirectorySetup.h"
#include "Errors.h"
#include "StandardTemplates.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    const bool templatesOnly = args.size() == 3 && args.at(1) == QLatin1String("--fehlende-vorlagen");
    if (args.size() != 2 && !templatesOnly) {
        err << QStringLiteral("Aufruf: kassenbuch-setup PROGRAMMVERZEICHNIS\n"
                              "Legt im Programmverzeichnis ein neues Verzeichnis Data/ mit den Tabellen,\n"
                              "der Firma \"Beispielfirma\", Standardkonten, Standardtexten und den\n"
                              "Druckvorlagen an.\n"
                              "       kassenbuch-setup --fehlende-vorlagen PROGRAMMVERZEICHNIS\n"
                              "Ergänzt in einem bestehenden Data/ die fehlenden Druckvorlagen; vorhandene\n"
                              "bleiben unverändert.\n");
        return 2;
    }
    try {
        if (templatesOnly)
            kb::StandardTemplates::writeMissing(kb::DataDirectorySetup::dataDirectory(args.at(2)));
        else
            kb::DataDirectorySetup::create(args.at(1));
    } catch (const kb::Error &e) {
        err << e.text() << QLatin1Char('\n');
        return 1;
    }
    return 0;
}
