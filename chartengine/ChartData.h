#pragma once

#include "Series.h"

#include <QColor>
#include <QList>
#include <QStringList>

class QPainter;
class QRectF;

namespace kb {

// A chart given as plain lists, for callers that only want a picture of labelled values (a
// report page, for instance): pie or bars, flat or 3D, with a legend beside it.
struct ChartData
{
    Series::Kind kind = Series::Kind::Pie;
    QString title;
    QStringList labels;
    QList<double> values;
    QList<QColor> colors;  // missing colours come from a fixed palette
    bool threeD = true;
    bool legend = true;

    void draw(QPainter &painter, const QRectF &rect) const;
};

} // namespace kb
