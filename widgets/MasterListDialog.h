#pragma once

#include "DbGrid.h"
#include "MasterDialogFrame.h"

#include <memory>

class QPushButton;

namespace kb {

class DataSource;
class FormatSettings;
class Table;

// The list dialog of a master-data table: a read-only, whole-row grid on the table's cursor,
// "new" as default button, edit and delete of the current row, "Schließen" as cancel button and
// "Hilfe ...". New and edit show the edit dialog on the same cursor; a new row gets the default
// name, the prefix followed by the number of stored rows plus one. Delete refuses on an empty
// table and asks before the row goes. A concrete dialog states only what differs.
class MasterListDialog : public MasterDialogFrame
{
    Q_OBJECT

public:
    struct List
    {
        QList<DbGrid::Column> columns;
        QString newCaption;
        QString editCaption;  // empty: no edit button
        QString deleteCaption;
        QString nameField;          // the field the default name and the delete question show
        QString defaultNamePrefix;  // "Neue Firma "
        QString deleteObject;       // "die Firma ": "Wollen Sie tatsächlich die Firma X löschen?"
        QString pluralName;         // "Firmen": "Es sind noch keine Firmen vorhanden."
        bool editOnDoubleClick = false;
        // Cells are typed into directly instead of a read-only grid with an edit dialog.
        bool editInPlace = false;
        // A new row is stored before its edit dialog opens, so that other rows can refer to it.
        bool storeNewAtOnce = false;
    };

    MasterListDialog(const MasterDialogServices &services, const FormatSettings &formats, DataSource &source,
                     const Frame &frame, const List &list, QWidget *parent);
    ~MasterListDialog() override;

    DbGrid &grid() const { return *m_DBGrid1; }
    Table &table() const;

    static QString deleteQuestion(const QString &object, const QString &name);
    static QString emptyTableMessage(const QString &pluralName);

    // The button handlers; their controls are named Button1, Button3, Button2 and Button4.
    virtual void newRecord();
    void editRecord();
    virtual void deleteRecord();
    void DBGrid1DblClick();

protected:
    // The edit dialog on the cursor's current row; shown modally and destroyed by the list.
    virtual std::unique_ptr<QDialog> createEditDialog() { return nullptr; }
    QPushButton *newButton() const { return m_Button1; }
    QPushButton *deleteButton() const { return m_Button2; }
    QPushButton *closeButton() const { return m_Button4; }
    QPushButton *helpButton() const { return m_Button5; }

private:
    void showEditDialog(std::unique_ptr<QDialog> dialog);

    DataSource &m_source;
    List m_list;
    DbGrid *m_DBGrid1;
    QPushButton *m_Button1;
    QPushButton *m_Button2;
    QPushButton *m_Button3 = nullptr;
    QPushButton *m_Button4;
    QPushButton *m_Button5;
};

} // namespace kb
