#include "MetafilePaintEngine.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <QtMath>

#include <cmath>

namespace kb {

namespace {

// GDI pen styles.
constexpr quint16 penSolid = 0;
constexpr quint16 penDash = 1;
constexpr quint16 penDot = 2;
constexpr quint16 penDashDot = 3;
constexpr quint16 penDashDotDot = 4;
constexpr quint16 penNull = 5;

quint16 gdiPenStyle(Qt::PenStyle style)
{
    switch (style) {
    case Qt::NoPen: return penNull;
    case Qt::DashLine: return penDash;
    case Qt::DotLine: return penDot;
    case Qt::DashDotLine: return penDashDot;
    case Qt::DashDotDotLine: return penDashDotDot;
    default: return penSolid;
    }
}

double scaleOf(const QTransform &transform)
{
    return std::sqrt(std::abs(transform.determinant()));
}

} // namespace

MetafilePaintEngine::MetafilePaintEngine(QSize size)
    : QPaintEngine(QPaintEngine::AllFeatures), m_size(size)
{
}

quint32 MetafilePaintEngine::colorRef(QColor color)
{
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | quint32(rgb.green()) << 8 | quint32(rgb.blue()) << 16;
}

QByteArray MetafilePaintEngine::deviceIndependentBitmap(const QImage &image, qsizetype *headerSize)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const qsizetype stride = (qsizetype(rgb.width()) * 3 + 3) / 4 * 4;
    RecordBuffer dib;
    dib.u32(40);
    dib.i32(rgb.width());
    dib.i32(-rgb.height());  // negative height: rows from the top down
    dib.u16(1);
    dib.u16(24);
    dib.u32(0);               // BI_RGB
    dib.u32(quint32(stride * rgb.height()));
    dib.i32(3780);            // 96 dpi in pixels per metre
    dib.i32(3780);
    dib.u32(0);
    dib.u32(0);
    *headerSize = dib.size();
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar *line = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            dib.u8(line[3 * x + 2]);  // blue, green, red
            dib.u8(line[3 * x + 1]);
            dib.u8(line[3 * x]);
        }
        dib.padTo(4);
    }
    return dib.bytes();
}

bool MetafilePaintEngine::begin(QPaintDevice *device)
{
    m_device = device;
    m_out = RecordBuffer();
    m_selectedPen = {};
    m_selectedBrush = {};
    m_selectedFont = {};
    m_textColor.reset();
    m_fillRule.reset();
    m_clip.reset();
    m_clipChanged = false;
    m_clipWritten = false;
    m_usedHandles.clear();
    m_highestHandle = 0;
    writeHeader();
    setActive(true);
    return true;
}

bool MetafilePaintEngine::end()
{
    if (m_clipWritten)
        writeRestoreState();
    writeEnd();
    setActive(false);
    return true;
}

void MetafilePaintEngine::updateState(const QPaintEngineState &state)
{
    const DirtyFlags flags = state.state();
    if (flags & DirtyPen)
        m_pen = state.pen();
    if (flags & DirtyBrush)
        m_brush = state.brush();
    if (flags & DirtyFont)
        m_font = state.font();
    if (flags & DirtyTransform)
        m_transform = state.transform();
    if (flags & (DirtyClipRegion | DirtyClipPath | DirtyClipEnabled))
        updateClip(state);
}

void MetafilePaintEngine::updateClip(const QPaintEngineState &state)
{
    const DirtyFlags flags = state.state();
    std::optional<QRect> clip;
    if (state.isClipEnabled() && state.clipOperation() != Qt::NoClip) {
        const QRectF logical = flags & DirtyClipPath ? state.clipPath().boundingRect()
                                                     : QRectF(state.clipRegion().boundingRect());
        clip = m_transform.mapRect(logical).toAlignedRect();
        if (state.clipOperation() == Qt::IntersectClip && m_clip)
            clip = *clip & *m_clip;
    }
    if (clip != m_clip) {
        m_clip = clip;
        m_clipChanged = true;
    }
}

void MetafilePaintEngine::applyClip()
{
    if (!m_clipChanged)
        return;
    m_clipChanged = false;
    if (m_clipWritten) {
        writeRestoreState();
        m_clipWritten = false;
        // The restored state selects what was selected at the save: select the current objects
        // again, and write text colour and fill rule anew when next needed.
        for (int handle : {m_selectedPen.handle, m_selectedBrush.handle, m_selectedFont.handle}) {
            if (handle >= 0)
                writeSelect(handle);
        }
        m_textColor.reset();
        m_fillRule.reset();
    }
    if (m_clip) {
        writeSaveState();
        writeIntersectClip(*m_clip);
        m_clipWritten = true;
    }
}

std::optional<QColor> MetafilePaintEngine::brushColor() const
{
    if (m_brush.style() == Qt::NoBrush)
        return std::nullopt;
    if (const QGradient *gradient = m_brush.gradient(); gradient && !gradient->stops().isEmpty())
        return gradient->stops().first().second;
    return m_brush.color();
}

std::optional<QPen> MetafilePaintEngine::strokePen() const
{
    if (m_pen.style() == Qt::NoPen)
        return std::nullopt;
    return m_pen;
}

