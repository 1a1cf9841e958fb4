#pragma once

#include "Chart.h"

#include <QRectF>

class QPainter;

namespace kb {

// The legend of a series: a colour square and the label of each point, in rows above or below
// the chart or in a column beside it. Items that do not fit are left out.
class LegendRenderer
{
public:
    LegendRenderer(const Series &series, Legend::Alignment alignment) : m_series(series), m_alignment(alignment) {}

    // Draws the legend at its side of area and returns what is left for the chart.
    QRectF draw(QPainter &painter, const QRectF &area) const;

private:
    struct Item
    {
        QString text;
        QColor color;
        double width;
    };

    // The first items, no more than could fit in the legend's space.
    QList<Item> items(QPainter &painter, double maxTextWidth, qsizetype limit) const;
    QRectF drawRows(QPainter &painter, const QRectF &area, const QList<Item> &items) const;
    QRectF drawColumn(QPainter &painter, const QRectF &area, const QList<Item> &items) const;
    void drawItem(QPainter &painter, const QPointF &topLeft, const Item &item) const;

    const Series &m_series;
    Legend::Alignment m_alignment;
};

} // namespace kb
