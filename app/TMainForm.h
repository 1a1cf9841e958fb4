#pragma once

#include "MainWindowServices.h"
#include "Progress.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class QLabel;
class QPrinter;
class QProgressBar;
class QToolBar;
class QToolButton;

namespace kb {

class CommandRegistry;
class DbGrid;
class DbNavigator;
class EntryPanel;
class FormatSettings;
class HelpViewer;
class MainMenu;
class ProgramSettings;
class Table;
class TDataForm;
class UiServices;

// The main window: tool bar with progress bar, record navigators, entry panel, the journal of
// the current company, the status line with the hint panel and the main menu. It shows the walk
// of the journal in its progress bar. The commands of the subsystems are installed into its
// command registry; its handlers of those commands only delegate there.
class TMainForm : public QMainWindow, public Progress, public MainWindowServices
{
    Q_OBJECT

public:
    // The creation handler: program-wide formats with the currency symbol of currency.cfg, the
    // settings of program.cfg and the help file, both beside the program.
    TMainForm(const QString &programDirectory, FormatSettings &formats, UiServices &ui, QWidget *parent = nullptr);
    ~TMainForm() override;

    // Binds journal, navigators and entry panel to the data module, which is created after the
    // window, and becomes the data module's progress display.
    void setDataModule(TDataForm &data);
    // The registry the subsystems install their commands into; the window runs its handlers there.
    void setCommands(CommandRegistry &commands);

    // The show handler, also run after a backup or restore: refills the text list, makes the
    // company of program.cfg current (its name matched exactly) and numbers its bookings when
    // they have no sequence numbers yet.
    void FormShow() override;
    void LoadTexts() override;
    void showCompanyInCaption() override;
    void redrawJournal() override;
    QWidget &window() override { return *this; }
    Progress &progress() override { return *this; }
    void closeWithoutBackupQuestion() override;
    // The pending changes of company and booking are stored; one that cannot be stored is shown
    // as an error and dropped, and closing goes on.
    void FormClose();

    // Puts the hint's long part into the status line's hint panel.
    void ShowHint(const QString &text);
    QString hintText() const;

    void FilePrintSetup();
    void FileExit();
    void bersicht1Click();
    void Suchbegriff1Click();
    void Kontakt1Click();
    void HelpAbout();

    // The commands of the subsystems, run through the command registry.
    void Kassenbuch1Click();
    void Kontenbersicht1Click();
    void Gruppenbersicht1Click();
    void Kassenbuch4Click();
    void Kontenbersicht2Click();
    void Gruppenbersicht2Click();
    void Datenkopieanlegen1Click();
    void Datenkopiezurckschreiben1Click();
    void Buchungenexportieren1Click();
    void BtnSearchClick();
    void Kontensummen1Click();
    void Kontengruppen2Click();
    void BtnBKasseClick();
    void Konten1Click();
    void Kontengruppen1Click();
    void Texte1Click();
    void WhrungsSymbol1Click();
    void BtnFirmaClick();
    // Offers a backup before the window closes, when the backup is part of the program.
    void FormCloseQuery();

    // The printer and settings chosen in the printer setup; reports print with it.
    QPrinter &printer();
    HelpViewer &helpViewer() { return *m_help; }
    ProgramSettings &settings() { return *m_settings; }
    QProgressBar &progressBar() { return *m_ProgressBar; }
    EntryPanel &entryPanel() { return *m_GBEdit; }
    DbGrid &grid() { return *m_DBGrid1; }
    DbNavigator &topNavigator() { return *m_DBNavigator1; }
    DbNavigator &bottomNavigator() { return *m_DBNavigator2; }

    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    void reset() override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void readCurrencySymbol(const QString &programDirectory);
    void createToolBar();
    QToolButton *addToolButton(const QString &name, const QString &caption, const QString &icon,
                               const QString &hint);
    DbNavigator *createNavigator(const QString &name, QWidget *parent);
    void createNavigatorBand();
    void createCentralArea();
    void createStatusLine();
    void storePending(Table &table);
    void connectCommands();
    void ToolButton1Click();

    FormatSettings &m_formats;
    UiServices &m_ui;
    TDataForm *m_data = nullptr;
    CommandRegistry *m_commands = nullptr;
    bool m_askForBackup = true;
    std::unique_ptr<ProgramSettings> m_settings;
    std::unique_ptr<HelpViewer> m_help;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<MainMenu> m_menu;

    QToolBar *m_ToolBar1 = nullptr;
    QToolButton *m_ToolButton1 = nullptr;
    QProgressBar *m_ProgressBar = nullptr;
    DbNavigator *m_DBNavigator1 = nullptr;
    EntryPanel *m_GBEdit = nullptr;
    DbGrid *m_DBGrid1 = nullptr;
    DbNavigator *m_DBNavigator2 = nullptr;
    QLabel *m_versionPanel = nullptr;
    QLabel *m_hintPanel = nullptr;
};

} // namespace kb
