#pragma once

#include "Progress.h"

class QWidget;

namespace kb {

// What a subsystem may ask of the main window.
class MainWindowServices
{
public:
    virtual ~MainWindowServices() = default;
    virtual QWidget &window() = 0;          // parent of the subsystem's dialogs
    virtual void showCompanyInCaption() = 0;
    virtual void LoadTexts() = 0;           // refill the entry panel's text list
    virtual void redrawJournal() = 0;       // after a format change (currency symbol)
    virtual void FormShow() = 0;            // the show handler (after backup/restore)
    virtual Progress &progress() = 0;       // the tool bar's progress bar
    virtual void closeWithoutBackupQuestion() = 0;  // ends the program (after a restore)
};

} // namespace kb
