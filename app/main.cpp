#include "Errors.h"
#include "Program.h"
#include "QtUiServices.h"
#include "TMainForm.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
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
