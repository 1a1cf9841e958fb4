#include "CommandGuard.h"

#include "Errors.h"

namespace kb {

bool CommandGuard::guard(UiServices &ui, const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const Abort &) {
    } catch (const Error &error) {
        ui.showError(error.text());
    } catch (const std::exception &error) {
        ui.showError(QString::fromUtf8(error.what()));
    } catch (...) {
        ui.showError(QStringLiteral("Unbekannter Fehler"));
    }
    return false;
}

QMetaObject::Connection CommandGuard::connect(QAction *action, UiServices &ui, std::function<void()> command)
{
    return connect(action, &QAction::triggered, ui, std::move(command));
}

QMetaObject::Connection CommandGuard::connect(QAbstractButton *button, UiServices &ui,
                                              std::function<void()> command)
{
    return connect(button, &QAbstractButton::clicked, ui, std::move(command));
}

} // namespace kb
