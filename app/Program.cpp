#include "Program.h"

#include "ApplicationContext.h"
#include "BackupCommands.h"
#include "CashCountCommands.h"
#include "ChartCommands.h"
#include "CommandRegistry.h"
#include "DesignCommands.h"
#include "ExportCommands.h"
#include "MasterDataCommands.h"
#include "ReportCommands.h"
#include "SearchCommands.h"
#include "TDataForm.h"
#include "TMainForm.h"

namespace kb {

Program::Program(const QString &programDirectory, UiServices &ui, Clock &clock)
    : m_mainForm(std::make_unique<TMainForm>(programDirectory, m_formats, ui))
{
    m_dataForm = std::make_unique<TDataForm>(programDirectory, ui, m_mainForm.get());
    m_mainForm->setDataModule(*m_dataForm);
    m_commands = std::make_unique<CommandRegistry>(*m_mainForm, ui);
    m_mainForm->setCommands(*m_commands);
    m_context.reset(new ApplicationContext{programDirectory, *m_dataForm, ui, m_formats, m_mainForm->settings(),
                                           m_mainForm->printer(), m_mainForm->helpViewer(), clock, *m_mainForm,
                                           *m_commands});
    installCommands();
}

// The window goes first, so that no control outlives the data sources it is bound to.
Program::~Program()
{
    if (m_dataForm)
        m_dataForm->setProgress(nullptr);
    m_mainForm.reset();
    m_dataForm.reset();
}

Clock &Program::systemClock()
{
    static Clock clock;
    return clock;
}

// Each subsystem installs its own commands, one line each.
void Program::installCommands()
{
    MasterDataCommands::install(*m_context);
    BackupCommands::install(*m_context);
    SearchCommands::install(*m_context);
    ExportCommands::install(*m_context);
    ReportCommands::install(*m_context);
    ChartCommands::install(*m_context);
    CashCountCommands::install(*m_context);
    DesignCommands::install(*m_context);
}

void Program::show()
{
    m_mainForm->show();
}

} // namespace kb
