#include "SearchCommands.h"

#include "TDataForm.h"
#include "TSearchForm.h"
#include "UiServices.h"

namespace kb {

void SearchCommands::BtnSearchClick(TDataForm &data, UiServices &ui, QWidget *parent)
{
    TSearchForm form(data, ui, parent);
    if (ui.runModal(form) != QDialog::Accepted)
        return;
    if (const std::optional<qint64> nr = form.selectedNr())
        data.KasseTable.locate(QStringLiteral("Nr"), *nr);
}

} // namespace kb
