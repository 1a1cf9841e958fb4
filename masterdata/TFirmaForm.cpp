#include "TFirmaForm.h"

#include "MasterDataIcons.h"
#include "TDataForm.h"
#include "TFirmaEditForm.h"

namespace kb {

namespace {

MasterDialogFrame::Frame frame()
{
    return {QStringLiteral("FirmaForm"), QStringLiteral("Firmen"), {453, 331}, MasterDataIcons::icon(QStringLiteral("companies")),
            QStringLiteral("Firmen auswählen / bearbeiten"),
            QStringLiteral("Wählen Sie links die Firma aus, für die Sie Buchungen eintragen wollen."), 19};
}

MasterListDialog::List list()
{
    MasterListDialog::List list;
    list.columns = {{QStringLiteral("Firma"), {}, 120}, {QStringLiteral("Ort"), {}, 120}};
    list.newCaption = QStringLiteral("Neue Firma anlegen ...");
    list.editCaption = QStringLiteral("Firma bearbeiten ...");
    list.deleteCaption = QStringLiteral("Firma löschen ...");
    list.nameField = QStringLiteral("Firma");
    list.defaultNamePrefix = QStringLiteral("Neue Firma ");
    list.deleteObject = QStringLiteral("die Firma ");
    list.pluralName = QStringLiteral("Firmen");
    list.editOnDoubleClick = true;
    return list;
}

} // namespace

TFirmaForm::TFirmaForm(const MasterDialogServices &services, const FormatSettings &formats, TDataForm &data,
                       QWidget *parent)
    : MasterListDialog(services, formats, data.FirmaSource, frame(), list(), parent), m_services(services), m_data(data)
{
}

std::unique_ptr<QDialog> TFirmaForm::createEditDialog()
{
    return std::make_unique<TFirmaEditForm>(m_services, m_data, this);
}

} // namespace kb
