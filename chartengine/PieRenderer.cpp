#include "PieRenderer.h"

#include "ChartFonts.h"
#include "PieLabelLayout.h"
#include "TextForms.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kb {

namespace {

const QColor outlineColor(64, 64, 64);
const QColor markColor(255, 255, 225);
constexpr double facetDegrees = 4;
// The direction the light comes from, seen from above: front left.
constexpr double lightDegrees = 235;

QPointF onEllipse(const QRectF &ellipse, double degrees)
{
    const double radians = qDegreesToRadians(degrees);
    return {ellipse.center().x() + ellipse.width() / 2 * std::cos(radians),
            ellipse.center().y() - ellipse.height() / 2 * std::sin(radians)};
}

QColor shaded(QColor color, double degrees)
{
    const double light = std::max(0.0, std::cos(qDegreesToRadians(degrees - lightDegrees)));
    const double factor = 0.5 + 0.35 * light;
    float h, s, v;
    color.toHsv().getHsvF(&h, &s, &v);
    return QColor::fromHsvF(h, s, v * factor);
}

// A piece of the front wall between two angles.
struct Facet
{
    double from;
    double to;
    QColor color;
    double nearness() const { return -std::sin(qDegreesToRadians((from + to) / 2)); }
};

// The slices whose labels can be placed at all: the widest ones, as many as both sides of a
// picture holding rowsPerSide labels above each other could take.
QList<qsizetype> labelCandidates(const QList<PieRenderer::Slice> &slices, double rowsPerSide)
{
    QList<qsizetype> order(slices.size());
    std::iota(order.begin(), order.end(), 0);
    const qsizetype wanted = std::min(order.size(), 2 * (qsizetype(rowsPerSide) + 1));
    std::partial_sort(order.begin(), order.begin() + wanted, order.end(),
                      [&](qsizetype a, qsizetype b) { return slices[a].spanAngle > slices[b].spanAngle; });
    order.resize(wanted);
    return order;
}

} // namespace

QList<PieRenderer::Slice> PieRenderer::slices() const
{
    double total = 0;
    for (const ChartPoint &point : m_series.points())
        total += std::max(point.value, 0.0);
    QList<Slice> result;
    if (total <= 0)
        return result;
    double angle = m_view.rotation % 360;
    for (int i = 0; i < m_series.count(); ++i) {
        const double value = m_series.points()[i].value;
        if (value <= 0)
            continue;
        const double span = 360 * value / total;
        result.append({i, angle, span});
        angle += span;
    }
    return result;
}

double PieRenderer::flattening() const
{
    if (!m_view.enabled)
        return 1;
    const double viewAngle = std::clamp(360.0 - m_view.elevation, 10.0, 90.0);
    return std::sin(qDegreesToRadians(viewAngle));
}

double PieRenderer::depthShare() const
{
    if (!m_view.enabled)
        return 0;
    const double viewAngle = std::clamp(360.0 - m_view.elevation, 10.0, 90.0);
    return std::clamp(m_view.depthPercent, 0, 100) / 100.0 * std::cos(qDegreesToRadians(viewAngle));
}

PieRenderer::Geometry PieRenderer::geometry(const QPainter &painter, const QRectF &area) const
{
    Geometry geometry;
    geometry.slices = slices();
    const QFontMetricsF metrics(painter.font());
    const double gap = ChartFonts::spacing(painter);
    const double padding = gap / 2;
    double widest = 0;
    QList<std::optional<QSizeF>> sizes(geometry.slices.size());
    geometry.labelTexts.resize(geometry.slices.size());
    if (m_series.marksVisible()) {
        for (qsizetype i : labelCandidates(geometry.slices, area.height() / (metrics.height() + padding + gap))) {
            const ChartPoint &point = m_series.points()[geometry.slices[i].point];
            const QString text = point.label.isEmpty() ? TextForms::plainNumber(point.value) : point.label;
            geometry.labelTexts[i] = metrics.elidedText(text, Qt::ElideRight, area.width() * 0.22);
            sizes[i] = QSizeF(metrics.horizontalAdvance(geometry.labelTexts[i]) + 2 * padding, metrics.height() + padding);
            widest = std::max(widest, sizes[i]->width());
        }
    }

    const double ratio = flattening();
    const double depthShare = this->depthShare();
    const double byWidth = area.width() / 2 - (widest > 0 ? widest + 3 * gap : gap);
    const double byHeight = (area.height() - 2 * gap) / (2 * ratio + depthShare);
    const double radius = std::max(std::min(byWidth, byHeight), std::min(area.width(), area.height()) * 0.1)
                        * m_magnification;
    const double radiusY = radius * ratio;
    geometry.depth = radius * depthShare;
    const double top = area.center().y() - (2 * radiusY + geometry.depth) / 2;
    geometry.top = QRectF(area.center().x() - radius, top, 2 * radius, 2 * radiusY);

    QList<PieLabelLayout::Label> labels;
    QList<qsizetype> labelled;
    for (qsizetype i = 0; i < geometry.slices.size(); ++i) {
        const Slice &slice = geometry.slices[i];
        const double middle = slice.startAngle + slice.spanAngle / 2;
        const QPointF down(0, std::sin(qDegreesToRadians(middle)) < 0 ? geometry.depth / 2 : 0);
        geometry.anchors.append(onEllipse(geometry.top, middle) + down);
        if (!sizes[i])
            continue;
        // The label wants to sit a little outside the pie, along the slice's middle.
        const QPointF wanted = onEllipse(geometry.top.adjusted(-2 * gap, -2 * gap, 2 * gap, 2 * gap), middle) + down;
        labels.append({wanted, std::cos(qDegreesToRadians(middle)) >= 0, *sizes[i], slice.spanAngle});
        labelled.append(i);
    }
    const QList<std::optional<QRectF>> placed = PieLabelLayout::place(labels, area, area.center().x(), gap);
    geometry.labels.resize(geometry.slices.size());
    for (qsizetype k = 0; k < labelled.size(); ++k)
        geometry.labels[labelled[k]] = placed[k];
    return geometry;
}

