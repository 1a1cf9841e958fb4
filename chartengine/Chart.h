#pragma once

#include "Series.h"

#include <QColor>
#include <QMarginsF>
#include <QStringList>

#include <array>
#include <optional>
#include <memory>
#include <vector>

class QPainter;
class QRectF;

namespace kb {

enum class AxisPosition { Left, Right, Top, Bottom };

// The range an axis shows: its automatic range from the data until a zoom fixes it.
struct AxisRange
{
    double minimum = 0;
    double maximum = 1;
    double span() const { return maximum - minimum; }
    bool operator==(const AxisRange &) const = default;
};

struct View3D
{
    bool enabled = true;
    int depthPercent = 35;  // depth of the chart as a share of its width
    int elevation = 315;    // 270 looks from straight above, 360 from the side
    int rotation = 360;     // turns a pie's first slice around the centre
    int perspective = 0;    // share by which the far side shrinks
    bool orthogonal = false;
};

struct Legend
{
    enum class Alignment { Top, Bottom, Left, Right };
    bool visible = true;
    Alignment alignment = Alignment::Right;
};

// A chart: titles, legend, 3D view, axes and series. The chart owns its series; only attached
// ones are drawn. It draws itself into any QPainter, so the screen, images, the printer and
// vector pictures show the same.
class Chart
{
public:
    Chart();
    ~Chart();
    Chart(const Chart &) = delete;
    Chart &operator=(const Chart &) = delete;

    QStringList title;
    QString leftAxisTitle;
    QString bottomAxisTitle;
    bool axesVisible = true;
    bool frameVisible = true;
    QColor backWallColor = Qt::white;
    bool backWallFilled = true;
    Legend legend;
    View3D view3D;
    // Space kept free on a printed page, in percent of its width and height.
    QMarginsF printMarginsPercent{15, 15, 15, 15};

    Series &addSeries(Series::Kind kind, QColor color);
    const std::vector<std::unique_ptr<Series>> &series() const { return m_series; }
    std::vector<const Series *> attachedSeries() const;

    // The range the axis shows now: the automatic one from the attached series, or the zoomed one.
    AxisRange axisRange(AxisPosition axis) const;
    AxisRange automaticRange(AxisPosition axis) const;
    // Every axis showing min…max afterwards shows min + d … max − d, d = (max − min)(p − 100)/100.
    void zoomPercent(double percent);
    // Every axis back to its automatic range.
    void undoZoom();
    bool isZoomed() const;
    // How much larger than at 100 % a zoomed chart draws (from the bottom axis).
    double magnification() const;

    void draw(QPainter &painter, const QRectF &rect) const;

private:
    std::vector<std::unique_ptr<Series>> m_series;
    std::array<std::optional<AxisRange>, 4> m_zoomed;
};

} // namespace kb
