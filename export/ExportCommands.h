#pragma once

class QWidget;

namespace kb {

class Clock;
class HelpViewer;
class TDataForm;
class UiServices;

// The booking export command of the main window.
class ExportCommands
{
public:
    static void Buchungenexportieren1Click(TDataForm &data, UiServices &ui, const Clock &clock, HelpViewer &help,
                                           QWidget *parent);
};

} // namespace kb
