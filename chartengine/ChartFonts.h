#pragma once

#include <QFont>

class QPainter;

namespace kb {

// The fonts and spacing of every chart part, sized for the painter's device so that a printed
// chart reads like the one on screen.
class ChartFonts
{
public:
    static QFont title(const QPainter &painter);
    static QFont legend(const QPainter &painter);
    static QFont marks(const QPainter &painter);
    // A small gap between chart parts, in device units.
    static double spacing(const QPainter &painter);
};

} // namespace kb
