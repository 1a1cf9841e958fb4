#include "EmfPaintEngine.h"

#include <QImage>
#include <QPainterPath>

namespace kb {

namespace {

constexpr quint32 signature = 0x464D4520;  // " EMF"
constexpr qsizetype headerSize = 108;
constexpr quint32 mapModeText = 1;
constexpr quint32 transparentBackground = 1;
constexpr quint32 alignBaseline = 24;
constexpr quint32 compatibleGraphics = 1;
constexpr quint32 sourceCopy = 0x00CC0020;

QRect boundsOf(const QPolygon &points)
{
    return points.boundingRect();
}

} // namespace

qsizetype EmfPaintEngine::start(Record type)
{
    const qsizetype at = out().size();
    out().u32(type);
    out().u32(0);
    ++m_records;
    return at;
}

void EmfPaintEngine::finish(qsizetype at)
{
    out().padTo(4);
    out().patchU32(at + 4, quint32(out().size() - at));
}

void EmfPaintEngine::simple(Record type, std::initializer_list<quint32> parameters)
{
    const qsizetype at = start(type);
    for (quint32 parameter : parameters)
        out().u32(parameter);
    finish(at);
}

void EmfPaintEngine::bounds(const QRect &rect)
{
    out().i32(rect.left());
    out().i32(rect.top());
    out().i32(rect.right());
    out().i32(rect.bottom());
}

void EmfPaintEngine::points16(const QPolygon &points)
{
    for (const QPoint &point : points) {
        out().i16(qint16(point.x()));
        out().i16(qint16(point.y()));
    }
}

void EmfPaintEngine::writeHeader()
{
    m_records = 0;
    const QSize pixels = size();
    const qsizetype at = start(Header);
    bounds(QRect(QPoint(0, 0), pixels));
    // The frame in hundredths of a millimetre at 96 pixels per inch.
    bounds(QRect(0, 0, pixels.width() * 2540 / 96 + 1, pixels.height() * 2540 / 96 + 1));
    out().u32(signature);
    out().u32(0x00010000);
    out().u32(0);  // file size, patched at the end
    out().u32(0);  // record count, patched
    out().u16(0);  // handle count, patched
    out().u16(0);
    const QString description = QStringLiteral("Vuno Diagramm") + QChar(0) + QStringLiteral("Diagramm") + QChar(0) + QChar(0);
    out().u32(quint32(description.size()));
    out().u32(quint32(headerSize));
    out().u32(0);   // no palette
    out().i32(960); // reference device of 960 pixels on 254 mm: 96 pixels per inch
    out().i32(960);
    out().i32(254);
    out().i32(254);
    out().u32(0);   // no pixel format
    out().u32(0);
    out().u32(0);   // not OpenGL
    out().u32(254000);
    out().u32(254000);
    for (QChar character : description)
        out().u16(character.unicode());
    finish(at);
    simple(SetMapMode, {mapModeText});
    simple(SetBkMode, {transparentBackground});
    simple(SetTextAlign, {alignBaseline});
}

void EmfPaintEngine::writeEnd()
{
    simple(Eof, {0, 16, 20});
    out().patchU32(48, quint32(out().size()));
    out().patchU32(52, m_records);
    out().patchU16(56, quint16(handleCount()));
}

void EmfPaintEngine::writeCreatePen(int handle, const PenStyle &pen)
{
    simple(CreatePen, {quint32(handle), pen.style, quint32(pen.width), 0, colorRef(pen.color)});
}

void EmfPaintEngine::writeCreateBrush(int handle, const std::optional<QColor> &color)
{
    simple(CreateBrushIndirect, {quint32(handle), color ? 0u : 1u, color ? colorRef(*color) : 0u, 0});
}

void EmfPaintEngine::writeCreateFont(int handle, const FontStyle &font)
{
    const qsizetype at = start(ExtCreateFontIndirectW);
    out().u32(quint32(handle));
    out().i32(-font.pixelHeight);
    out().i32(0);
    out().i32(font.escapement);
    out().i32(font.escapement);
    out().i32(font.weight);
    out().u8(font.italic);
    out().u8(font.underline);
    out().u8(font.strikeOut);
    out().u8(1);  // default character set
    out().u8(0);
    out().u8(0);
    out().u8(4);  // antialiased quality
    out().u8(0);
    const QString face = font.family.left(31);
    for (QChar character : face)
        out().u16(character.unicode());
    out().zeros((32 - face.size()) * 2);
    // The rest of the panose form of the logical font: full name, style, version, vendor,
    // culture and panose, all left empty.
    out().zeros(320 - 92);
    finish(at);
}

void EmfPaintEngine::writeSelect(int handle)
{
    simple(SelectObject, {quint32(handle)});
}

void EmfPaintEngine::writeDelete(int handle)
{
    simple(DeleteObject, {quint32(handle)});
}

void EmfPaintEngine::writeTextColor(QColor color)
{
    simple(SetTextColor, {colorRef(color)});
}

void EmfPaintEngine::writeFillMode(Qt::FillRule rule)
{
    simple(SetPolyFillMode, {rule == Qt::WindingFill ? 2u : 1u});
}

void EmfPaintEngine::writePolyPolygon(const QList<QPolygon> &polygons)
{
    const qsizetype at = start(PolyPolygon16);
    QRect rect;
    quint32 total = 0;
    for (const QPolygon &polygon : polygons) {
        rect |= boundsOf(polygon);
        total += quint32(polygon.size());
    }
    bounds(rect);
    out().u32(quint32(polygons.size()));
    out().u32(total);
    for (const QPolygon &polygon : polygons)
        out().u32(quint32(polygon.size()));
    for (const QPolygon &polygon : polygons)
        points16(polygon);
    finish(at);
}

void EmfPaintEngine::writePolyline(const QPolygon &polyline)
{
    const qsizetype at = start(Polyline16);
    bounds(boundsOf(polyline));
    out().u32(quint32(polyline.size()));
    points16(polyline);
    finish(at);
}

void EmfPaintEngine::writeText(QPoint baseline, const QString &text, const QList<int> &advances)
{
    const qsizetype at = start(ExtTextOutW);
    bounds(QRect());  // left to the reader
    out().u32(compatibleGraphics);
    out().f32(1);
    out().f32(1);
    out().i32(baseline.x());
    out().i32(baseline.y());
    out().u32(quint32(text.size()));
    constexpr quint32 stringOffset = 76;
    const quint32 advancesOffset = stringOffset + quint32((text.size() * 2 + 3) / 4 * 4);
    out().u32(stringOffset);
    out().u32(0);  // no options, so the rectangle is not used
    bounds(QRect());
    out().u32(advancesOffset);
    for (QChar character : text)
        out().u16(character.unicode());
    out().padTo(4);
    for (int advance : advances)
        out().i32(advance);
    finish(at);
}

void EmfPaintEngine::writeImage(const QRect &target, const QImage &image)
{
    qsizetype infoSize = 0;
    const QByteArray dib = deviceIndependentBitmap(image, &infoSize);
    const qsizetype at = start(StretchDiBits);
    bounds(target);
    out().i32(target.x());
    out().i32(target.y());
    out().i32(0);
    out().i32(0);
    out().i32(image.width());
    out().i32(image.height());
    constexpr quint32 infoOffset = 80;
    out().u32(infoOffset);
    out().u32(quint32(infoSize));
    out().u32(infoOffset + quint32(infoSize));
    out().u32(quint32(dib.size() - infoSize));
    out().u32(0);  // colours as RGB
    out().u32(sourceCopy);
    out().i32(target.width());
    out().i32(target.height());
    out().raw(dib);
    finish(at);
}

void EmfPaintEngine::writeSaveState()
{
    simple(SaveDc, {});
}

void EmfPaintEngine::writeRestoreState()
{
    simple(RestoreDc, {quint32(-1)});
}

void EmfPaintEngine::writeIntersectClip(const QRect &rect)
{
    // Right and bottom edges lie outside the clip.
    simple(IntersectClipRect, {quint32(rect.left()), quint32(rect.top()), quint32(rect.right() + 1), quint32(rect.bottom() + 1)});
}

void EmfPaintEngine::writePath(const QPainterPath &path, bool fill, bool stroke)
{
    simple(BeginPath, {});
    QPoint subpathStart;
    QPoint last;
    const auto closeIfBack = [&] {
        if (last == subpathStart)
            simple(CloseFigure, {});
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        const QPoint point = QPointF(element).toPoint();
        if (element.isMoveTo()) {
            if (i > 0)
                closeIfBack();
            simple(MoveToEx, {quint32(point.x()), quint32(point.y())});
            subpathStart = last = point;
        } else if (element.isLineTo()) {
            simple(LineTo, {quint32(point.x()), quint32(point.y())});
            last = point;
        } else if (element.isCurveTo() && i + 2 < path.elementCount()) {
            const QPolygon curve{point, QPointF(path.elementAt(i + 1)).toPoint(), QPointF(path.elementAt(i + 2)).toPoint()};
            const qsizetype at = start(PolyBezierTo16);
            bounds(boundsOf(curve));
            out().u32(3);
            points16(curve);
            finish(at);
            last = curve.last();
            i += 2;
        }
    }
    closeIfBack();
    simple(EndPath, {});
    useFillRule(path.fillRule());
    const qsizetype at = start(fill && stroke ? StrokeAndFillPath : fill ? FillPath : StrokePath);
    bounds(path.boundingRect().toAlignedRect());
    finish(at);
}

} // namespace kb
