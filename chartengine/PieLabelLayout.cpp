#include "PieLabelLayout.h"

#include <algorithm>
#include <numeric>

namespace kb {

QList<std::optional<QRectF>> PieLabelLayout::place(const QList<Label> &labels, const QRectF &bounds, double centreX,
                                                   double gap)
{
    QList<std::optional<QRectF>> placed(labels.size());
    placeSide(labels, false, bounds, centreX, gap, placed);
    placeSide(labels, true, bounds, centreX, gap, placed);
    return placed;
}

void PieLabelLayout::placeSide(const QList<Label> &labels, bool rightSide, const QRectF &bounds, double centreX,
                               double gap, QList<std::optional<QRectF>> &placed)
{
    const double sideLeft = rightSide ? centreX + gap : bounds.left();
    const double sideRight = rightSide ? bounds.right() : centreX - gap;
    QList<qsizetype> side;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const Label &label = labels[i];
        if (label.rightSide == rightSide && label.size.width() <= sideRight - sideLeft
            && label.size.height() <= bounds.height())
            side.append(i);
    }
    // Keep the heaviest labels that fit above each other.
    std::stable_sort(side.begin(), side.end(), [&](qsizetype a, qsizetype b) { return labels[a].weight > labels[b].weight; });
    double needed = 0;
    qsizetype kept = 0;
    for (; kept < side.size(); ++kept) {
        const double height = labels[side[kept]].size.height() + (kept ? gap : 0);
        if (needed + height > bounds.height())
            break;
        needed += height;
    }
    side.resize(kept);
    std::stable_sort(side.begin(), side.end(), [&](qsizetype a, qsizetype b) { return labels[a].anchor.y() < labels[b].anchor.y(); });

    QList<double> tops;
    for (qsizetype index : side)
        tops.append(labels[index].anchor.y() - labels[index].size.height() / 2);
    // Down from the top edge, then up from the bottom edge: both orders hold and, since all
    // kept labels fit, neither pass leaves the bounds.
    for (qsizetype k = 0; k < side.size(); ++k) {
        const double floor = k ? tops[k - 1] + labels[side[k - 1]].size.height() + gap : bounds.top();
        tops[k] = std::max(tops[k], floor);
    }
    for (qsizetype k = side.size() - 1; k >= 0; --k) {
        const double height = labels[side[k]].size.height();
        const double ceiling = k + 1 < side.size() ? tops[k + 1] - gap - height : bounds.bottom() - height;
        tops[k] = std::min(tops[k], ceiling);
    }
    for (qsizetype k = 0; k < side.size(); ++k) {
        const Label &label = labels[side[k]];
        const double wanted = rightSide ? label.anchor.x() + gap : label.anchor.x() - gap - label.size.width();
        const double left = std::clamp(wanted, sideLeft, sideRight - label.size.width());
        placed[side[k]] = QRectF(QPointF(left, tops[k]), label.size);
    }
}

} // namespace kb
