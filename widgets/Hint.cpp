#include "Hint.h"

#include <QAction>
#include <QWidget>

namespace kb {

QString Hint::shortPart(const QString &hint)
{
    return hint.section(QLatin1Char('|'), 0, 0);
}

QString Hint::longPart(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void Hint::apply(QWidget &widget, const QString &hint)
{
    widget.setToolTip(shortPart(hint));
    widget.setStatusTip(longPart(hint));
}

void Hint::apply(QAction &action, const QString &hint)
{
    action.setToolTip(shortPart(hint));
    action.setStatusTip(longPart(hint));
}

} // namespace kb
