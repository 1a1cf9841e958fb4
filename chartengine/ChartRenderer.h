#pragma once

#include <QRectF>

class QPainter;

namespace kb {

class Chart;
class Series;

// Draws a chart into a painter's rectangle: white ground, frame, title, legend, then the first
// attached series as pie, bars or line in the space that remains.
class ChartRenderer
{
public:
    explicit ChartRenderer(const Chart &chart) : m_chart(chart) {}

    void draw(QPainter &painter, const QRectF &rect) const;

private:
    // The rectangle below the title lines.
    QRectF drawTitle(QPainter &painter, const QRectF &rect) const;
    void drawSeries(QPainter &painter, const Series &series, const QRectF &area) const;

    const Chart &m_chart;
};

} // namespace kb
