#include "AxisChartRenderer.h"

#include "ChartFonts.h"
#include "TextForms.h"

#include <QPainter>

#include <algorithm>

namespace kb {

namespace {

constexpr int valueTicks = 5;
constexpr double barShare = 0.3;  // half a bar's width, in categories

} // namespace

QPointF AxisChartRenderer::Frame::map(double category, double value) const
{
    const double x = plot.left() + (category - categories.minimum) / categories.span() * plot.width();
    const double y = plot.bottom() - (value - values.minimum) / values.span() * plot.height();
    return {x, y};
}

AxisChartRenderer::Frame AxisChartRenderer::frame(QPainter &painter, const QRectF &area) const
{
    Frame frame;
    frame.categories = m_chart.axisRange(AxisPosition::Bottom);
    frame.values = m_chart.axisRange(AxisPosition::Left);
    if (frame.categories.span() == 0)
        frame.categories.maximum += 1;
    if (frame.values.span() == 0)
        frame.values.maximum += 1;
    QRectF plot = area;
    if (m_chart.axesVisible) {
        painter.setFont(ChartFonts::legend(painter));
        const QFontMetricsF metrics(painter.font());
        const double widest = std::max(metrics.horizontalAdvance(TextForms::plainNumber(frame.values.maximum)),
                                       metrics.horizontalAdvance(TextForms::plainNumber(frame.values.minimum)));
        plot.adjust(widest + metrics.height() * 2, metrics.height() / 2, 0, -metrics.height() * 2.5);
    }
    const double depth = m_chart.view3D.enabled ? std::min(plot.width(), plot.height()) * m_chart.view3D.depthPercent / 400.0 : 0;
    frame.depth = QPointF(depth, -depth);
    frame.plot = plot.adjusted(0, depth, -depth, 0);
    return frame;
}

void AxisChartRenderer::draw(QPainter &painter, const QRectF &area) const
{
    painter.save();
    const Frame frame = this->frame(painter, area);
    drawBackWall(painter, frame);
    if (m_chart.axesVisible)
        drawAxes(painter, frame, area);
    painter.setClipRect(frame.plot.adjusted(0, -std::abs(frame.depth.y()), frame.depth.x(), 0), Qt::IntersectClip);
    if (m_series.kind() == Series::Kind::Bar)
        drawBars(painter, frame);
    else
        drawLine(painter, frame);
    painter.restore();
}

void AxisChartRenderer::drawBackWall(QPainter &painter, const Frame &frame) const
{
    painter.setPen(QPen(Qt::gray, 0));
    painter.setBrush(m_chart.backWallFilled ? QBrush(m_chart.backWallColor) : QBrush(Qt::NoBrush));
    painter.drawRect(frame.plot.translated(frame.depth));
}

void AxisChartRenderer::drawAxes(QPainter &painter, const Frame &frame, const QRectF &area) const
{
    painter.setFont(ChartFonts::legend(painter));
    painter.setPen(QPen(Qt::black, 0));
    const QFontMetricsF metrics(painter.font());
    const QRectF &plot = frame.plot;
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (int tick = 0; tick <= valueTicks; ++tick) {
        const double value = frame.values.minimum + frame.values.span() * tick / valueTicks;
        const QPointF at = frame.map(frame.categories.minimum, value);
        painter.drawLine(at, at - QPointF(metrics.height() / 3, 0));
        const QRectF label(area.left(), at.y() - metrics.height() / 2, at.x() - area.left() - metrics.height() / 2,
                           metrics.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, TextForms::plainNumber(value));
    }
    for (int i = 0; i < m_series.count(); ++i) {
        const QPointF at = frame.map(i, frame.values.minimum);
        if (at.x() < plot.left() || at.x() > plot.right())
            continue;
        const double width = frame.map(i + 1, 0).x() - at.x();
        const QRectF label(at.x() - width / 2, at.y() + 2, width, metrics.height());
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop,
                         metrics.elidedText(m_series.points()[i].label, Qt::ElideRight, width));
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + metrics.height() * 1.2, plot.width(), metrics.height()),
                     Qt::AlignCenter, m_chart.bottomAxisTitle);
    painter.save();
    painter.translate(area.left() + metrics.height() / 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -metrics.height() / 2, plot.height(), metrics.height()), Qt::AlignCenter,
                     m_chart.leftAxisTitle);
    painter.restore();
}

void AxisChartRenderer::drawBars(QPainter &painter, const Frame &frame) const
{
    const double base = std::clamp(0.0, frame.values.minimum, frame.values.maximum);
    const bool marks = marksFit(painter, frame);
    for (int i = 0; i < m_series.count(); ++i) {
        const ChartPoint &point = m_series.points()[i];
        const QPointF a = frame.map(i - barShare, point.value);
        const QPointF b = frame.map(i + barShare, base);
        const QRectF front = QRectF(a, b).normalized();
        painter.setPen(QPen(Qt::black, 0));
        if (!frame.depth.isNull()) {
            painter.setBrush(point.color.lighter(125));
            painter.drawPolygon(QPolygonF{front.topLeft(), front.topRight(), front.topRight() + frame.depth,
                                          front.topLeft() + frame.depth});
            painter.setBrush(point.color.darker(140));
            painter.drawPolygon(QPolygonF{front.topRight(), front.topRight() + frame.depth,
                                          front.bottomRight() + frame.depth, front.bottomRight()});
        }
        painter.setBrush(point.color);
        painter.drawRect(front);
        if (marks)
            drawMark(painter, QPointF(front.center().x(), front.top()), point);
    }
}

void AxisChartRenderer::drawLine(QPainter &painter, const Frame &frame) const
{
    QPolygonF line;
    for (int i = 0; i < m_series.count(); ++i)
        line << frame.map(i, m_series.points()[i].value);
    painter.setPen(QPen(m_series.color(), std::max(1.0, ChartFonts::spacing(painter) / 2)));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line);
    const double size = ChartFonts::spacing(painter);
    const bool marks = marksFit(painter, frame);
    for (int i = 0; i < m_series.count(); ++i) {
        const ChartPoint &point = m_series.points()[i];
        if (m_series.pointSymbolsVisible()) {
            painter.setPen(QPen(Qt::black, 0));
            painter.setBrush(point.color);
            painter.drawRect(QRectF(line[i] - QPointF(size, size), QSizeF(2 * size, 2 * size)));
        }
        if (marks)
            drawMark(painter, line[i] - QPointF(0, size), point);
    }
}

bool AxisChartRenderer::marksFit(QPainter &painter, const Frame &frame) const
{
    if (!m_series.marksVisible())
        return false;
    painter.save();
    painter.setFont(ChartFonts::marks(painter));
    const double needed = QFontMetricsF(painter.font()).height() * 1.5;
    painter.restore();
    return frame.map(1, 0).x() - frame.map(0, 0).x() >= needed;
}

// A mark: the point's value in a small box just above the point.
void AxisChartRenderer::drawMark(QPainter &painter, const QPointF &at, const ChartPoint &point) const
{
    painter.save();
    painter.setFont(ChartFonts::marks(painter));
    const QFontMetricsF metrics(painter.font());
    const QString text = TextForms::plainNumber(point.value);
    const double padding = ChartFonts::spacing(painter) / 2;
    const QSizeF size(metrics.horizontalAdvance(text) + 2 * padding, metrics.height() + padding);
    const QRectF box(at.x() - size.width() / 2, at.y() - size.height() - padding, size.width(), size.height());
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(QColor(255, 255, 225));
    painter.drawRect(box);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

} // namespace kb
