#pragma once

#include "RecordBuffer.h"

#include <QColor>
#include <QFont>
#include <QPaintEngine>
#include <QPen>
#include <QPolygon>
#include <QSet>
#include <QSize>

#include <optional>

namespace kb {

// What a metafile paint engine shares: QPainter's state turned into the drawing objects of the
// picture (pens, brushes, fonts, created once, selected and deleted when replaced) and every
// drawing call turned into polygons, polylines, paths, text and images in picture pixels.
// Subclasses write the records of their format. A clip is recorded as the rectangle around it.
class MetafilePaintEngine : public QPaintEngine
{
public:
    explicit MetafilePaintEngine(QSize size);

    bool begin(QPaintDevice *device) override;
    bool end() override;
    void updateState(const QPaintEngineState &state) override;
    void drawPath(const QPainterPath &path) override;
    void drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode) override;
    void drawTextItem(const QPointF &position, const QTextItem &textItem) override;
    void drawPixmap(const QRectF &target, const QPixmap &pixmap, const QRectF &source) override;
    void drawImage(const QRectF &target, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags flags = Qt::AutoColor) override;

    // The whole picture once painting has ended.
    const QByteArray &data() const { return m_out.bytes(); }

protected:
    struct PenStyle
    {
        quint16 style = 0;  // the GDI pen style
        int width = 1;
        QColor color;
        bool operator==(const PenStyle &) const = default;
    };
    struct FontStyle
    {
        int pixelHeight = 12;   // height of the characters without the leading
        int escapement = 0;     // tenths of a degree, counter-clockwise
        int weight = 400;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        QString family;
        bool operator==(const FontStyle &) const = default;
    };

    static quint32 colorRef(QColor color);
    // A top-down 24-bit device-independent bitmap: the info header and the bits after it.
    static QByteArray deviceIndependentBitmap(const QImage &image, qsizetype *headerSize);

    QSize size() const { return m_size; }
    RecordBuffer &out() { return m_out; }
    int handleCount() const { return m_highestHandle + 1; }

    virtual int firstHandle() const = 0;
    virtual void writeHeader() = 0;
    virtual void writeEnd() = 0;
    virtual void writeCreatePen(int handle, const PenStyle &pen) = 0;
    virtual void writeCreateBrush(int handle, const std::optional<QColor> &color) = 0;
    virtual void writeCreateFont(int handle, const FontStyle &font) = 0;
    virtual void writeSelect(int handle) = 0;
    virtual void writeDelete(int handle) = 0;
    virtual void writeTextColor(QColor color) = 0;
    virtual void writeFillMode(Qt::FillRule rule) = 0;
    virtual void writePolyPolygon(const QList<QPolygon> &polygons) = 0;
    virtual void writePolyline(const QPolygon &polyline) = 0;
    virtual void writeText(QPoint baseline, const QString &text, const QList<int> &advances) = 0;
    virtual void writeImage(const QRect &target, const QImage &image) = 0;
    virtual void writeSaveState() = 0;
    // Restores the state saved last, which also selects the drawing objects selected then.
    virtual void writeRestoreState() = 0;
    virtual void writeIntersectClip(const QRect &rect) = 0;
    // A path in picture pixels, filled with the selected brush and/or outlined with the selected
    // pen. Formats without paths draw its fill as polygons and its outline as polylines.
    virtual void writePath(const QPainterPath &path, bool fill, bool stroke);

    // Makes the pen, brush or fill rule current; nothing is written when it already is.
    void usePen(const std::optional<QPen> &pen);
    void useBrush(const std::optional<QColor> &color);
    void useFillRule(Qt::FillRule rule);

private:
    template <typename Style>
    struct Selected
    {
        std::optional<Style> style;
        int handle = -1;
    };

    template <typename Style, typename Create>
    void select(Selected<Style> &selected, const Style &style, Create create);
    int allocateHandle();
    PenStyle penStyle(const std::optional<QPen> &pen) const;
    FontStyle fontStyle(const QFont &font) const;
    std::optional<QColor> brushColor() const;
    std::optional<QPen> strokePen() const;
    void drawFilledAndStroked(const QPainterPath &devicePath);
    void updateClip(const QPaintEngineState &state);
    // Writes the clip QPainter asked for before the next drawing.
    void applyClip();

    QSize m_size;
    RecordBuffer m_out;
    QPaintDevice *m_device = nullptr;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    QTransform m_transform;
    Selected<PenStyle> m_selectedPen;
    Selected<std::optional<QColor>> m_selectedBrush;
    Selected<FontStyle> m_selectedFont;
    std::optional<QColor> m_textColor;
    std::optional<Qt::FillRule> m_fillRule;
    std::optional<QRect> m_clip;
    bool m_clipChanged = false;
    bool m_clipWritten = false;
    QSet<int> m_usedHandles;
    int m_highestHandle = 0;
};

} // namespace kb
