#include "MainMenu.h"

#include "Hint.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace kb {

namespace {

QMenu *createMenu(QWidget &owner, const QString &name, const QString &text, const QString &hint = {})
{
    auto *menu = new QMenu(text, &owner);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    Hint::apply(*menu->menuAction(), hint);
    return menu;
}

QMenu *addMenu(QMenuBar &bar, const QString &name, const QString &text, const QString &hint = {})
{
    QMenu *menu = createMenu(bar, name, text, hint);
    bar.addMenu(menu);
    return menu;
}

QMenu *addSubmenu(QMenu &parent, const QString &name, const QString &text, const QString &hint = {})
{
    QMenu *menu = createMenu(parent, name, text, hint);
    parent.addMenu(menu);
    return menu;
}

QAction *addItem(QMenu &menu, const QString &name, const QString &text, const QString &hint = {})
{
    QAction *action = menu.addAction(text);
    action->setObjectName(name);
    Hint::apply(*action, hint);
    return action;
}

// An item whose command the program does not offer yet: shown, but not to be chosen.
QAction *addPendingItem(QMenu &menu, const QString &name, const QString &text, const QString &hint = {})
{
    QAction *action = addItem(menu, name, text, hint);
    action->setEnabled(false);
    return action;
}

} // namespace

MainMenu::MainMenu(QMenuBar &bar, QWidget &window)
{
    createFileMenu(bar);
    createEditMenu(bar);
    createReportsMenu(bar);
    createMasterDataMenu(bar);
    createHelpMenu(bar);
    createPopupMenu(window);
}

void MainMenu::createFileMenu(QMenuBar &bar)
{
    QMenu *file = addMenu(bar, QStringLiteral("Datei1"), QStringLiteral("&Datei"), QStringLiteral("Dateimenü"));
    QMenu *print = addSubmenu(*file, QStringLiteral("Drucken1"), QStringLiteral("&Drucken"),
                              QStringLiteral("Druckberichte auswählen"));
    addPendingItem(*print, QStringLiteral("Kassenbuch1"), QStringLiteral("&Kassenbuch ..."),
                   QStringLiteral("Kassenbuch drucken"));
    print->addSeparator();
    addPendingItem(*print, QStringLiteral("Kontenbersicht1"), QStringLiteral("Kontenübersicht ..."));
    addPendingItem(*print, QStringLiteral("Gruppenbersicht1"), QStringLiteral("Gruppenübersicht ..."));
    Druckereinrichten1 = addItem(*file, QStringLiteral("Druckereinrichten1"), QStringLiteral("D&rucker einrichten..."),
                                 QStringLiteral("Drucker einrichten"));
    file->addSeparator();
    addPendingItem(*file, QStringLiteral("Datenkopieanlegen1"), QStringLiteral("Daten&kopie anlegen ..."),
                   QStringLiteral("Daten und Vorlagen komprimiert in Sicherungsarchiv kopieren"));
    addPendingItem(*file, QStringLiteral("Datenkopiezurckschreiben1"), QStringLiteral("Datenkopie &zurück schreiben ..."),
                   QStringLiteral("Daten und Vorlagen aus Sicherungsarchiv zurück kopieren"));
    addPendingItem(*file, QStringLiteral("Buchungenexportieren1"), QStringLiteral("Buchungen e&xportieren ..."));
    file->addSeparator();
    Beenden1 = addItem(*file, QStringLiteral("Beenden1"), QStringLiteral("&Beenden"),
                       QStringLiteral("Diese Anwendung beenden"));
}

void MainMenu::createEditMenu(QMenuBar &bar)
{
    QMenu *edit = addMenu(bar, QStringLiteral("Bearbeiten1"), QStringLiteral("B&earbeiten"),
                          QStringLiteral("Bearbeitenmenü"));
    Vorgangsuchen1 = addPendingItem(*edit, QStringLiteral("Vorgangsuchen1"), QStringLiteral("Vorgang &suchen ..."),
                                    QStringLiteral("Vorgang nach verschiedenen Kriterien suchen"));
    Vorgangsuchen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    edit->addSeparator();
    QMenu *templates = addSubmenu(*edit, QStringLiteral("VorlagefrDruckliste1"), QStringLiteral("&Vorlage für Druckliste ..."),
                                  QStringLiteral("Vorlage für Ausdruck ändern (Kopf, Ausrichtung, Texte usw.)"));
    addPendingItem(*templates, QStringLiteral("Kassenbuch4"), QStringLiteral("&Kassenbuch..."));
    templates->addSeparator();
    addPendingItem(*templates, QStringLiteral("Kontenbersicht2"), QStringLiteral("Kontenübersicht..."));
    addPendingItem(*templates, QStringLiteral("Gruppenbersicht2"), QStringLiteral("Gruppenübersicht..."));
}

