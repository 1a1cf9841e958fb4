#include "Program.h"

#include "TDataForm.h"
#include "TMainForm.h"

namespace kb {

Program::Program(const QString &programDirectory, UiServices &ui)
    : m_mainForm(std::make_unique<TMainForm>(programDirectory, m_formats, ui))
{
    m_dataForm = std::make_unique<TDataForm>(programDirectory, ui, m_mainForm.get());
    m_mainForm->setDataModule(*m_dataForm);
}

// The window goes first, so that no control outlives the data sources it is bound to.
Program::~Program()
{
    if (m_dataForm)
        m_dataForm->setProgress(nullptr);
    m_mainForm.reset();
    m_dataForm.reset();
}

void Program::show()
{
    m_mainForm->show();
}

} // namespace kb
