#pragma once

#include "MasterListDialog.h"

namespace kb {

class TDataForm;

// The company list: chooses the current company (the row FirmaTable stands on when the list
// closes) and creates, edits and deletes companies.
class TFirmaForm : public MasterListDialog
{
    Q_OBJECT

public:
    TFirmaForm(const MasterDialogServices &services, const FormatSettings &formats, TDataForm &data, QWidget *parent);

protected:
    std::unique_ptr<QDialog> createEditDialog() override;

private:
    MasterDialogServices m_services;
    TDataForm &m_data;
};

} // namespace kb