QList<PieRenderer::Piece> PieRenderer::pieces(const Geometry &geometry) const
{
    const double thinnest = qRadiansToDegrees(0.5 / std::max(1.0, geometry.top.width() / 2));
    QList<Piece> result;
    for (const Slice &slice : geometry.slices) {
        if (!result.isEmpty() && result.last().spanAngle < thinnest && slice.spanAngle < thinnest)
            result.last().spanAngle += slice.spanAngle;
        else
            result.append({slice.startAngle, slice.spanAngle, m_series.points()[slice.point].color});
    }
    return result;
}

void PieRenderer::draw(QPainter &painter, const QRectF &area) const
{
    painter.save();
    painter.setFont(ChartFonts::marks(painter));
    const Geometry geometry = this->geometry(painter, area);
    if (geometry.depth > 0)
        drawWall(painter, geometry);
    drawTop(painter, geometry);
    drawLabels(painter, geometry);
    painter.restore();
}

void PieRenderer::drawWall(QPainter &painter, const Geometry &geometry) const
{
    const QPointF down(0, geometry.depth);
    QList<Facet> facets;
    const auto addFacets = [&](double from, double to, QColor color) {
        // Only the front half (180° to 360°) faces the viewer.
        for (double turn = std::floor(from / 360) * 360; turn < to; turn += 360) {
            const double begin = std::max(from, turn + 180);
            const double end = std::min(to, turn + 360);
            const int steps = std::max(1, int(std::ceil((end - begin) / facetDegrees)));
            for (int step = 0; begin < end && step < steps; ++step) {
                const double a = begin + (end - begin) * step / steps;
                const double b = begin + (end - begin) * (step + 1) / steps;
                facets.append({a, b, shaded(color, (a + b) / 2)});
            }
        }
    };
    const QList<Piece> pieces = this->pieces(geometry);
    if (pieces.isEmpty())
        addFacets(0, 360, Qt::lightGray);
    for (const Piece &piece : pieces)
        addFacets(piece.startAngle, piece.startAngle + piece.spanAngle, piece.color);
    // Back to front, so that nearer pieces of the wall cover farther ones.
    std::stable_sort(facets.begin(), facets.end(),
                     [](const Facet &a, const Facet &b) { return a.nearness() < b.nearness(); });
    for (const Facet &facet : facets) {
        const QPointF a = onEllipse(geometry.top, facet.from);
        const QPointF b = onEllipse(geometry.top, facet.to);
        painter.setPen(QPen(facet.color, 0));
        painter.setBrush(facet.color);
        painter.drawPolygon(QPolygonF{a, b, b + down, a + down});
    }

    painter.setPen(QPen(outlineColor, 0));
    painter.setBrush(Qt::NoBrush);
    QPainterPath bottom;
    bottom.arcMoveTo(geometry.top.translated(down), 180);
    bottom.arcTo(geometry.top.translated(down), 180, 180);
    painter.drawPath(bottom);
    QList<double> edges{180, 360};
    for (const Piece &piece : pieces)
        edges.append(piece.startAngle);
    for (double edge : edges) {
        if (pieces.size() > 1 || edge == 180 || edge == 360) {
            if (std::sin(qDegreesToRadians(edge)) <= 1e-9) {
                const QPointF at = onEllipse(geometry.top, edge);
                painter.drawLine(at, at + down);
            }
        }
    }
}

void PieRenderer::drawTop(QPainter &painter, const Geometry &geometry) const
{
    painter.setPen(QPen(outlineColor, 0));
    const QList<Piece> pieces = this->pieces(geometry);
    if (pieces.size() <= 1) {
        painter.setBrush(pieces.isEmpty() ? QColor(Qt::white) : pieces.first().color);
        painter.drawEllipse(geometry.top);
        return;
    }
    for (const Piece &piece : pieces) {
        painter.setBrush(piece.color);
        QPainterPath path(geometry.top.center());
        path.arcTo(geometry.top, piece.startAngle, piece.spanAngle);
        path.closeSubpath();
        painter.drawPath(path);
    }
}

void PieRenderer::drawLabels(QPainter &painter, const Geometry &geometry) const
{
    for (qsizetype i = 0; i < geometry.labels.size(); ++i) {
        if (!geometry.labels[i])
            continue;
        const QRectF box = *geometry.labels[i];
        const QPointF anchor = geometry.anchors[i];
        const bool right = box.center().x() >= anchor.x();
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(anchor, QPointF(right ? box.left() : box.right(), box.center().y()));
        painter.setBrush(markColor);
        painter.drawRect(box);
        painter.drawText(box, Qt::AlignCenter, geometry.labelTexts[i]);
    }
}

} // namespace kb
