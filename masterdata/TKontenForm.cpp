#include "TKontenForm.h"

#include "MasterDataIcons.h"
#include "TDataForm.h"
#include "TKontenEditForm.h"

namespace kb {

namespace {

MasterDialogFrame::Frame frame()
{
    return {QStringLiteral("KontenForm"), QStringLiteral("Konten"), {461, 333}, MasterDataIcons::icon(QStringLiteral("accounts")),
            QStringLiteral("Konten auswählen / bearbeiten"),
            QStringLiteral("Wählen Sie links das Konto aus, das Sie bearbeiten wollen."), 16};
}

MasterListDialog::List list()
{
    MasterListDialog::List list;
    list.columns = {{QStringLiteral("Kontoname"), {}, 150},
                    {QStringLiteral("KontoProzentSatz"), QStringLiteral("Prozentsatz"), 70}};
    list.newCaption = QStringLiteral("Neues Konto anlegen ...");
    list.editCaption = QStringLiteral("Konto bearbeiten ...");
    list.deleteCaption = QStringLiteral("Konto löschen ...");
    list.nameField = QStringLiteral("Kontoname");
    list.defaultNamePrefix = QStringLiteral("Neues Konto ");
    list.deleteObject = QStringLiteral("das Konto ");
    list.pluralName = QStringLiteral("Konten");
    return list;
}

} // namespace

TKontenForm::TKontenForm(const MasterDialogServices &services, const FormatSettings &formats, TDataForm &data,
                         QWidget *parent)
    : MasterListDialog(services, formats, data.KontenSource, frame(), list(), parent), m_services(services), m_data(data)
{
}

std::unique_ptr<QDialog> TKontenForm::createEditDialog()
{
    return std::make_unique<TKontenEditForm>(m_services, m_data, this);
}

} // namespace kb