int MetafilePaintEngine::allocateHandle()
{
    int handle = firstHandle();
    while (m_usedHandles.contains(handle))
        ++handle;
    m_usedHandles.insert(handle);
    m_highestHandle = std::max(m_highestHandle, handle);
    return handle;
}

template <typename Style, typename Create>
void MetafilePaintEngine::select(Selected<Style> &selected, const Style &style, Create create)
{
    if (selected.style && *selected.style == style)
        return;
    const int handle = allocateHandle();
    create(handle, style);
    writeSelect(handle);
    if (selected.handle >= 0) {
        writeDelete(selected.handle);
        m_usedHandles.remove(selected.handle);
    }
    selected = {style, handle};
}

MetafilePaintEngine::PenStyle MetafilePaintEngine::penStyle(const std::optional<QPen> &pen) const
{
    if (!pen)
        return {penNull, 1, Qt::black};
    const int width = pen->isCosmetic() ? 1 : std::max(1, qRound(pen->widthF() * scaleOf(m_transform)));
    return {gdiPenStyle(pen->style()), width, pen->color()};
}

void MetafilePaintEngine::usePen(const std::optional<QPen> &pen)
{
    select(m_selectedPen, penStyle(pen), [this](int handle, const PenStyle &style) { writeCreatePen(handle, style); });
}

void MetafilePaintEngine::useBrush(const std::optional<QColor> &color)
{
    select(m_selectedBrush, color,
           [this](int handle, const std::optional<QColor> &style) { writeCreateBrush(handle, style); });
}

void MetafilePaintEngine::useFillRule(Qt::FillRule rule)
{
    if (m_fillRule == rule)
        return;
    writeFillMode(rule);
    m_fillRule = rule;
}

MetafilePaintEngine::FontStyle MetafilePaintEngine::fontStyle(const QFont &font) const
{
    const double dpi = m_device ? m_device->logicalDpiY() : 96;
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * dpi / 72;
    const double angle = qRadiansToDegrees(std::atan2(m_transform.m12(), m_transform.m11()));
    FontStyle style;
    style.pixelHeight = std::max(1, qRound(pixels * scaleOf(m_transform)));
    style.escapement = -qRound(angle * 10);
    style.weight = font.bold() ? 700 : 400;
    style.italic = font.italic();
    style.underline = font.underline();
    style.strikeOut = font.strikeOut();
    style.family = font.family();
    return style;
}

void MetafilePaintEngine::writePath(const QPainterPath &path, bool fill, bool stroke)
{
    if (fill) {
        // The outline of the fill polygons is not the path's outline: fill them without a pen.
        usePen(std::nullopt);
        QList<QPolygon> polygons;
        for (const QPolygonF &polygon : path.toFillPolygons())
            polygons.append(polygon.toPolygon());
        useFillRule(path.fillRule());
        writePolyPolygon(polygons);
    }
    if (stroke) {
        usePen(strokePen());
        for (const QPolygonF &polyline : path.toSubpathPolygons())
            writePolyline(polyline.toPolygon());
    }
}

void MetafilePaintEngine::drawFilledAndStroked(const QPainterPath &devicePath)
{
    const std::optional<QColor> brush = brushColor();
    const std::optional<QPen> pen = strokePen();
    if (!brush && !pen)
        return;
    usePen(pen);
    useBrush(brush);
    writePath(devicePath, brush.has_value(), pen.has_value());
}

void MetafilePaintEngine::drawPath(const QPainterPath &path)
{
    applyClip();
    drawFilledAndStroked(m_transform.map(path));
}

void MetafilePaintEngine::drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode)
{
    applyClip();
    const QPolygon polygon = m_transform.map(QPolygonF(QList<QPointF>(points, points + pointCount))).toPolygon();
    if (mode == PolylineMode) {
        if (!strokePen())
            return;
        usePen(strokePen());
        writePolyline(polygon);
        return;
    }
    if (!brushColor() && !strokePen())
        return;
    usePen(strokePen());
    useBrush(brushColor());
    useFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    writePolyPolygon({polygon});
}

void MetafilePaintEngine::drawTextItem(const QPointF &position, const QTextItem &textItem)
{
    const QString text = textItem.text();
    if (text.isEmpty())
        return;
    applyClip();
    const QFont font(textItem.font(), m_device);
    select(m_selectedFont, fontStyle(font), [this](int handle, const FontStyle &style) { writeCreateFont(handle, style); });
    if (m_textColor != m_pen.color()) {
        writeTextColor(m_pen.color());
        m_textColor = m_pen.color();
    }
    const QFontMetricsF metrics(font);
    const double scale = scaleOf(m_transform);
    QList<int> advances;
    for (QChar character : text)
        advances.append(qRound(metrics.horizontalAdvance(character) * scale));
    writeText(m_transform.map(position).toPoint(), text, advances);
}

void MetafilePaintEngine::drawPixmap(const QRectF &target, const QPixmap &pixmap, const QRectF &source)
{
    drawImage(target, pixmap.toImage(), source);
}

void MetafilePaintEngine::drawImage(const QRectF &target, const QImage &image, const QRectF &source,
                                    Qt::ImageConversionFlags)
{
    if (image.isNull())
        return;
    applyClip();
    writeImage(m_transform.mapRect(target).toRect(), image.copy(source.toRect()));
}

} // namespace kb
