#include "TKontenEditForm.h"

#include "MasterDataIcons.h"
#include "TDataForm.h"

#include <QVBoxLayout>

namespace kb {

namespace {

constexpr int shortWidth = 80;

MasterDialogFrame::Frame frame()
{
    return {QStringLiteral("KontenEditForm"), QStringLiteral("Konten"), {538, 184},
            MasterDataIcons::icon(QStringLiteral("accounts")), QStringLiteral("Konten bearbeiten"),
            QStringLiteral("Geben Sie links die Daten der Konten ein, auf die Sie buchen wollen."), 16};
}

} // namespace

TKontenEditForm::TKontenEditForm(const MasterDialogServices &services, TDataForm &data, QWidget *parent)
    : MasterEditDialog(services, data.KontenSource, Closing::SaveOrCancel, frame(), parent)
{
    addRow({{QStringLiteral("Kontenbezeichnung"), QStringLiteral("Kontoname"), QStringLiteral("DBEdit1"), 0,
             QStringLiteral("Bezeichnung des Kontos")}});
    addRow({{QStringLiteral("Kontonummer"), QStringLiteral("Konto"), QStringLiteral("DBEdit2"), shortWidth,
             QStringLiteral("Nummer für die Buchhaltung")}});
    addRow({{QStringLiteral("Prozentsatz (MwSt)"), QStringLiteral("KontoProzentSatz"), QStringLiteral("DBEdit3"),
             shortWidth, QStringLiteral("MwSt Prozentsatz")}});
    addCheckBox(QStringLiteral("Minuskonto"), QStringLiteral("Minuskonto"), QStringLiteral("DBCheckBox1"),
                QStringLiteral("Minuskonto (z.B. Kosten, Ausgaben)"));
    form().addStretch(1);
}

} // namespace kb
