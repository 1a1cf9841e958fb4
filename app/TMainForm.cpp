#include "TMainForm.h"

#include "CommandGuard.h"
#include "CommandRegistry.h"
#include "CurrencySymbolFile.h"
#include "DbGrid.h"
#include "DbNavigator.h"
#include "EntryPanel.h"
#include "FormatSettings.h"
#include "HelpViewer.h"
#include "Hint.h"
#include "MainMenu.h"
#include "ProgramSettings.h"
#include "TDataForm.h"
#include "ToolBarButton.h"
#include "UiServices.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

// Resources of a static library must be registered by name, outside any namespace.
static void registerIcons()
{
    Q_INIT_RESOURCE(icons);
}

namespace kb {

namespace {

constexpr int toolButtonWidth = 80;
constexpr int toolButtonHeight = 36;
constexpr int progressBarWidth = 200;
constexpr int versionPanelWidth = 200;
constexpr int bottomNavigatorHeight = 25;

QStringList navigatorHints()
{
    return {QStringLiteral("Erster Kassenbucheintrag"), QStringLiteral("Vorheriger Kassenbucheintrag"),
            QStringLiteral("Nächster Kassenbucheintrag"), QStringLiteral("Letzter Kassenbucheintrag"),
            QStringLiteral("Kassenbucheintrag einfügen"), QStringLiteral("Kassenbucheintrag löschen"),
            QStringLiteral("Übernehmen"), QStringLiteral("Bearbeiten abbrechen")};
}

QList<DbGrid::Column> journalColumns()
{
    return {
        {QStringLiteral("Datum"), QStringLiteral("Datum"), 70, false},
        {QStringLiteral("BelegNr"), QStringLiteral("BelegNr"), 70, false},
        {QStringLiteral("Kontoname"), QStringLiteral("Kontoname"), 120, false},
        {QStringLiteral("Buchungsbetrag"), QStringLiteral("Betrag"), 70, false},
        {QStringLiteral("UMSTinProzent"), QStringLiteral("USt %"), 50, false},
        // The title names the euro whatever currency symbol is set.
        {QStringLiteral("UMSTinEURO"), QStringLiteral("USt €"), 70, false},
        {QStringLiteral("Nettobuchungsbetrag"), QStringLiteral("Netto"), 70, true},
        {QStringLiteral("Zeilenbestand"), QStringLiteral("Bestand / Saldo"), 85, true},
        {QStringLiteral("Text"), QStringLiteral("Text"), 300, false},
        {QStringLiteral("Minuskonto"), QStringLiteral("Minus"), 0, false},
        {QStringLiteral("lfdNr"), QStringLiteral("lfdNr"), 0, false},
    };
}

} // namespace

TMainForm::TMainForm(const QString &programDirectory, FormatSettings &formats, UiServices &ui, QWidget *parent)
    : QMainWindow(parent), m_formats(formats), m_ui(ui)
{
    registerIcons();
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(UiServices::programTitle());
    resize(800, 600);
    QFont font = QApplication::font();
    font.setPointSize(8);
    setFont(font);

    readCurrencySymbol(programDirectory);
    m_settings = std::make_unique<ProgramSettings>(programDirectory);
    m_help = std::make_unique<HelpViewer>(QDir(programDirectory).filePath(QStringLiteral("kasse.hlp")));

    m_menu = std::make_unique<MainMenu>(*menuBar(), *this);
    // Menus are windows of their own: their hints would not reach the window by themselves.
    for (QMenu *menu : findChildren<QMenu *>())
        menu->installEventFilter(this);
    createToolBar();
    createNavigatorBand();
    createCentralArea();
    createStatusLine();
    connectCommands();
}

TMainForm::~TMainForm() = default;

// An unreadable file must not stop the start: the error is shown and the default symbol taken.
void TMainForm::readCurrencySymbol(const QString &programDirectory)
{
    m_formats.currencySymbol = CurrencySymbolFile::defaultSymbol();
    CommandGuard::guard(m_ui, [&] {
        m_formats.currencySymbol = CurrencySymbolFile::read(CurrencySymbolFile::path(programDirectory));
    });
}

void TMainForm::createToolBar()
{
    m_ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    m_ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    m_ToolBar1->setMovable(false);
    m_ToolBar1->setFloatable(false);

    m_ToolButton1 = addToolButton(QStringLiteral("ToolButton1"), QStringLiteral("Drucken"), QStringLiteral("print"),
                                  QStringLiteral("Druckberichte|Druckberichte einsehen oder drucken"));
    addToolButton(QStringLiteral("ToolButton5"), QStringLiteral("Daten kopieren"), QStringLiteral("backup"),
                  QStringLiteral("Datenkopie erstellen"))->setEnabled(false);
    addToolButton(QStringLiteral("BtnSearch"), QStringLiteral("Suchen"), QStringLiteral("search"),
                  QStringLiteral("Vorgang suchen"))->setEnabled(false);
    m_ToolBar1->addSeparator();
    addToolButton(QStringLiteral("BtnBKasse"), QStringLiteral("Auszählen"), QStringLiteral("cashcount"), {})
        ->setEnabled(false);
    m_ToolBar1->addSeparator();
    addToolButton(QStringLiteral("BtnFirma"), QStringLiteral("Firmen"), QStringLiteral("companies"),
                  QStringLiteral("Firmen bearbeiten"))->setEnabled(false);
    m_ToolBar1->addSeparator();
    QToolButton *exit = addToolButton(QStringLiteral("ToolButton2"), QStringLiteral("Beenden"), QStringLiteral("exit"),
                                      QStringLiteral("Programm beenden"));
    CommandGuard::connect(exit, m_ui, [this] { FileExit(); });
    m_ToolBar1->addSeparator();

    m_ProgressBar = new QProgressBar(m_ToolBar1);
    m_ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    m_ProgressBar->setFixedSize(progressBarWidth, toolButtonHeight);
    m_ProgressBar->setRange(0, 100);
    m_ProgressBar->setValue(0);
    m_ProgressBar->setTextVisible(false);
    m_ToolBar1->addWidget(m_ProgressBar);
}

QToolButton *TMainForm::addToolButton(const QString &name, const QString &caption, const QString &icon,
                                      const QString &hint)
{
    auto *button = new ToolBarButton(caption, QIcon(QStringLiteral(":/icons/%1.svg").arg(icon)), m_ToolBar1);
    button->setObjectName(name);
    button->setFixedSize(toolButtonWidth, toolButtonHeight);
    Hint::apply(*button, hint);
    m_ToolBar1->addWidget(button);
    return button;
}

DbNavigator *TMainForm::createNavigator(const QString &name, QWidget *parent)
{
    auto *navigator = new DbNavigator(m_ui, parent);
    navigator->setObjectName(name);
    navigator->setHints(navigatorHints());
    return navigator;
}

void TMainForm::createNavigatorBand()
{
    addToolBarBreak();
    QToolBar *band = addToolBar(QStringLiteral("NavigatorBand"));
    band->setObjectName(QStringLiteral("NavigatorBand"));
    band->setMovable(false);
    band->setFloatable(false);
    m_DBNavigator1 = createNavigator(QStringLiteral("DBNavigator1"), band);
    m_DBNavigator1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    band->addWidget(m_DBNavigator1);
}

void TMainForm::createCentralArea()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_GBEdit = new EntryPanel(m_ui, m_formats, central);
    layout->addWidget(m_GBEdit);

