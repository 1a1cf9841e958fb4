#pragma once

#include "Clock.h"
#include "FormatSettings.h"

#include <QString>

#include <memory>

namespace kb {

class CommandRegistry;
class TDataForm;
class TMainForm;
class UiServices;
struct ApplicationContext;

// The objects that live for the whole run, created in the order of the start: the main window
// (formats, settings files, help file), then the data module, to which the window binds, then
// the application context through which every subsystem installs its commands.
class Program
{
public:
    // Throws kb::Error when the data module cannot start: the program cannot run without its tables.
    Program(const QString &programDirectory, UiServices &ui, Clock &clock = systemClock());
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // Shows the main window, whose show handler makes the remembered company current.
    void show();

    TMainForm &mainForm() { return *m_mainForm; }
    TDataForm &dataForm() { return *m_dataForm; }
    ApplicationContext &context() { return *m_context; }
    const FormatSettings &formats() const { return m_formats; }

    static Clock &systemClock();

private:
    void installCommands();

    FormatSettings m_formats;
    std::unique_ptr<TMainForm> m_mainForm;
    std::unique_ptr<TDataForm> m_dataForm;
    std::unique_ptr<CommandRegistry> m_commands;
    std::unique_ptr<ApplicationContext> m_context;
};

} // namespace kb
