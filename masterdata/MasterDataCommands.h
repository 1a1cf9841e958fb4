#pragma once

namespace kb {

struct ApplicationContext;

// The main window's master-data commands: companies (and the choice of the current company),
// accounts, account groups, standard texts and the currency symbol.
class MasterDataCommands
{
public:
    // Installs BtnFirmaClick, Konten1Click, Kontengruppen1Click, Texte1Click and WhrungsSymbol1Click
    // on their menu items and buttons.
    static void install(ApplicationContext &context);

    // Shows the company list, then makes the company it leaves FirmaTable on current: numbers its
    // bookings if needed, remembers it in program.cfg and names it in the caption.
    static void BtnFirmaClick(ApplicationContext &context);
    static void Konten1Click(ApplicationContext &context);
    static void Kontengruppen1Click(ApplicationContext &context);
    // Shows the standard texts, then refills the entry panel's text list.
    static void Texte1Click(ApplicationContext &context);
    // Asks for the currency symbol; on OK it applies at once and is written to currency.cfg.
    static void WhrungsSymbol1Click(ApplicationContext &context);
};

} // namespace kb
