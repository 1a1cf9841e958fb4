#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace kb {

// Places slice labels in two columns beside a pie so that no two overlap and none leaves the
// bounds: each label wants to sit level with its anchor, on the anchor's side; crowded labels
// are pushed apart, and when a side cannot hold them all, the labels of the smallest slices are
// left out.
class PieLabelLayout
{
public:
    struct Label
    {
        QPointF anchor;   // where the slice's edge meets its middle angle
        bool rightSide;
        QSizeF size;
        double weight;    // the slice's share: lighter labels give way first
    };

    // One rectangle per label, nullopt for a label left out. centreX divides the two sides.
    static QList<std::optional<QRectF>> place(const QList<Label> &labels, const QRectF &bounds, double centreX,
                                              double gap);

private:
    static void placeSide(const QList<Label> &labels, bool rightSide, const QRectF &bounds, double centreX,
                          double gap, QList<std::optional<QRectF>> &placed);
};

} // namespace kb
