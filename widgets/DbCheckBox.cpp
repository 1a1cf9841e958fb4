#include "DbCheckBox.h"

#include "CommandGuard.h"
#include "Field.h"

namespace kb {

DbCheckBox::DbCheckBox(UiServices &ui, QWidget *parent)
    : QCheckBox(parent), m_ui(ui), m_link(new FieldLink(this))
{
    m_link->onChanged = [this] { showField(); };
}

void DbCheckBox::bind(DataSource *source, const QString &fieldName)
{
    m_link->bind(source, fieldName);
}

void DbCheckBox::nextCheckState()
{
    if (m_readOnly || !m_link->field())
        return;
    const bool ticked = !isChecked();
    CommandGuard::guard(m_ui, [this, ticked] {
        m_link->edit();
        m_link->field()->setAsBoolean(ticked);
    });
    showField();
}

void DbCheckBox::showField()
{
    const Field *field = m_link->field();
    setChecked(field && field->asBoolean());
}

} // namespace kb
