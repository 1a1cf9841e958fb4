#include "TTextForm.h"

#include "CommandGuard.h"
#include "MasterDataIcons.h"
#include "TDataForm.h"
#include "Table.h"
#include "UiServices.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace kb {

namespace {

MasterDialogFrame::Frame frame()
{
    return {QStringLiteral("TextForm"), QStringLiteral("Textvorgaben"), {458, 331},
            MasterDataIcons::icon(QStringLiteral("texts")), QStringLiteral("Textvorgaben bearbeiten"),
            QStringLiteral("Bearbeiten Sie links den Text direkt in der Tabelle."), 18};
}

MasterListDialog::List list()
{
    MasterListDialog::List list;
    list.columns = {{QStringLiteral("Text"), {}, 250}};
    list.newCaption = QStringLiteral("Neuen Text anlegen ...");
    list.deleteCaption = QStringLiteral("Text löschen ...");
    list.editInPlace = true;
    return list;
}

bool isUntouched(const Table &table)
{
    for (int i = 0; i < table.fieldCount(); ++i) {
        if (table.field(i).isModified())
            return false;
    }
    return true;
}

} // namespace

TTextForm::TTextForm(const MasterDialogServices &services, const FormatSettings &formats, TDataForm &data,
                     QWidget *parent)
    : MasterListDialog(services, formats, data.TexteSource, frame(), list(), parent)
{
    helpButton()->setObjectName(QStringLiteral("Button3"));
    grid().installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &TTextForm::focusChanged);
}

// The focus leaves the grid, from the grid itself or from its cell editor.
void TTextForm::focusChanged(QWidget *old, QWidget *now)
{
    const auto inGrid = [this](QWidget *widget) { return widget && (widget == &grid() || grid().isAncestorOf(widget)); };
    if (inGrid(old) && !inGrid(now) && table().state() == CursorState::Insert && isUntouched(table()))
        table().cancel();
}

void TTextForm::newRecord()
{
    finishPendingRow();
    table().append();
    grid().setFocus();
    grid().edit(grid().currentIndex());
}

void TTextForm::deleteRecord()
{
    table().deleteRecord();
}

void TTextForm::reject()
{
    if (CommandGuard::guard(ui(), [this] { finishPendingRow(); }))
        MasterListDialog::reject();
}

void TTextForm::finishPendingRow()
{
    Table &texts = table();
    if (texts.state() == CursorState::Insert && isUntouched(texts))
        texts.cancel();
    else
        texts.post();
}

void TTextForm::deleteAfterQuestion()
{
    if (ui().confirmOkCancel(deleteRowQuestion()))
        table().deleteRecord();
}

bool TTextForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &grid()) {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier) {
                CommandGuard::guard(ui(), [this] { deleteAfterQuestion(); });
                return true;
            }
        }
    }
    return MasterListDialog::eventFilter(watched, event);
}

} // namespace kb