    auto *journal = new QGroupBox(QStringLiteral("ALLE VORGÄNGE:"), central);
    journal->setObjectName(QStringLiteral("GroupBox2"));
    auto *journalLayout = new QVBoxLayout(journal);
    journalLayout->setContentsMargins(2, 2, 2, 2);
    m_DBGrid1 = new DbGrid(m_ui, m_formats, journal);
    m_DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    Hint::apply(*m_DBGrid1, QStringLiteral("Kassenbuchungen|Sehen Sie hier die Buchungen, die bereits eingetragen wurden."));
    m_DBGrid1->setReadOnlyBackground(QApplication::palette("QMenu").color(QPalette::Window));
    journalLayout->addWidget(m_DBGrid1);
    layout->addWidget(journal, 1);

    m_DBNavigator2 = createNavigator(QStringLiteral("DBNavigator2"), central);
    m_DBNavigator2->setFixedHeight(bottomNavigatorHeight);
    layout->addWidget(m_DBNavigator2);

    setCentralWidget(central);
}

void TMainForm::createStatusLine()
{
    QStatusBar *line = statusBar();
    line->setObjectName(QStringLiteral("StatusLine"));
    line->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    m_versionPanel = new QLabel(QStringLiteral("Kassenbuch Version 1.2c"), line);
    m_versionPanel->setObjectName(QStringLiteral("VersionPanel"));
    m_versionPanel->setFixedWidth(versionPanelWidth);
    m_hintPanel = new QLabel(line);
    m_hintPanel->setObjectName(QStringLiteral("HintPanel"));
    m_hintPanel->setAlignment(Qt::AlignCenter);
    m_hintPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    line->addWidget(m_versionPanel);
    line->addWidget(m_hintPanel, 1);
}

