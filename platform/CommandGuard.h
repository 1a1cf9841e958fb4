#pragma once

#include "UiServices.h"

#include <QAbstractButton>
#include <QAction>
#include <QObject>

#include <functional>

namespace kb {

// The one way a user command runs: whatever it throws ends the command and reaches the general
// error display, the silent Abort ends it without a word, and nothing crosses the event loop.
class CommandGuard
{
public:
    // True when the command ran to its end.
    static bool guard(UiServices &ui, const std::function<void()> &command);

    // Runs the command guarded whenever the sender emits the signal. The connection ends with the
    // sender; ui must outlive it.
    template <typename Sender, typename Signal>
    static QMetaObject::Connection connect(Sender *sender, Signal signal, UiServices &ui,
                                           std::function<void()> command)
    {
        return QObject::connect(sender, signal, sender,
                                [&ui, command = std::move(command)] { guard(ui, command); });
    }

    // A menu item or tool button: its triggered signal.
    static QMetaObject::Connection connect(QAction *action, UiServices &ui, std::function<void()> command);
    // A push button, check box or tool button: its clicked signal.
    static QMetaObject::Connection connect(QAbstractButton *button, UiServices &ui, std::function<void()> command);
};

} // namespace kb
