#pragma once

#include <QRectF>

#include <vector>

namespace kb::report {

// A guide line the designer shows while an edge snaps to another object's edge.
struct SnapGuide
{
    Qt::Orientation orientation; // Vertical: a line at x = position
    double position;
    bool operator==(const SnapGuide &) const = default;
};

struct SnapResult
{
    QPointF offset; // to add to the moved box
    std::vector<SnapGuide> guides;
};

// Where a moved box comes to rest: an edge within tolerance of another box's edge snaps to it
// (and shows a guide); otherwise the top left corner snaps to the grid. A grid of 0 is off.
class Snapping
{
public:
    static SnapResult snap(const QRectF &box, const std::vector<QRectF> &others, double grid, double tolerance);
    static double toGrid(double value, double grid);
};

} // namespace kb::report
