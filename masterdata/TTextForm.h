#pragma once

#include "MasterListDialog.h"

namespace kb {

class TDataForm;

// The standard booking texts, edited in place in the grid. A changed row is stored when the user
// leaves it or closes the dialog; a new row left untouched is dropped.
class TTextForm : public MasterListDialog
{
    Q_OBJECT

public:
    TTextForm(const MasterDialogServices &services, const FormatSettings &formats, TDataForm &data, QWidget *parent);

    static QString deleteRowQuestion() { return QStringLiteral("Datensatz löschen?"); }

    // A new, empty row ready for typing.
    void newRecord() override;
    // Deletes the current row at once; a new row not yet stored is discarded instead.
    void deleteRecord() override;
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Drops a new row left untouched when the focus leaves the grid.
    void focusChanged(QWidget *old, QWidget *now);
    // Stores a typed row, drops a new row nothing was typed into.
    void finishPendingRow();
    void deleteAfterQuestion();
};

} // namespace kb
