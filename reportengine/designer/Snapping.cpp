#include "Snapping.h"

#include <cmath>
#include <optional>

namespace kb::report {

namespace {

struct Shift
{
    double by;
    double target;
};

// The smallest shift that puts one of the edges onto one of the targets, if any lies within tolerance.
std::optional<Shift> nearestShift(std::initializer_list<double> edges, const std::vector<double> &targets, double tolerance)
{
    std::optional<Shift> best;
    for (double edge : edges) {
        for (double target : targets) {
            const double by = target - edge;
            if (std::abs(by) <= tolerance && (!best || std::abs(by) < std::abs(best->by)))
                best = Shift{by, target};
        }
    }
    return best;
}

} // namespace

double Snapping::toGrid(double value, double grid)
{
    return grid > 0 ? std::round(value / grid) * grid : value;
}

SnapResult Snapping::snap(const QRectF &box, const std::vector<QRectF> &others, double grid, double tolerance)
{
    std::vector<double> xs, ys;
    for (const QRectF &other : others) {
        xs.insert(xs.end(), {other.left(), other.right()});
        ys.insert(ys.end(), {other.top(), other.bottom()});
    }
    SnapResult result;
    if (const auto dx = nearestShift({box.left(), box.right()}, xs, tolerance)) {
        result.offset.setX(dx->by);
        result.guides.push_back({Qt::Vertical, dx->target});
    } else {
        result.offset.setX(toGrid(box.left(), grid) - box.left());
    }
    if (const auto dy = nearestShift({box.top(), box.bottom()}, ys, tolerance)) {
        result.offset.setY(dy->by);
        result.guides.push_back({Qt::Horizontal, dy->target});
    } else {
        result.offset.setY(toGrid(box.top(), grid) - box.top());
    }
    return result;
}

} // namespace kb::report
