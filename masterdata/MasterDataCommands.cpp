#include "MasterDataCommands.h"

#include "ApplicationContext.h"
#include "CommandRegistry.h"
#include "CurrencySymbolFile.h"
#include "FormatSettings.h"
#include "MainWindowServices.h"
#include "ProgramSettings.h"
#include "TDataForm.h"
#include "TFirmaForm.h"
#include "TGruppeForm.h"
#include "TKontenForm.h"
#include "TTextForm.h"
#include "UiServices.h"

#include <QStringList>

namespace kb {

namespace {

MasterDialogServices servicesOf(ApplicationContext &context)
{
    return {context.ui, context.help};
}

// Creates the list dialog for the command, shows it modally and destroys it.
template <typename Dialog>
void showList(ApplicationContext &context)
{
    Dialog dialog(servicesOf(context), context.formats, context.data, &context.mainWindow.window());
    context.ui.runModal(dialog);
}

void adoptCurrentCompany(ApplicationContext &context)
{
    context.data.EnsureLfdNr();
    // Without any company the field reads empty: the remembered name and the caption say so.
    const QString company = context.data.FirmaTable.fieldByName(QStringLiteral("Firma")).asString();
    context.settings.setLastCompany(company);
    context.mainWindow.window().setWindowTitle(UiServices::programTitle() + QStringLiteral(" (") + company
                                               + QLatin1Char(')'));
}

} // namespace

void MasterDataCommands::install(ApplicationContext &context)
{
    CommandRegistry &commands = context.commands;
    commands.install(QStringLiteral("BtnFirmaClick"), {QStringLiteral("BtnFirma"), QStringLiteral("Firmen1")},
                     [&context] { BtnFirmaClick(context); });
    commands.install(QStringLiteral("Konten1Click"), {QStringLiteral("Konten1"), QStringLiteral("SpeedButton1")},
                     [&context] { Konten1Click(context); });
    commands.install(QStringLiteral("Kontengruppen1Click"), {QStringLiteral("Kontengruppen1")},
                     [&context] { Kontengruppen1Click(context); });
    commands.install(QStringLiteral("Texte1Click"), {QStringLiteral("Texte1"), QStringLiteral("SpeedButton2")},
                     [&context] { Texte1Click(context); });
    commands.install(QStringLiteral("WhrungsSymbol1Click"), {QStringLiteral("WhrungsSymbol1")},
                     [&context] { WhrungsSymbol1Click(context); });
}

void MasterDataCommands::BtnFirmaClick(ApplicationContext &context)
{
    showList<TFirmaForm>(context);
    adoptCurrentCompany(context);
}

void MasterDataCommands::Konten1Click(ApplicationContext &context)
{
    showList<TKontenForm>(context);
}

void MasterDataCommands::Kontengruppen1Click(ApplicationContext &context)
{
    showList<TGruppeForm>(context);
}

void MasterDataCommands::Texte1Click(ApplicationContext &context)
{
    showList<TTextForm>(context);
    context.mainWindow.LoadTexts();
}

void MasterDataCommands::WhrungsSymbol1Click(ApplicationContext &context)
{
    bool ok = false;
    const QString symbol = context.ui.inputBox(QStringLiteral("Eingabe"), QStringLiteral("Währungs-Kürzel:"),
                                               context.formats.currencySymbol, &ok);
    if (!ok)
        return;
    context.formats.currencySymbol = symbol;
    context.mainWindow.redrawJournal();
    CurrencySymbolFile::write(CurrencySymbolFile::path(context.programDirectory), symbol);
}

} // namespace kb
