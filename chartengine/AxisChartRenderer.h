#pragma once

#include "Chart.h"

#include <QPointF>
#include <QRectF>

class QPainter;

namespace kb {

// Bars or a line over a category axis (bottom) and a value axis (left), in the ranges the chart's
// axes show now, with an oblique 3D depth when the 3D view is on.
class AxisChartRenderer
{
public:
    AxisChartRenderer(const Chart &chart, const Series &series) : m_chart(chart), m_series(series) {}

    void draw(QPainter &painter, const QRectF &area) const;

private:
    struct Frame
    {
        QRectF plot;     // the front plane
        QPointF depth;   // from the front plane to the back wall
        AxisRange categories;
        AxisRange values;
        QPointF map(double category, double value) const;
    };

    Frame frame(QPainter &painter, const QRectF &area) const;
    void drawBackWall(QPainter &painter, const Frame &frame) const;
    void drawAxes(QPainter &painter, const Frame &frame, const QRectF &area) const;
    void drawBars(QPainter &painter, const Frame &frame) const;
    void drawLine(QPainter &painter, const Frame &frame) const;
    void drawMark(QPainter &painter, const QPointF &at, const ChartPoint &point) const;
    // Marks are left out where categories are too narrow to hold them side by side.
    bool marksFit(QPainter &painter, const Frame &frame) const;

    const Chart &m_chart;
    const Series &m_series;
};

} // namespace kb
