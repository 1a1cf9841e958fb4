#pragma once

class QWidget;

namespace kb {

struct ApplicationContext;
class TDataForm;
class UiServices;

// The booking search command of the main window.
class SearchCommands
{
public:
    // BtnSearchClick on the tool button "Suchen" and the menu item "Vorgang suchen ...".
    static void install(ApplicationContext &context);

    // Shows the search; after an OK with a hit the journal's KasseTable stands on that booking.
    static void BtnSearchClick(TDataForm &data, UiServices &ui, QWidget *parent);
};

} // namespace kb
