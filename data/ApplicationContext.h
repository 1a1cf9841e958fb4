#pragma once

#include <QString>

class QPrinter;

namespace kb {

class Clock;
class CommandRegistry;
class FormatSettings;
class HelpViewer;
class MainWindowServices;
class ProgramSettings;
class TDataForm;
class UiServices;

// What every subsystem works with, built once by the program and handed to each subsystem's
// install function. Everything in it lives for the whole run.
struct ApplicationContext
{
    QString programDirectory;
    TDataForm &data;
    UiServices &ui;
    FormatSettings &formats;
    ProgramSettings &settings;
    // The printer chosen under "Drucker einrichten"; reports and charts print with it.
    QPrinter &printer;
    HelpViewer &help;
    Clock &clock;
    MainWindowServices &mainWindow;
    CommandRegistry &commands;
};

} // namespace kb
