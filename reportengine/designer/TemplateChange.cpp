#include "TemplateChange.h"

namespace kb::report {

TemplateChange::TemplateChange(const QString &text, ReportTemplate &target, ReportTemplate before, std::function<void()> changed)
    : QUndoCommand(text), m_target(target), m_before(std::move(before)), m_after(target), m_changed(std::move(changed))
{
}

void TemplateChange::undo()
{
    m_target = m_before;
    m_changed();
}

void TemplateChange::redo()
{
    m_target = m_after;
    m_changed();
}

} // namespace kb::report
