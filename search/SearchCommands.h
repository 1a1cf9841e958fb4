#pragma once

class QWidget;

namespace kb {

class TDataForm;
class UiServices;

// The booking search command of the main window.
class SearchCommands
{
public:
    // Shows the search; after an OK with a hit the journal's KasseTable stands on that booking.
    static void BtnSearchClick(TDataForm &data, UiServices &ui, QWidget *parent);
};

} // namespace kb
