#pragma once

#include "ReportTemplate.h"

#include <QUndoCommand>

#include <functional>

namespace kb::report {

// One undoable step of the designer: the whole template before and after it. Templates are a few
// kilobytes, and a snapshot can never drift from the state it restores, whatever the step did.
class TemplateChange : public QUndoCommand
{
public:
    TemplateChange(const QString &text, ReportTemplate &target, ReportTemplate before, std::function<void()> changed);

    void undo() override;
    void redo() override;

private:
    ReportTemplate &m_target;
    ReportTemplate m_before;
    ReportTemplate m_after;
    std::function<void()> m_changed;
};

} // namespace kb::report
