#pragma once

#include "MetafilePaintEngine.h"

namespace kb {

// Writes an enhanced metafile (EMF): the header with the picture's bounds at 96 pixels per
// inch, then one record per drawing object and primitive in picture pixels, paths as paths,
// text as UTF-16 with the advance of every character, and the end-of-file record.
class EmfPaintEngine : public MetafilePaintEngine
{
public:
    using MetafilePaintEngine::MetafilePaintEngine;

    Type type() const override { return Type(User + 1); }

    // Record types this writer emits, as the format numbers them.
    enum Record : quint32 {
        Header = 1, PolyBezierTo16 = 88, Polyline16 = 87, PolyPolygon16 = 91, Eof = 14, SetMapMode = 17,
        SetBkMode = 18, SetPolyFillMode = 19, SetTextAlign = 22, SetTextColor = 24, MoveToEx = 27,
        SelectObject = 37, CreatePen = 38, CreateBrushIndirect = 39, DeleteObject = 40, LineTo = 54,
        BeginPath = 59, EndPath = 60, CloseFigure = 61, FillPath = 62, StrokeAndFillPath = 63, StrokePath = 64,
        StretchDiBits = 81, ExtCreateFontIndirectW = 82, ExtTextOutW = 84, IntersectClipRect = 30, SaveDc = 33,
        RestoreDc = 34
    };

protected:
    int firstHandle() const override { return 1; }
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
    void writePath(const QPainterPath &path, bool fill, bool stroke) override;
    void writeSaveState() override;
    void writeRestoreState() override;
    void writeIntersectClip(const QRect &rect) override;

private:
    // Starts a record; finish() writes its size once its parameters are there.
    qsizetype start(Record type);
    void finish(qsizetype at);
    void simple(Record type, std::initializer_list<quint32> parameters);
    void bounds(const QRect &rect);
    void points16(const QPolygon &points);

    quint32 m_records = 0;
};

} // namespace kb
