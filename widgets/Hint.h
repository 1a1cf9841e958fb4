#pragma once

#include <QString>

class QAction;
class QWidget;

namespace kb {

// A hint "short|long": the short part is the tooltip, the long part the status-line text; a hint
// without "|" is both.
class Hint
{
public:
    static QString shortPart(const QString &hint);
    static QString longPart(const QString &hint);
    static void apply(QWidget &widget, const QString &hint);
    static void apply(QAction &action, const QString &hint);
};

} // namespace kb
