#include "WmfPaintEngine.h"

#include "CodePage1252.h"

#include <QImage>

namespace kb {

namespace {

constexpr quint16 unitsPerInch = 96;
constexpr qint16 transparentBackground = 1;
constexpr qint16 alignBaseline = 24;
constexpr quint32 sourceCopy = 0x00CC0020;

} // namespace

qsizetype WmfPaintEngine::start(Record function)
{
    const qsizetype at = out().size();
    out().u32(0);
    out().u16(function);
    return at;
}

void WmfPaintEngine::finish(qsizetype at)
{
    out().padTo(2);
    const quint32 words = quint32((out().size() - at) / 2);
    out().patchU32(at, words);
    m_largestRecord = std::max(m_largestRecord, words);
}

void WmfPaintEngine::simple(Record function, std::initializer_list<qint16> parameters)
{
    const qsizetype at = start(function);
    for (qint16 parameter : parameters)
        out().i16(parameter);
    finish(at);
}

void WmfPaintEngine::colorParameter(QColor color)
{
    out().u32(colorRef(color));
}

void WmfPaintEngine::points(const QPolygon &polygon)
{
    for (const QPoint &point : polygon) {
        out().i16(qint16(point.x()));
        out().i16(qint16(point.y()));
    }
}

void WmfPaintEngine::writeHeader()
{
    m_largestRecord = 0;
    const QSize pixels = size();
    out().u32(placeableKey);
    out().u16(0);
    out().i16(0);
    out().i16(0);
    out().i16(qint16(pixels.width()));
    out().i16(qint16(pixels.height()));
    out().u16(unitsPerInch);
    out().u32(0);
    quint16 checksum = 0;
    for (qsizetype i = 0; i < 20; i += 2)
        checksum ^= quint16(quint8(out().bytes()[i])) | quint16(quint8(out().bytes()[i + 1])) << 8;
    out().u16(checksum);

    out().u16(1);      // a file on disk
    out().u16(9);      // header words
    out().u16(0x0300);
    out().u32(0);      // file size in words, patched at the end
    out().u16(0);      // object count, patched
    out().u32(0);      // largest record in words, patched
    out().u16(0);

    simple(SetWindowOrg, {0, 0});
    simple(SetWindowExt, {qint16(pixels.height()), qint16(pixels.width())});
    simple(SetBkMode, {transparentBackground});
    simple(SetTextAlign, {alignBaseline});
}

void WmfPaintEngine::writeEnd()
{
    simple(Eof, {});
    const qsizetype header = placeableSize;
    out().patchU32(header + 6, quint32((out().size() - header) / 2));
    out().patchU16(header + 10, quint16(handleCount()));
    out().patchU32(header + 12, m_largestRecord);
}

void WmfPaintEngine::writeCreatePen(int, const PenStyle &pen)
{
    const qsizetype at = start(CreatePenIndirect);
    out().u16(pen.style);
    out().i16(qint16(pen.width));
    out().i16(0);
    colorParameter(pen.color);
    finish(at);
}

void WmfPaintEngine::writeCreateBrush(int, const std::optional<QColor> &color)
{
    const qsizetype at = start(CreateBrushIndirect);
    out().u16(color ? 0 : 1);
    colorParameter(color.value_or(Qt::black));
    out().u16(0);
    finish(at);
}

void WmfPaintEngine::writeCreateFont(int, const FontStyle &font)
{
    const qsizetype at = start(CreateFontIndirect);
    out().i16(qint16(-font.pixelHeight));
    out().i16(0);
    out().i16(qint16(font.escapement));
    out().i16(qint16(font.escapement));
    out().i16(qint16(font.weight));
    out().u8(font.italic);
    out().u8(font.underline);
    out().u8(font.strikeOut);
    out().u8(0);  // the ANSI character set: text is written in code page 1252
    out().u8(0);
    out().u8(0);
    out().u8(4);
    out().u8(0);
    const QByteArray face = CodePage1252::encode(font.family).left(31);
    out().raw(face);
    out().zeros(32 - face.size());
    finish(at);
}

void WmfPaintEngine::writeSelect(int handle)
{
    simple(SelectObject, {qint16(handle)});
}

void WmfPaintEngine::writeDelete(int handle)
{
    simple(DeleteObject, {qint16(handle)});
}

void WmfPaintEngine::writeTextColor(QColor color)
{
    const qsizetype at = start(SetTextColor);
    colorParameter(color);
    finish(at);
}

void WmfPaintEngine::writeFillMode(Qt::FillRule rule)
{
    simple(SetPolyFillMode, {qint16(rule == Qt::WindingFill ? 2 : 1)});
}

void WmfPaintEngine::writePolyPolygon(const QList<QPolygon> &polygons)
{
    const qsizetype at = start(PolyPolygon);
    out().u16(quint16(polygons.size()));
    for (const QPolygon &polygon : polygons)
        out().u16(quint16(polygon.size()));
    for (const QPolygon &polygon : polygons)
        points(polygon);
    finish(at);
}

void WmfPaintEngine::writePolyline(const QPolygon &polyline)
{
    const qsizetype at = start(Polyline);
    out().i16(qint16(polyline.size()));
    points(polyline);
    finish(at);
}

void WmfPaintEngine::writeText(QPoint baseline, const QString &text, const QList<int> &advances)
{
    const QByteArray bytes = CodePage1252::encode(text);
    const qsizetype at = start(ExtTextOut);
    out().i16(qint16(baseline.y()));
    out().i16(qint16(baseline.x()));
    out().i16(qint16(bytes.size()));
    out().u16(0);  // no options, so no rectangle
    out().raw(bytes);
    out().padTo(2);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out().i16(qint16(advances.value(i)));
    finish(at);
}

void WmfPaintEngine::writeImage(const QRect &target, const QImage &image)
{
    qsizetype infoSize = 0;
    const QByteArray dib = deviceIndependentBitmap(image, &infoSize);
    const qsizetype at = start(StretchDib);
    out().u32(sourceCopy);
    out().u16(0);  // colours as RGB
    out().i16(qint16(image.height()));
    out().i16(qint16(image.width()));
    out().i16(0);
    out().i16(0);
    out().i16(qint16(target.height()));
    out().i16(qint16(target.width()));
    out().i16(qint16(target.y()));
    out().i16(qint16(target.x()));
    out().raw(dib);
    finish(at);
}

void WmfPaintEngine::writeSaveState()
{
    simple(SaveDc, {});
}

void WmfPaintEngine::writeRestoreState()
{
    simple(RestoreDc, {-1});
}

void WmfPaintEngine::writeIntersectClip(const QRect &rect)
{
    simple(IntersectClipRect, {qint16(rect.bottom() + 1), qint16(rect.right() + 1), qint16(rect.top()), qint16(rect.left())});
}

} // namespace kb
