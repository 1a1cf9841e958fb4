#pragma once

#include "MasterEditDialog.h"

class QToolButton;

namespace kb {

class DbGrid;
class FormatSettings;
class TDataForm;

// The group GruppenTable stands on: its name and type, its accounts on the left, all accounts on
// the right, with buttons to assign and remove. Every way of closing stores group and links.
class TGruppeEditForm : public MasterEditDialog
{
    Q_OBJECT

public:
    TGruppeEditForm(const MasterDialogServices &services, const FormatSettings &formats, TDataForm &data,
                    QWidget *parent);

    DbGrid &linkGrid() const { return *m_DBGrid1; }
    DbGrid &accountGrid() const { return *m_DBGrid2; }

    // Assigns the account selected on the right to the group.
    void SpeedButton1Click();
    // Removes the link selected on the left from the group.
    void SpeedButton2Click();

private:
    DbGrid *addGrid(const QString &title, const QString &objectName, DataSource &source);
    QToolButton *addMoveButton(const QString &objectName, const QString &caption, std::function<void()> handler);
    // The checks both buttons begin with; false when the command must stop.
    bool groupReady();

    const FormatSettings &m_formats;
    TDataForm &m_data;
    DbGrid *m_DBGrid1;
    DbGrid *m_DBGrid2;
};

} // namespace kb
