#pragma once

#include "FormatSettings.h"

#include <QString>

#include <memory>

namespace kb {

class TDataForm;
class TMainForm;
class UiServices;

// The objects that live for the whole run, created in the order of the start: the main window
// (formats, settings files, help file), then the data module, to which the window binds.
class Program
{
public:
    // Throws kb::Error when the data module cannot start: the program cannot run without its tables.
    Program(const QString &programDirectory, UiServices &ui);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // Shows the main window, whose show handler makes the remembered company current.
    void show();

    TMainForm &mainForm() { return *m_mainForm; }
    TDataForm &dataForm() { return *m_dataForm; }
    const FormatSettings &formats() const { return m_formats; }

private:
    FormatSettings m_formats;
    std::unique_ptr<TMainForm> m_mainForm;
    std::unique_ptr<TDataForm> m_dataForm;
};

} // namespace kb
