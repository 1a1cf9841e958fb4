#pragma once

class QWidget;

namespace kb {

class Progress;

// What a subsystem may ask of the main window; the window itself stays out of the subsystems'
// reach, so they cannot grow into it.
class MainWindowServices
{
public:
    virtual ~MainWindowServices();

    // The parent of the subsystem's dialogs.
    virtual QWidget &window() = 0;
    virtual void showCompanyInCaption() = 0;
    // Refills the entry panel's list of standard texts.
    virtual void LoadTexts() = 0;
    // Shows the journal again after a format changed (the currency symbol).
    virtual void redrawJournal() = 0;
    // The show handler: remembered company, its numbering, the text list.
    virtual void FormShow() = 0;
    // The tool bar's progress bar.
    virtual Progress &progress() = 0;
    // Ends the program without offering a backup (after a restore).
    virtual void closeWithoutBackupQuestion() = 0;
};

} // namespace kb
