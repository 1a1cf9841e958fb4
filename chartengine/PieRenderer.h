#pragma once

#include "Chart.h"

#include <QList>
#include <QRectF>

#include <optional>

class QPainter;

namespace kb {

// A pie: flat, or as a real 3D disc with an elliptic top, a shaded wall in front drawn from the
// back to the front, and slice labels that neither overlap nor leave the area. Only positive
// values make slices; without any an empty disc is drawn.
class PieRenderer
{
public:
    struct Slice
    {
        int point;          // index of the series point
        double startAngle;  // degrees, counter-clockwise from three o'clock, on the ellipse
        double spanAngle;
    };

    struct Geometry
    {
        QRectF top;         // the top face's ellipse
        double depth = 0;   // wall height; 0 for a flat pie
        QList<Slice> slices;
        QList<QString> labelTexts;            // per slice
        QList<QPointF> anchors;               // per slice: where its label's line starts, on the edge
        QList<std::optional<QRectF>> labels;  // per slice; nullopt for a label left out
    };

    PieRenderer(const Series &series, const View3D &view, double magnification)
        : m_series(series), m_view(view), m_magnification(magnification) {}

    // Where every part goes; the painter's font must be the marks font.
    Geometry geometry(const QPainter &painter, const QRectF &area) const;
    void draw(QPainter &painter, const QRectF &area) const;

private:
    // Consecutive slices too thin to see are drawn as one piece in the colour of the first.
    struct Piece
    {
        double startAngle;
        double spanAngle;
        QColor color;
    };

    QList<Slice> slices() const;
    QList<Piece> pieces(const Geometry &geometry) const;
    double flattening() const;
    double depthShare() const;
    void drawWall(QPainter &painter, const Geometry &geometry) const;
    void drawTop(QPainter &painter, const Geometry &geometry) const;
    void drawLabels(QPainter &painter, const Geometry &geometry) const;

    const Series &m_series;
    const View3D &m_view;
    double m_magnification;
};

} // namespace kb
