#include "ChartToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kb {

namespace {

constexpr int side = 20;

void drawLegendFrame(QPainter &painter, const QRectF &legend)
{
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(2.5, 2.5, 15, 15));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 90, 200));
    painter.drawRect(legend);
}

void drawMagnifier(QPainter &painter, const QString &sign)
{
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(QColor(220, 235, 255));
    painter.drawEllipse(QRectF(2, 2, 11, 11));
    painter.drawLine(QPointF(11.5, 11.5), QPointF(17.5, 17.5));
    painter.drawText(QRectF(2, 1, 11, 11), Qt::AlignCenter, sign);
}

void draw(QPainter &painter, ChartToolIcons::Kind kind)
{
    using Kind = ChartToolIcons::Kind;
    switch (kind) {
    case Kind::Save:
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(60, 90, 170));
        painter.drawRect(QRectF(2.5, 2.5, 15, 15));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(5.5, 2.5, 9, 6));
        painter.drawRect(QRectF(5.5, 11.5, 9, 6));
        break;
    case Kind::Print:
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(5.5, 2.5, 9, 6));
        painter.setBrush(Qt::lightGray);
        painter.drawRect(QRectF(2.5, 8.5, 15, 6));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(5.5, 12.5, 9, 5));
        break;
    case Kind::Pie: {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(230, 200, 40));
        painter.drawEllipse(QRectF(2.5, 2.5, 15, 15));
        QPainterPath slice(QPointF(10, 10));
        slice.arcTo(QRectF(2.5, 2.5, 15, 15), 0, 100);
        slice.closeSubpath();
        painter.setBrush(QColor(200, 40, 40));
        painter.drawPath(slice);
        break;
    }
    case Kind::Bar:
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(40, 160, 40));
        painter.drawRect(QRectF(3.5, 9.5, 4, 8));
        painter.drawRect(QRectF(8.5, 4.5, 4, 13));
        painter.drawRect(QRectF(13.5, 11.5, 4, 6));
        break;
    case Kind::Line:
        painter.setPen(QPen(QColor(200, 30, 30), 2));
        painter.drawPolyline(QPolygonF{QPointF(2, 16), QPointF(7, 8), QPointF(12, 12), QPointF(18, 3)});
        break;
    case Kind::ZoomIn: drawMagnifier(painter, QStringLiteral("+")); break;
    case Kind::ZoomOut: drawMagnifier(painter, QStringLiteral("−")); break;
    case Kind::Zoom100: drawMagnifier(painter, QStringLiteral("1")); break;
    case Kind::LegendTop: drawLegendFrame(painter, QRectF(5, 4, 10, 3)); break;
    case Kind::LegendBottom: drawLegendFrame(painter, QRectF(5, 13, 10, 3)); break;
    case Kind::LegendLeft: drawLegendFrame(painter, QRectF(4, 5, 3, 10)); break;
    case Kind::LegendRight: drawLegendFrame(painter, QRectF(13, 5, 3, 10)); break;
    case Kind::NoLegend:
        drawLegendFrame(painter, QRectF());
        painter.setPen(QPen(QColor(200, 30, 30), 1.5));
        painter.drawLine(QPointF(4, 4), QPointF(16, 16));
        break;
    }
}

} // namespace

QIcon ChartToolIcons::icon(Kind kind)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    draw(painter, kind);
    painter.end();
    return QIcon(pixmap);
}

} // namespace kb
