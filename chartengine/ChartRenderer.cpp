#include "ChartRenderer.h"

#include "AxisChartRenderer.h"
#include "Chart.h"
#include "ChartFonts.h"
#include "LegendRenderer.h"
#include "PieRenderer.h"

#include <QPainter>

namespace kb {

void ChartRenderer::draw(QPainter &painter, const QRectF &rect) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, Qt::white);
    const double margin = ChartFonts::spacing(painter);
    QRectF area = drawTitle(painter, rect.adjusted(margin, margin, -margin, -margin));
    const std::vector<const Series *> attached = m_chart.attachedSeries();
    if (!attached.empty()) {
        if (m_chart.legend.visible)
            area = LegendRenderer(*attached.front(), m_chart.legend.alignment).draw(painter, area);
        drawSeries(painter, *attached.front(), area);
    }
    if (m_chart.frameVisible) {
        painter.setPen(QPen(Qt::darkGray, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

QRectF ChartRenderer::drawTitle(QPainter &painter, const QRectF &rect) const
{
    if (m_chart.title.isEmpty())
        return rect;
    painter.setFont(ChartFonts::title(painter));
    painter.setPen(Qt::black);
    const double lineHeight = painter.fontMetrics().height();
    QRectF line(rect.left(), rect.top(), rect.width(), lineHeight);
    for (const QString &text : m_chart.title) {
        painter.drawText(line, Qt::AlignCenter, painter.fontMetrics().elidedText(text, Qt::ElideRight, int(rect.width())));
        line.translate(0, lineHeight);
    }
    return rect.adjusted(0, line.top() - rect.top() + ChartFonts::spacing(painter), 0, 0);
}

void ChartRenderer::drawSeries(QPainter &painter, const Series &series, const QRectF &area) const
{
    if (area.width() < 4 || area.height() < 4)
        return;
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    if (series.kind() == Series::Kind::Pie)
        PieRenderer(series, m_chart.view3D, m_chart.magnification()).draw(painter, area);
    else
        AxisChartRenderer(m_chart, series).draw(painter, area);
    painter.restore();
}

} // namespace kb
