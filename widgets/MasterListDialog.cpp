#include "MasterListDialog.h"

#include "CommandGuard.h"
#include "DataSource.h"
#include "RowIndicatorHeader.h"
#include "Table.h"
#include "UiServices.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace kb {

MasterListDialog::MasterListDialog(const MasterDialogServices &services, const FormatSettings &formats,
                                   DataSource &source, const Frame &frame, const List &list, QWidget *parent)
    : MasterDialogFrame(services, frame, parent), m_source(source), m_list(list)
{
    m_DBGrid1 = new DbGrid(ui(), formats, this);
    m_DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    if (!list.editInPlace) {
        m_DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    }
    m_DBGrid1->setVerticalHeader(new RowIndicatorHeader(*m_DBGrid1));
    m_DBGrid1->setColumns(list.columns);
    m_DBGrid1->bind(&source);
    m_DBGrid1->tableModel()->setReadOnly(!list.editInPlace);
    body().addWidget(m_DBGrid1);
    connect(m_DBGrid1, &QAbstractItemView::doubleClicked, this, [this] { DBGrid1DblClick(); });

    m_Button1 = addTopButton(QStringLiteral("Button1"), list.newCaption, [this] { newRecord(); });
    m_Button1->setDefault(true);
    if (!list.editCaption.isEmpty())
        m_Button3 = addTopButton(QStringLiteral("Button3"), list.editCaption, [this] { editRecord(); });
    m_Button2 = addTopButton(QStringLiteral("Button2"), list.deleteCaption, [this] { deleteRecord(); });
    m_Button4 = addBottomButton(QStringLiteral("Button4"), QStringLiteral("Schließen"), [this] { reject(); });
    m_Button5 = addHelpButton(QStringLiteral("Button5"));
    setFocusProxy(m_DBGrid1);
}

MasterListDialog::~MasterListDialog() = default;

Table &MasterListDialog::table() const
{
    return *m_source.table();
}

QString MasterListDialog::deleteQuestion(const QString &object, const QString &name)
{
    return QStringLiteral("Wollen Sie tatsächlich ") + object + name + QStringLiteral(" löschen?");
}

QString MasterListDialog::emptyTableMessage(const QString &pluralName)
{
    return QStringLiteral("Es sind noch keine ") + pluralName + QStringLiteral(" vorhanden.");
}

void MasterListDialog::newRecord()
{
    std::unique_ptr<QDialog> dialog = createEditDialog();
    Table &rows = table();
    rows.append();
    const int stored = rows.recordCount();
    rows.fieldByName(m_list.nameField).setAsString(m_list.defaultNamePrefix + QString::number(stored + 1));
    if (m_list.storeNewAtOnce)
        rows.post();
    showEditDialog(std::move(dialog));
}

void MasterListDialog::editRecord()
{
    showEditDialog(createEditDialog());
}

void MasterListDialog::deleteRecord()
{
    Table &rows = table();
    if (rows.recordCount() == 0) {
        ui().message(emptyTableMessage(m_list.pluralName));
        return;
    }
    const QString name = rows.fieldByName(m_list.nameField).asString();
    if (ui().confirm(deleteQuestion(m_list.deleteObject, name)))
        rows.deleteRecord();
}

// A double-click edits the row as the edit button does, where the dialog offers it.
void MasterListDialog::DBGrid1DblClick()
{
    if (m_list.editOnDoubleClick && m_Button3)
        m_Button3->click();
}

void MasterListDialog::showEditDialog(std::unique_ptr<QDialog> dialog)
{
    if (dialog)
        ui().runModal(*dialog);
}

} // namespace kb
