#pragma once

#include "MasterListDialog.h"

namespace kb {

class TDataForm;

// The account group list: creates, edits and deletes groups; a new group is stored at once so
// that its links can refer to its number.
class TGruppeForm : public MasterListDialog
{
    Q_OBJECT

public:
    TGruppeForm(const MasterDialogServices &services, const FormatSettings &formats, TDataForm &data, QWidget *parent);

protected:
    std::unique_ptr<QDialog> createEditDialog() override;

private:
    MasterDialogServices m_services;
    const FormatSettings &m_formats;
    TDataForm &m_data;
};

} // namespace kb
