#include "MasterEditDialog.h"

#include "CommandGuard.h"
#include "DataSource.h"
#include "DbCheckBox.h"
#include "DbEdit.h"
#include "Field.h"
#include "Hint.h"
#include "Table.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kb {

namespace {


} // namespace

MasterEditDialog::MasterEditDialog(const MasterDialogServices &services, DataSource &source, Closing closing,
                                   const Frame &frame, QWidget *parent)
    : MasterDialogFrame(services, frame, parent), m_source(source), m_closing(closing)
{
    m_tables.append(source.table());
    m_form = new QVBoxLayout;
    m_form->setContentsMargins(0, 0, 0, 0);
    body().addLayout(m_form, 1);

    QPushButton *close = nullptr;
    if (closing == Closing::SaveOrCancel) {
        close = addBottomButton(QStringLiteral("Button3"), QStringLiteral("Speichern und Schließen"), [this] { accept(); });
        addBottomButton(QStringLiteral("Button1"), QStringLiteral("Abbrechen"), [this] { reject(); });
    } else {
        close = addBottomButton(QStringLiteral("Button3"), QStringLiteral("Schließen"), [this] { accept(); });
    }
    close->setDefault(true);
    addHelpButton(QStringLiteral("Button2"));
}

void MasterEditDialog::showEvent(QShowEvent *event)
{
    MasterDialogFrame::showEvent(event);
    if (m_firstEntry)
        m_firstEntry->setFocus(Qt::TabFocusReason);
}

void MasterEditDialog::alsoStoreOnClose(Table &table)
{
    m_tables.append(&table);
}

void MasterEditDialog::accept()
{
    if (CommandGuard::guard(ui(), [this] { storePending(); }))
        QDialog::accept();
}

void MasterEditDialog::reject()
{
    const bool closes = CommandGuard::guard(ui(), [this] {
        if (m_closing == Closing::SaveOrCancel)
            discardPending();
        else
            storePending();
    });
    if (closes)
        QDialog::reject();
}

void MasterEditDialog::storePending()
{
    for (Table *table : std::as_const(m_tables)) {
        if (table->isEditing())
            table->post();
    }
}

void MasterEditDialog::discardPending()
{
    m_source.table()->cancel();
}

QList<DbEdit *> MasterEditDialog::addRow(const QList<Entry> &entries)
{
    QList<DbEdit *> edits;
    QHBoxLayout *row = nullptr;
    for (const Entry &entry : entries) {
        auto *label = new QLabel(entry.label, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (row)
            row->addWidget(label);
        else
            row = addFormRow(label);
        auto *edit = new DbEdit(ui(), this);
        edit->setObjectName(entry.objectName);
        edit->bind(&m_source, entry.field);
        limitToFieldWidth(*edit);
        Hint::apply(*edit, entry.hint);
        label->setBuddy(edit);
        if (!m_firstEntry)
            m_firstEntry = edit;
        if (entry.width > 0)
            edit->setFixedWidth(entry.width);
        row->addWidget(edit, entry.width > 0 ? 0 : 1);
        edits.append(edit);
    }
    if (row && edits.last()->maximumWidth() < QWIDGETSIZE_MAX)
        row->addStretch(1);
    return edits;
}

DbCheckBox *MasterEditDialog::addCheckBox(const QString &caption, const QString &field, const QString &objectName,
                                          const QString &hint)
{
    auto *box = new DbCheckBox(ui(), this);
    box->setObjectName(objectName);
    box->setText(caption);
    box->bind(&m_source, field);
    Hint::apply(*box, hint);
    addFormRow(new QWidget(this))->addWidget(box, 1);
    return box;
}

QHBoxLayout *MasterEditDialog::addFormRow(QWidget *firstLabel)
{
    // The labels before the first field of each row are as wide as the widest, so the fields line up.
    m_firstLabels.append(firstLabel);
    int width = 0;
    for (QWidget *label : std::as_const(m_firstLabels))
        width = std::max(width, label->sizeHint().width());
    for (QWidget *label : std::as_const(m_firstLabels))
        label->setFixedWidth(width);
    auto *row = new QHBoxLayout;
    row->addWidget(firstLabel);
    m_form->addLayout(row);
    return row;
}

// Text fields take no more characters than they hold; numbers and dates have no such limit.
void MasterEditDialog::limitToFieldWidth(DbEdit &edit)
{
    const Field *field = edit.field();
    if (field && field->type() == FieldType::Text && field->width() > 0)
        edit.setMaxLength(field->width());
}

} // namespace kb
