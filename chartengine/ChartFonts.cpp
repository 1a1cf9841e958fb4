#include "ChartFonts.h"

#include <QPaintDevice>
#include <QPainter>

namespace kb {

namespace {

QFont sized(const QPainter &painter, double points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    // A font tied to the painter's device measures in that device's units.
    return QFont(font, painter.device());
}

} // namespace

QFont ChartFonts::title(const QPainter &painter)
{
    return sized(painter, 10, true);
}

QFont ChartFonts::legend(const QPainter &painter)
{
    return sized(painter, 8, false);
}

QFont ChartFonts::marks(const QPainter &painter)
{
    return sized(painter, 7.5, false);
}

double ChartFonts::spacing(const QPainter &painter)
{
    return painter.device() ? painter.device()->logicalDpiX() / 24.0 : 4.0;
}

} // namespace kb
