#pragma once

#include "MasterEditDialog.h"

namespace kb {

class TDataForm;

// The account KontenTable stands on: name, bookkeeping number, VAT percentage and minus flag.
class TKontenEditForm : public MasterEditDialog
{
    Q_OBJECT

public:
    TKontenEditForm(const MasterDialogServices &services, TDataForm &data, QWidget *parent);
};

} // namespace kb
