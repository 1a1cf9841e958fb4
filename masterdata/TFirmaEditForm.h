#pragma once

#include "MasterEditDialog.h"

namespace kb {

class TDataForm;

// The master data of the company FirmaTable stands on, bound to the cursor itself.
class TFirmaEditForm : public MasterEditDialog
{
    Q_OBJECT

public:
    TFirmaEditForm(const MasterDialogServices &services, TDataForm &data, QWidget *parent);
};

} // namespace kb
