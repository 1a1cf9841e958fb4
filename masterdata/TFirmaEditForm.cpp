#include "TFirmaEditForm.h"

#include "MasterDataIcons.h"
#include "TDataForm.h"

#include <QVBoxLayout>

namespace kb {

namespace {

constexpr int postcodeWidth = 60;

MasterDialogFrame::Frame frame()
{
    return {QStringLiteral("FirmaEditForm"), QStringLiteral("Firma bearbeiten"), {551, 299},
            MasterDataIcons::icon(QStringLiteral("companies")), QStringLiteral("Firma bearbeiten"),
            QStringLiteral("Geben Sie links die Daten der Firma ein, für die ein Kassenbuch geführt werden soll."), 19};
}

} // namespace

TFirmaEditForm::TFirmaEditForm(const MasterDialogServices &services, TDataForm &data, QWidget *parent)
    : MasterEditDialog(services, data.FirmaSource, Closing::SaveOrCancel, frame(), parent)
{
    const auto entry = [](const char *label, const char *field, const char *name, int width = 0) {
        return Entry{QString::fromUtf8(label), QString::fromLatin1(field), QString::fromLatin1(name), width, {}};
    };
    addRow({entry("Firmenbzeichnung", "Firma", "DBEdit1")});
    addRow({entry("Straße", "Strasse", "DBEdit2")});
    addRow({entry("PLZ", "PLZ", "DBEdit3", postcodeWidth), entry("Ort", "Ort", "DBEdit4")});
    addRow({entry("Telefon", "Telefon", "DBEdit5"), entry("Fax", "Fax", "DBEdit6")});
    addRow({entry("Email", "E-mail", "DBEdit7")});
    addRow({entry("Homepage", "Homepage", "DBEdit8")});
    addRow({entry("Bankinstitut", "B-Institut1", "DBEdit9")});
    addRow({entry("BLZ", "BLZ1", "DBEdit10"), entry("Kto", "KontoNr1", "DBEdit11")});
    form().addStretch(1);
}

} // namespace kb
