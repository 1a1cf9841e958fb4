#include "ChartData.h"

#include "Chart.h"

#include <QPainter>

namespace kb {

namespace {

const QList<QColor> palette{QColor(255, 0, 0),   QColor(0, 128, 0),   QColor(255, 255, 0), QColor(0, 0, 255),
                            QColor(255, 255, 255), QColor(128, 128, 128), QColor(255, 0, 255), QColor(0, 128, 128),
                            QColor(128, 0, 0),   QColor(0, 255, 0),   QColor(128, 0, 128), QColor(0, 255, 255)};

} // namespace

void ChartData::draw(QPainter &painter, const QRectF &rect) const
{
    Chart chart;
    if (!title.isEmpty())
        chart.title = QStringList{title};
    chart.axesVisible = kind != Series::Kind::Pie;
    chart.frameVisible = false;
    chart.legend.visible = legend;
    chart.view3D.enabled = threeD;
    Series &series = chart.addSeries(kind, palette.first());
    for (qsizetype i = 0; i < values.size(); ++i)
        series.append(values[i], labels.value(i), colors.value(i, palette[i % palette.size()]));
    chart.draw(painter, rect);
}

} // namespace kb
