#include "TGruppeForm.h"

#include "MasterDataIcons.h"
#include "TDataForm.h"
#include "TGruppeEditForm.h"

namespace kb {

namespace {

MasterDialogFrame::Frame frame()
{
    return {QStringLiteral("GruppeForm"), QStringLiteral("Konten-Gruppen"), {451, 335},
            MasterDataIcons::icon(QStringLiteral("groups")), QStringLiteral("Konten-Gruppen auswählen / bearbeiten"),
            QStringLiteral("Wählen Sie links die Gruppe aus, die Sie bearbeiten wollen."), 17};
}

MasterListDialog::List list()
{
    MasterListDialog::List list;
    list.columns = {{QStringLiteral("Gruppe"), {}, 150}, {QStringLiteral("Typ"), {}, 85}};
    list.newCaption = QStringLiteral("Neue Gruppe ...");
    list.editCaption = QStringLiteral("Gruppe bearbeiten ...");
    list.deleteCaption = QStringLiteral("Gruppe löschen ...");
    list.nameField = QStringLiteral("Gruppe");
    list.defaultNamePrefix = QStringLiteral("Neue Gruppe ");
    list.deleteObject = QStringLiteral("die Gruppe ");
    list.pluralName = QStringLiteral("Gruppen");
    list.storeNewAtOnce = true;
    return list;
}

} // namespace

TGruppeForm::TGruppeForm(const MasterDialogServices &services, const FormatSettings &formats, TDataForm &data,
                         QWidget *parent)
    : MasterListDialog(services, formats, data.GruppenSource, frame(), list(), parent), m_services(services),
      m_formats(formats), m_data(data)
{
}

std::unique_ptr<QDialog> TGruppeForm::createEditDialog()
{
    return std::make_unique<TGruppeEditForm>(m_services, m_formats, m_data, this);
}

} // namespace kb
