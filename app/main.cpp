#include "Errors.h"
#include "Program.h"
#include "QtUiServices.h"
#include "TMainForm.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // Qt's own dialogs (file, colour, printer) speak German like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    kb::QtUiServices ui;
    try {
        kb::Program program(QApplication::applicationDirPath(), ui);
        ui.setParentWindow(&program.mainForm());
        program.show();
        return application.exec();
    } catch (const kb::Error &error) {
        ui.showError(error.text());
        return 1;
    }
}