void MainMenu::createReportsMenu(QMenuBar &bar)
{
    QMenu *reports = addMenu(bar, QStringLiteral("Berichte1"), QStringLiteral("&Berichte"));
    addPendingItem(*reports, QStringLiteral("Kassenbuch2"), QStringLiteral("&Kassenbuch..."));
    reports->addSeparator();
    addPendingItem(*reports, QStringLiteral("Kontenbersicht3"), QStringLiteral("Kontenübersicht..."));
    addPendingItem(*reports, QStringLiteral("Gruppenbersicht3"), QStringLiteral("Gruppenübersicht..."));
    reports->addSeparator();
    QMenu *charts = addSubmenu(*reports, QStringLiteral("GrpahischeAuswertung1"), QStringLiteral("Grpahische Auswertung"));
    addPendingItem(*charts, QStringLiteral("Kontensummen1"), QStringLiteral("Kontensummen..."));
    addPendingItem(*charts, QStringLiteral("Kontengruppen2"), QStringLiteral("Kontengruppen..."));
    reports->addSeparator();
    addPendingItem(*reports, QStringLiteral("Kassenauszhlung1"), QStringLiteral("Kassenauszählung..."));
}

void MainMenu::createMasterDataMenu(QMenuBar &bar)
{
    QMenu *master = addMenu(bar, QStringLiteral("Stammdaten1"), QStringLiteral("&Stammdaten"));
    addPendingItem(*master, QStringLiteral("Konten1"), QStringLiteral("&Konten..."), QStringLiteral("Konten bearbeiten"));
    addPendingItem(*master, QStringLiteral("Kontengruppen1"), QStringLiteral("Konten&gruppen..."));
    addPendingItem(*master, QStringLiteral("Texte1"), QStringLiteral("&Texte..."), QStringLiteral("Textvorlagen bearbeiten"));
    addPendingItem(*master, QStringLiteral("WhrungsSymbol1"), QStringLiteral("&Währungs-Symbol..."));
    master->addSeparator();
    addPendingItem(*master, QStringLiteral("Firmen1"), QStringLiteral("&Firmen..."),
                   QStringLiteral("Firmen anlegen / bearbeiten"));
}

void MainMenu::createHelpMenu(QMenuBar &bar)
{
    QMenu *help = addMenu(bar, QStringLiteral("Hilfe1"), QStringLiteral("&Hilfe"), QStringLiteral("Hilfemenü"));
    bersicht1 = addItem(*help, QStringLiteral("bersicht1"), QStringLiteral("Übersicht..."));
    bersicht1->setShortcut(QKeySequence(Qt::Key_F1));
    Suchbegriff1 = addItem(*help, QStringLiteral("Suchbegriff1"), QStringLiteral("Suchbegriff ..."));
    help->addSeparator();
    Kontakt1 = addItem(*help, QStringLiteral("Kontakt1"), QStringLiteral("Kontakt..."));
    help->addSeparator();
    Info1 = addItem(*help, QStringLiteral("Info1"), QStringLiteral("I&nfo..."), QStringLiteral("Programminformationen anzeigen"));
}

void MainMenu::createPopupMenu(QWidget &window)
{
    PopupMenu1 = createMenu(window, QStringLiteral("PopupMenu1"), {});
    addPendingItem(*PopupMenu1, QStringLiteral("Kassenbuch3"), QStringLiteral("Kassenbuch"));
    PopupMenu1->addSeparator();
    addPendingItem(*PopupMenu1, QStringLiteral("Kontenbersicht4"), QStringLiteral("Kontenübersicht"));
    addPendingItem(*PopupMenu1, QStringLiteral("Gruppenbersicht4"), QStringLiteral("Gruppenübersicht"));
}

} // namespace kb
