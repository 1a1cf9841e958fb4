#pragma once

#include <QString>

class QAction;
class QKeySequence;
class QMenu;
class QMenuBar;
class QWidget;

namespace kb {

// The main menu with every item, access key, hint and shortcut, and the pop-up menu of the tool
// button "Drucken". Items are named after their command; those whose command is not part of the
// program yet are disabled. The actions belong to their menus; the pop-up belongs to the window.
class MainMenu
{
public:
    MainMenu(QMenuBar &bar, QWidget &window);

    QMenu *PopupMenu1 = nullptr;

    QAction *Druckereinrichten1 = nullptr;   // FilePrintSetup
    QAction *Beenden1 = nullptr;             // FileExit
    QAction *Vorgangsuchen1 = nullptr;       // Ctrl+F
    QAction *bersicht1 = nullptr;            // F1
    QAction *Suchbegriff1 = nullptr;
    QAction *Kontakt1 = nullptr;
    QAction *Info1 = nullptr;                // HelpAbout

private:
    void createFileMenu(QMenuBar &bar);
    void createEditMenu(QMenuBar &bar);
    void createReportsMenu(QMenuBar &bar);
    void createMasterDataMenu(QMenuBar &bar);
    void createHelpMenu(QMenuBar &bar);
    void createPopupMenu(QWidget &window);
};

} // namespace kb
