#pragma once

#include "DesignerDocument.h"

#include <QWidget>

#include <optional>

namespace kb::report {

// The page of the template drawn to scale: bands stacked under their names, objects drawn as they
// print. Selects by click (Shift/Ctrl add) and rubber band, moves and resizes with the mouse and
// the arrow keys (Shift: fine steps, Ctrl: size), resizes bands at their lower edge and places
// the palette's object where the user clicks.
class DesignerCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit DesignerCanvas(DesignerDocument &document, QWidget *parent = nullptr);

    const std::vector<ObjectRef> &selection() const { return m_selection; }
    void select(std::vector<ObjectRef> objects);
    // The next click on a band adds this object there.
    void setPlacing(std::optional<ReportObject> prototype);
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }

    // The band area of each band in millimetres from the page's top, as drawn.
    struct BandArea
    {
        BandRef band;
        double top;
        double height;
    };
    std::vector<BandArea> layout() const;
    // The widget position of a point given in millimetres from the page's top left.
    QPointF toWidget(QPointF mm) const;
    QPointF toPage(QPointF widget) const;

    QSize sizeHint() const override;

    static constexpr double BandCaptionHeight = 4.0; // mm above each band for its name
    static constexpr double FineStep = 0.1;           // mm, Shift + arrow

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class Drag { None, Move, Resize, BandResize, Rubber };

    double dotsPerMm() const;
    std::optional<BandArea> bandAt(double y) const;
    std::optional<BandArea> bandEdgeAt(double y) const;
    std::optional<ObjectRef> objectAt(QPointF mm) const;
    QRectF pageBox(const ObjectRef &ref) const; // mm from the page's top left
    double bandTop(const BandRef &ref) const;
    bool onResizeHandle(QPointF mm) const;
    void paintGuides(QPainter &painter);
    void finishDrag(QPointF mm);
    void onDocumentChanged();

    DesignerDocument &m_document;
    std::vector<ObjectRef> m_selection;
    std::optional<ReportObject> m_placing;
    double m_zoom = 1.0;

    Drag m_drag = Drag::None;
    QPointF m_pressed;   // mm
    QPointF m_current;   // mm
    BandArea m_dragBand{};
    std::vector<SnapGuide> m_guides;
};

} // namespace kb::report
