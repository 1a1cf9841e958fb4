#pragma once

class QWidget;

namespace kb {

struct ApplicationContext;
class Clock;
class HelpViewer;
class TDataForm;
class UiServices;

// The booking export command of the main window.
class ExportCommands
{
public:
    // Buchungenexportieren1Click on the menu item "Buchungen exportieren ...".
    static void install(ApplicationContext &context);

    static void Buchungenexportieren1Click(TDataForm &data, UiServices &ui, const Clock &clock, HelpViewer &help,
                                           QWidget *parent);
};

} // namespace kb
