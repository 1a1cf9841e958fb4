#include "CommandRegistry.h"

#include "CommandGuard.h"

#include <QAbstractButton>
#include <QAction>
#include <QWidget>

#include <stdexcept>

namespace kb {

CommandRegistry::CommandRegistry(QWidget &window, UiServices &ui) : m_window(window), m_ui(ui) {}

void CommandRegistry::install(const QString &handler, const QStringList &controlNames,
                              std::function<void()> command)
{
    if (m_commands.contains(handler))
        throw std::logic_error(QStringLiteral("%1 is installed twice").arg(handler).toStdString());
    m_commands.insert(handler, std::move(command));
    for (const QString &name : controlNames)
        bind(name, handler);
}

void CommandRegistry::bind(const QString &controlName, const QString &handler)
{
    const auto run = [this, handler] { invoke(handler); };
    const QList<QAction *> actions = m_window.findChildren<QAction *>(controlName);
    const QList<QAbstractButton *> buttons = m_window.findChildren<QAbstractButton *>(controlName);
    if (actions.isEmpty() && buttons.isEmpty())
        throw std::logic_error(QStringLiteral("No control %1 for %2").arg(controlName, handler).toStdString());
    for (QAction *action : actions) {
        CommandGuard::connect(action, m_ui, run);
        action->setEnabled(true);
    }
    for (QAbstractButton *button : buttons) {
        CommandGuard::connect(button, m_ui, run);
        button->setEnabled(true);
    }
}

bool CommandRegistry::run(const QString &handler)
{
    return CommandGuard::guard(m_ui, [this, &handler] { invoke(handler); });
}

void CommandRegistry::invoke(const QString &handler) const
{
    const auto command = m_commands.constFind(handler);
    if (command == m_commands.cend())
        throw std::logic_error(QStringLiteral("%1 is not installed").arg(handler).toStdString());
    (*command)();
}

bool CommandRegistry::contains(const QString &handler) const
{
    return m_commands.contains(handler);
}

} // namespace kb
