#include "LegendRenderer.h"

#include "ChartFonts.h"

#include <QPainter>

#include <algorithm>

namespace kb {

namespace {

double lineHeight(const QPainter &painter)
{
    return painter.fontMetrics().height();
}

} // namespace

QRectF LegendRenderer::draw(QPainter &painter, const QRectF &area) const
{
    painter.save();
    painter.setFont(ChartFonts::legend(painter));
    const bool beside = m_alignment == Legend::Alignment::Left || m_alignment == Legend::Alignment::Right;
    const double height = lineHeight(painter);
    const qsizetype limit = beside ? qsizetype(area.height() / height)
                                   : qsizetype(area.height() * 0.25 / height + 1) * qsizetype(area.width() / height + 1);
    const QList<Item> all = items(painter, area.width() * (beside ? 0.3 : 0.9), limit);
    const QRectF rest = all.isEmpty() ? area : beside ? drawColumn(painter, area, all) : drawRows(painter, area, all);
    painter.restore();
    return rest;
}

QList<LegendRenderer::Item> LegendRenderer::items(QPainter &painter, double maxTextWidth, qsizetype limit) const
{
    const QFontMetricsF metrics(painter.font());
    const double box = lineHeight(painter);
    QList<Item> result;
    for (const ChartPoint &point : m_series.points()) {
        if (result.size() >= limit)
            break;
        const QString text = metrics.elidedText(point.label, Qt::ElideRight, std::max(maxTextWidth, box));
        const QColor color = m_series.kind() == Series::Kind::Line ? m_series.color() : point.color;
        result.append(Item{text, color, box * 1.5 + metrics.horizontalAdvance(text)});
    }
    return result;
}

void LegendRenderer::drawItem(QPainter &painter, const QPointF &topLeft, const Item &item) const
{
    const double box = lineHeight(painter);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(item.color);
    painter.drawRect(QRectF(topLeft.x(), topLeft.y() + box * 0.2, box * 0.9, box * 0.6));
    painter.drawText(QRectF(topLeft.x() + box * 1.2, topLeft.y(), item.width, box), Qt::AlignLeft | Qt::AlignVCenter,
                     item.text);
}

QRectF LegendRenderer::drawRows(QPainter &painter, const QRectF &area, const QList<Item> &items) const
{
    const double height = lineHeight(painter);
    const double gap = ChartFonts::spacing(painter) * 2;
    const int maxRows = std::max(1, int(area.height() * 0.25 / height));
    QList<QList<Item>> rows(1);
    double rowWidth = 0;
    for (const Item &item : items) {
        if (!rows.last().isEmpty() && rowWidth + gap + item.width > area.width()) {
            if (rows.size() == maxRows)
                break;
            rows.append(QList<Item>());
            rowWidth = 0;
        }
        rowWidth += (rows.last().isEmpty() ? 0 : gap) + item.width;
        rows.last().append(item);
    }
    const double blockHeight = rows.size() * height;
    double y = m_alignment == Legend::Alignment::Top ? area.top() : area.bottom() - blockHeight;
    for (const QList<Item> &row : rows) {
        double width = -gap;
        for (const Item &item : row)
            width += gap + item.width;
        double x = area.left() + std::max(0.0, (area.width() - width) / 2);
        for (const Item &item : row) {
            drawItem(painter, QPointF(x, y), item);
            x += item.width + gap;
        }
        y += height;
    }
    const double used = blockHeight + ChartFonts::spacing(painter);
    return m_alignment == Legend::Alignment::Top ? area.adjusted(0, used, 0, 0) : area.adjusted(0, 0, 0, -used);
}

QRectF LegendRenderer::drawColumn(QPainter &painter, const QRectF &area, const QList<Item> &items) const
{
    const double height = lineHeight(painter);
    const qsizetype shown = std::min(items.size(), qsizetype(area.height() / height));
    double width = 0;
    for (qsizetype i = 0; i < shown; ++i)
        width = std::max(width, items[i].width);
    const double x = m_alignment == Legend::Alignment::Left ? area.left() : area.right() - width;
    double y = area.top() + std::max(0.0, (area.height() - shown * height) / 2);
    for (qsizetype i = 0; i < shown; ++i, y += height)
        drawItem(painter, QPointF(x, y), items[i]);
    const double used = width + ChartFonts::spacing(painter) * 2;
    return m_alignment == Legend::Alignment::Left ? area.adjusted(used, 0, 0, 0) : area.adjusted(0, 0, -used, 0);
}

} // namespace kb
