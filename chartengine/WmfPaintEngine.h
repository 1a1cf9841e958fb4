#pragma once

#include "MetafilePaintEngine.h"

namespace kb {

// Writes a plain metafile (WMF) with the placeable header that gives its size at 96 units per
// inch: 16-bit records for the drawing objects, polygons (paths become polygons and polylines),
// text in code page 1252 with the advance of every character, and the end-of-file record.
class WmfPaintEngine : public MetafilePaintEngine
{
public:
    using MetafilePaintEngine::MetafilePaintEngine;

    Type type() const override { return Type(User + 2); }

    // Record functions this writer emits, as the format numbers them.
    enum Record : quint16 {
        Eof = 0x0000, SetBkMode = 0x0102, SetPolyFillMode = 0x0106, SelectObject = 0x012D, SetTextAlign = 0x012E,
        DeleteObject = 0x01F0, SetTextColor = 0x0209, SetWindowOrg = 0x020B, SetWindowExt = 0x020C,
        CreatePenIndirect = 0x02FA, CreateFontIndirect = 0x02FB, CreateBrushIndirect = 0x02FC, Polyline = 0x0325,
        PolyPolygon = 0x0538, ExtTextOut = 0x0A32, StretchDib = 0x0F43, SaveDc = 0x001E, RestoreDc = 0x0127,
        IntersectClipRect = 0x0416
    };
    static constexpr quint32 placeableKey = 0x9AC6CDD7;
    static constexpr qsizetype placeableSize = 22;

protected:
    int firstHandle() const override { return 0; }
    void writeHeader() override;
    void writeEnd() override;
    void writeCreatePen(int handle, const PenStyle &pen) override;
    void writeCreateBrush(int handle, const std::optional<QColor> &color) override;
    void writeCreateFont(int handle, const FontStyle &font) override;
    void writeSelect(int handle) override;
    void writeDelete(int handle) override;
    void writeTextColor(QColor color) override;
    void writeFillMode(Qt::FillRule rule) override;
    void writePolyPolygon(const QList<QPolygon> &polygons) override;
    void writePolyline(const QPolygon &polyline) override;
    void writeText(QPoint baseline, const QString &text, const QList<int> &advances) override;
    void writeImage(const QRect &target, const QImage &image) override;
    void writeSaveState() override;
    void writeRestoreState() override;
    void writeIntersectClip(const QRect &rect) override;

private:
    qsizetype start(Record function);
    void finish(qsizetype at);
    void simple(Record function, std::initializer_list<qint16> parameters);
    void colorParameter(QColor color);
    void points(const QPolygon &points);

    quint32 m_largestRecord = 0;
};

} // namespace kb
