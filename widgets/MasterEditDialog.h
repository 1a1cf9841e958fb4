#pragma once

#include "MasterDialogFrame.h"

#include <QList>

class QHBoxLayout;
class QVBoxLayout;
class QPushButton;

namespace kb {

class DataSource;
class DbCheckBox;
class DbEdit;
class Table;

// The edit dialog of a master-data row: entry fields bound to the list's cursor (no copy of the
// row), each accepting at most its field's width. Two ways of closing:
// - SaveOrCancel: "Speichern und Schließen" (default) stores a pending change, "Abbrechen"
//   (cancel button) and the close box discard it. A store that fails keeps the dialog open with
//   the change pending.
// - StoreOnClose: "Schließen" (default) and every other way of closing store the pending changes
//   of the dialog's cursors; the dialog offers no way to discard them.
class MasterEditDialog : public MasterDialogFrame
{
    Q_OBJECT

public:
    enum class Closing { SaveOrCancel, StoreOnClose };

    // One entry field of a row of the form: its label (right-aligned, left of it) and field.
    struct Entry
    {
        QString label;
        QString field;
        QString objectName;
        int width = 0;  // pixels; 0: the rest of the row
        QString hint;
    };

    MasterEditDialog(const MasterDialogServices &services, DataSource &source, Closing closing, const Frame &frame,
                     QWidget *parent);

    // Stored on closing too (StoreOnClose), after the dialog's own cursor.
    void alsoStoreOnClose(Table &table);

    void accept() override;
    void reject() override;

protected:
    // The first entry field has the focus when the dialog shows; Tab then walks the fields before the buttons.
    void showEvent(QShowEvent *event) override;
    // A row of entry fields in tab order; fields without width share the row's rest equally.
    QList<DbEdit *> addRow(const QList<Entry> &entries);
    DbCheckBox *addCheckBox(const QString &caption, const QString &field, const QString &objectName,
                            const QString &hint);
    // The form below the entry fields, for what else the dialog shows.
    QVBoxLayout &form() const { return *m_form; }

private:
    void storePending();
    void discardPending();
    void limitToFieldWidth(DbEdit &edit);
    // A new row of the form, its first label column as wide as every row's.
    QHBoxLayout *addFormRow(QWidget *firstLabel);

    DataSource &m_source;
    Closing m_closing;
    QList<Table *> m_tables;
    QVBoxLayout *m_form;
    QWidget *m_firstEntry = nullptr;
    QList<QWidget *> m_firstLabels;
};

} // namespace kb
