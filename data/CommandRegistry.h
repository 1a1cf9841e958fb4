#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace kb {

class UiServices;

// The commands of the main window by their handler names. A subsystem installs each of its
// commands here with the menu items and buttons that run it; every run goes through the one
// command guard, so no exception crosses the event loop.
class CommandRegistry
{
public:
    CommandRegistry(QWidget &window, UiServices &ui);
    CommandRegistry(const CommandRegistry &) = delete;
    CommandRegistry &operator=(const CommandRegistry &) = delete;

    // Binds the handler to the menu items, tool buttons and push buttons with these object names
    // (anywhere in the window, its menus and panels) and enables them. A name that matches no
    // control, or a handler installed twice, is a programming error (std::logic_error).
    void install(const QString &handler, const QStringList &controlNames, std::function<void()> command);
    // Runs the handler guarded; true when it ran to its end.
    bool run(const QString &handler);
    // Runs the handler unguarded: its exceptions reach the caller.
    void invoke(const QString &handler) const;
    bool contains(const QString &handler) const;

private:
    void bind(const QString &controlName, const QString &handler);

    QWidget &m_window;
    UiServices &m_ui;
    QHash<QString, std::function<void()>> m_commands;
};

} // namespace kb
