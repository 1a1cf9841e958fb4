#pragma once

#include "MasterListDialog.h"

namespace kb {

class TDataForm;

// The account list: creates, edits and deletes the accounts all companies share.
class TKontenForm : public MasterListDialog
{
    Q_OBJECT

public:
    TKontenForm(const MasterDialogServices &services, const FormatSettings &formats, TDataForm &data, QWidget *parent);

protected:
    std::unique_ptr<QDialog> createEditDialog() override;

private:
    MasterDialogServices m_services;
    TDataForm &m_data;
};

} // namespace kb