void TMainForm::connectCommands()
{
    CommandGuard::connect(m_ToolButton1, m_ui, [this] { ToolButton1Click(); });
    CommandGuard::connect(m_menu->Druckereinrichten1, m_ui, [this] { FilePrintSetup(); });
    CommandGuard::connect(m_menu->Beenden1, m_ui, [this] { FileExit(); });
    CommandGuard::connect(m_menu->bersicht1, m_ui, [this] { bersicht1Click(); });
    CommandGuard::connect(m_menu->Suchbegriff1, m_ui, [this] { Suchbegriff1Click(); });
    CommandGuard::connect(m_menu->Kontakt1, m_ui, [this] { Kontakt1Click(); });
    CommandGuard::connect(m_menu->Info1, m_ui, [this] { HelpAbout(); });
}

void TMainForm::setCommands(CommandRegistry &commands)
{
    m_commands = &commands;
}

void TMainForm::setDataModule(TDataForm &data)
{
    m_data = &data;
    m_DBNavigator1->bind(&data.KasseSource);
    m_DBNavigator2->bind(&data.KasseSource);
    m_DBGrid1->bind(&data.KasseSource);
    m_DBGrid1->setColumns(journalColumns());
    m_GBEdit->bind(data);
    data.setProgress(this);
}

// Runs when the program shows the window, not when the user merely restores it.
void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous() && m_data)
        CommandGuard::guard(m_ui, [this] { FormShow(); });
}

void TMainForm::FormShow()
{
    LoadTexts();
    m_data->FirmaTable.locate(QStringLiteral("Firma"), m_settings->lastCompany());
    showCompanyInCaption();
    m_data->EnsureLfdNr();
}

void TMainForm::LoadTexts()
{
    Table &texts = m_data->TexteTable;
    QStringList list;
    for (texts.first(); !texts.eof(); texts.next())
        list << texts.fieldByName(QStringLiteral("Text")).asString();
    m_GBEdit->setTexts(list);
}

// The caption names the company that is current, also when the remembered one was not found.
void TMainForm::showCompanyInCaption()
{
    Table &companies = m_data->FirmaTable;
    if (companies.recordCount() == 0) {
        setWindowTitle(UiServices::programTitle());
        return;
    }
    setWindowTitle(UiServices::programTitle() + QStringLiteral(" (")
                   + companies.fieldByName(QStringLiteral("Firma")).asString() + QLatin1Char(')'));
}

void TMainForm::redrawJournal()
{
    m_DBGrid1->viewport()->update();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (std::exchange(m_askForBackup, false))
        FormCloseQuery();
    FormClose();
    event->accept();
}

void TMainForm::closeWithoutBackupQuestion()
{
    m_askForBackup = false;
    close();
}

void TMainForm::FormCloseQuery()
{
    if (m_commands && m_commands->contains(QStringLiteral("FormCloseQuery")))
        m_commands->run(QStringLiteral("FormCloseQuery"));
}

void TMainForm::FormClose()
{
    if (m_data) {
        storePending(m_data->FirmaTable);
        storePending(m_data->KasseTable);
    }
    m_help->close();
}

// A change that cannot be stored is not lost without a word: the error is shown, then dropped.
void TMainForm::storePending(Table &table)
{
    if (!table.isEditing())
        return;
    if (!CommandGuard::guard(m_ui, [&table] { table.post(); }))
        table.cancel();
}

