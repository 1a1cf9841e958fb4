#include "Chart.h"

#include "ChartRenderer.h"

#include <algorithm>

namespace kb {

namespace {

bool isCategoryAxis(AxisPosition axis)
{
    return axis == AxisPosition::Top || axis == AxisPosition::Bottom;
}

} // namespace

Chart::Chart() = default;
Chart::~Chart() = default;

Series &Chart::addSeries(Series::Kind kind, QColor color)
{
    m_series.push_back(std::make_unique<Series>(kind, color));
    return *m_series.back();
}

std::vector<const Series *> Chart::attachedSeries() const
{
    std::vector<const Series *> attached;
    for (const auto &series : m_series) {
        if (series->isAttached())
            attached.push_back(series.get());
    }
    return attached;
}

AxisRange Chart::automaticRange(AxisPosition axis) const
{
    int points = 0;
    double low = 0;
    double high = 0;
    for (const Series *series : attachedSeries()) {
        points = std::max(points, series->count());
        for (const ChartPoint &point : series->points()) {
            low = std::min(low, point.value);
            high = std::max(high, point.value);
        }
    }
    if (isCategoryAxis(axis))
        return {-0.5, std::max(points, 1) - 0.5};
    if (high == low)
        return {low, low + 1};
    return {low, high};
}

AxisRange Chart::axisRange(AxisPosition axis) const
{
    return m_zoomed[size_t(axis)].value_or(automaticRange(axis));
}

void Chart::zoomPercent(double percent)
{
    for (AxisPosition axis : {AxisPosition::Left, AxisPosition::Right, AxisPosition::Top, AxisPosition::Bottom}) {
        const AxisRange shown = axisRange(axis);
        const double d = shown.span() * (percent - 100) / 100;
        m_zoomed[size_t(axis)] = AxisRange{shown.minimum + d, shown.maximum - d};
    }
}

void Chart::undoZoom()
{
    m_zoomed.fill(std::nullopt);
}

bool Chart::isZoomed() const
{
    return std::any_of(m_zoomed.begin(), m_zoomed.end(), [](const auto &range) { return range.has_value(); });
}

double Chart::magnification() const
{
    const double shown = axisRange(AxisPosition::Bottom).span();
    if (shown <= 0)
        return 1;
    return automaticRange(AxisPosition::Bottom).span() / shown;
}

void Chart::draw(QPainter &painter, const QRectF &rect) const
{
    ChartRenderer(*this).draw(painter, rect);
}

} // namespace kb