void TMainForm::setMaximum(int maximum)
{
    // A maximum of 0 would turn the bar into a busy indicator.
    m_ProgressBar->setRange(0, std::max(maximum, 1));
}

void TMainForm::setPosition(int position)
{
    m_ProgressBar->setValue(position);
}

void TMainForm::reset()
{
    m_ProgressBar->setValue(0);
}

// The status tips of the window's controls and of its highlighted menu items end here; other
// windows show their own.
bool TMainForm::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::StatusTip)
        return TMainForm::event(event);
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::ShowHint(const QString &text)
{
    m_hintPanel->setText(text);
}

QString TMainForm::hintText() const
{
    return m_hintPanel->text();
}

void TMainForm::ToolButton1Click()
{
    m_menu->PopupMenu1->popup(m_ToolButton1->mapToGlobal(QPoint(0, m_ToolButton1->height())));
}

QPrinter &TMainForm::printer()
{
    // Created on first use: looking up the system's printers costs time the start need not spend.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    return *m_printer;
}

void TMainForm::FilePrintSetup()
{
    QPrintDialog dialog(&printer(), this);
    dialog.setWindowTitle(QStringLiteral("Drucker einrichten"));
    m_ui.runModal(dialog);
}

void TMainForm::FileExit()
{
    close();
}

void TMainForm::bersicht1Click()
{
    m_help->showContents();
}

void TMainForm::Suchbegriff1Click()
{
    if (!m_help->isAvailable())
        return;
    bool ok = false;
    const QString word = m_ui.inputBox(QStringLiteral("Hilfe"), QStringLiteral("Suchwort eingeben:"), {}, &ok);
    if (ok && !word.isEmpty())
        m_help->searchKeyword(word);
}

void TMainForm::Kontakt1Click()
{
    m_help->showTopic(21);
}

void TMainForm::HelpAbout()
{
    m_ui.information(QStringLiteral("Vuno Kassenbuch\n\nWeitere Informationen finden Sie in der Hilfe."));
}

void TMainForm::Kassenbuch1Click() { m_commands->run(QStringLiteral("Kassenbuch1Click")); }
void TMainForm::Kontenbersicht1Click() { m_commands->run(QStringLiteral("Kontenbersicht1Click")); }
void TMainForm::Gruppenbersicht1Click() { m_commands->run(QStringLiteral("Gruppenbersicht1Click")); }
void TMainForm::Kassenbuch4Click() { m_commands->run(QStringLiteral("Kassenbuch4Click")); }
void TMainForm::Kontenbersicht2Click() { m_commands->run(QStringLiteral("Kontenbersicht2Click")); }
void TMainForm::Gruppenbersicht2Click() { m_commands->run(QStringLiteral("Gruppenbersicht2Click")); }
void TMainForm::Datenkopieanlegen1Click() { m_commands->run(QStringLiteral("Datenkopieanlegen1Click")); }
void TMainForm::Datenkopiezurckschreiben1Click() { m_commands->run(QStringLiteral("Datenkopiezurckschreiben1Click")); }
void TMainForm::Buchungenexportieren1Click() { m_commands->run(QStringLiteral("Buchungenexportieren1Click")); }
void TMainForm::BtnSearchClick() { m_commands->run(QStringLiteral("BtnSearchClick")); }
void TMainForm::Kontensummen1Click() { m_commands->run(QStringLiteral("Kontensummen1Click")); }
void TMainForm::Kontengruppen2Click() { m_commands->run(QStringLiteral("Kontengruppen2Click")); }
void TMainForm::BtnBKasseClick() { m_commands->run(QStringLiteral("BtnBKasseClick")); }
void TMainForm::Konten1Click() { m_commands->run(QStringLiteral("Konten1Click")); }
void TMainForm::Kontengruppen1Click() { m_commands->run(QStringLiteral("Kontengruppen1Click")); }
void TMainForm::Texte1Click() { m_commands->run(QStringLiteral("Texte1Click")); }
void TMainForm::WhrungsSymbol1Click() { m_commands->run(QStringLiteral("WhrungsSymbol1Click")); }
void TMainForm::BtnFirmaClick() { m_commands->run(QStringLiteral("BtnFirmaClick")); }

} // namespace kb
