#include "DesignerCanvas.h"

#include "PageRenderer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace kb::report {

namespace {

constexpr double Border = 16.0;     // px around the page
constexpr double HandleSize = 6.0;  // px
constexpr double EdgeGrip = 3.0;    // px either side of a band's lower edge

Style styleOf(const ReportObject &o)
{
    return Style{o.font, o.color, o.fill, o.hAlign, o.vAlign, o.wordWrap, o.frame, o.lineWidth};
}

} // namespace

DesignerCanvas::DesignerCanvas(DesignerDocument &document, QWidget *parent) : QWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("DesignerCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    connect(&m_document, &DesignerDocument::changed, this, &DesignerCanvas::onDocumentChanged);
}

double DesignerCanvas::dotsPerMm() const
{
    return logicalDpiX() / 25.4;
}

QPointF DesignerCanvas::toWidget(QPointF mm) const
{
    return mm * dotsPerMm() * m_zoom + QPointF(Border, Border);
}

QPointF DesignerCanvas::toPage(QPointF widget) const
{
    return (widget - QPointF(Border, Border)) / (dotsPerMm() * m_zoom);
}

std::vector<DesignerCanvas::BandArea> DesignerCanvas::layout() const
{
    std::vector<BandArea> areas;
    double y = m_document.reportTemplate().page.marginTop;
    for (const BandRef &ref : m_document.bands()) {
        y += BandCaptionHeight;
        const double height = m_document.band(ref)->height;
        areas.push_back({ref, y, height});
        y += height;
    }
    return areas;
}

QSize DesignerCanvas::sizeHint() const
{
    const PageSetup &page = m_document.reportTemplate().page;
    const auto areas = layout();
    const double bottom = areas.empty() ? 0.0 : areas.back().top + areas.back().height + page.marginBottom;
    const QPointF corner = toWidget({page.width, std::max(page.height, bottom)});
    return QSize(int(corner.x() + Border), int(corner.y() + Border));
}

void DesignerCanvas::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, 0.25, 4.0);
    resize(sizeHint());
    update();
}

void DesignerCanvas::select(std::vector<ObjectRef> objects)
{
    std::sort(objects.begin(), objects.end());
    objects.erase(std::unique(objects.begin(), objects.end()), objects.end());
    m_selection = std::move(objects);
    update();
    emit selectionChanged();
}

void DesignerCanvas::setPlacing(std::optional<ReportObject> prototype)
{
    m_placing = std::move(prototype);
    setCursor(m_placing ? Qt::CrossCursor : Qt::ArrowCursor);
}

void DesignerCanvas::onDocumentChanged()
{
    // After an undo the selected positions may be gone.
    std::vector<ObjectRef> kept;
    std::copy_if(m_selection.begin(), m_selection.end(), std::back_inserter(kept),
                 [this](const ObjectRef &ref) { return m_document.contains(ref); });
    resize(sizeHint());
    select(std::move(kept));
}

double DesignerCanvas::bandTop(const BandRef &ref) const
{
    for (const BandArea &area : layout()) {
        if (area.band == ref)
            return area.top;
    }
    return 0.0;
}

QRectF DesignerCanvas::pageBox(const ObjectRef &ref) const
{
    const ReportObject *o = const_cast<DesignerDocument &>(m_document).object(ref);
    if (!o)
        return {};
    return o->geometry.translated(m_document.reportTemplate().page.marginLeft, bandTop(ref.band));
}

std::optional<DesignerCanvas::BandArea> DesignerCanvas::bandAt(double y) const
{
    for (const BandArea &area : layout()) {
        if (y >= area.top - BandCaptionHeight && y < area.top + area.height)
            return area;
    }
    return std::nullopt;
}

std::optional<DesignerCanvas::BandArea> DesignerCanvas::bandEdgeAt(double y) const
{
    const double grip = EdgeGrip / (dotsPerMm() * m_zoom);
    for (const BandArea &area : layout()) {
        if (std::abs(y - (area.top + area.height)) <= grip)
            return area;
    }
    return std::nullopt;
}

std::optional<ObjectRef> DesignerCanvas::objectAt(QPointF mm) const
{
    const double grip = EdgeGrip / (dotsPerMm() * m_zoom);
    for (const BandArea &area : layout()) {
        const auto &objects = m_document.band(area.band)->objects;
        // The topmost, that is the last drawn, first.
        for (int i = int(objects.size()) - 1; i >= 0; --i) {
            const ObjectRef ref{area.band, i};
            if (pageBox(ref).adjusted(-grip, -grip, grip, grip).contains(mm))
                return ref;
        }
    }
    return std::nullopt;
}

bool DesignerCanvas::onResizeHandle(QPointF mm) const
{
    if (m_selection.size() != 1)
        return false;
    const double handle = HandleSize / (dotsPerMm() * m_zoom);
    const QPointF corner = pageBox(m_selection.front()).bottomRight();
    return QRectF(corner - QPointF(handle, handle), QSizeF(2 * handle, 2 * handle)).contains(mm);
}

void DesignerCanvas::paintEvent(QPaintEvent *)
{
    const ReportTemplate &t = m_document.reportTemplate();
    const double dpm = dotsPerMm();
    const auto mmRect = [dpm](const QRectF &r) { return QRectF(r.topLeft() * dpm, r.size() * dpm); };
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    painter.translate(Border, Border);
    painter.scale(m_zoom, m_zoom);

    const QSize hint = sizeHint();
    const double pageHeight = (hint.height() - 2 * Border) / (dpm * m_zoom);
    painter.fillRect(mmRect({0, 0, t.page.width, pageHeight}), Qt::white);
    painter.setPen(QPen(QColor(190, 190, 190), 0, Qt::DashLine));
    painter.drawRect(mmRect({t.page.marginLeft, t.page.marginTop, t.page.width - t.page.marginLeft - t.page.marginRight,
                             pageHeight - t.page.marginTop - t.page.marginBottom}));

    // The objects as they print, moved or resized as far as the mouse has dragged them.
    const QPointF dragDelta = m_drag == Drag::Move ? m_document.snapMove(m_selection, m_current - m_pressed).offset : QPointF();
    PreparedReport sheet;
    PreparedPage page{t.page.width, pageHeight, {}};
    QFont caption = font();
    caption.setPointSizeF(7);
    for (const BandArea &area : layout()) {
        const QRectF captionBox(0, area.top - BandCaptionHeight, t.page.width, BandCaptionHeight);
        painter.fillRect(mmRect(captionBox), QColor(225, 232, 245));
        painter.setPen(QColor(60, 80, 120));
        painter.setFont(caption);
        painter.drawText(mmRect(captionBox.adjusted(1, 0, 0, 0)), Qt::AlignVCenter | Qt::AlignLeft,
                         QStringLiteral("%1  (%2 mm)").arg(m_document.bandName(area.band)).arg(area.height, 0, 'f', 1));
        painter.setPen(QPen(QColor(120, 140, 180), 0));
        painter.drawLine(mmRect({0, area.top + area.height, t.page.width, 0}).topLeft(),
                         mmRect({0, area.top + area.height, t.page.width, 0}).topRight());
        const auto &objects = m_document.band(area.band)->objects;
        for (int i = 0; i < int(objects.size()); ++i) {
            const ReportObject &o = objects[i];
            const ObjectRef ref{area.band, i};
            const bool selected = std::find(m_selection.begin(), m_selection.end(), ref) != m_selection.end();
            QRectF box = pageBox(ref);
            if (selected && m_drag == Drag::Move)
                box.translate(dragDelta);
            if (selected && m_drag == Drag::Resize)
                box.setBottomRight(m_current);
            Primitive p;
            p.kind = o.kind;
            p.style = sheet.styleIndex(styleOf(o));
            p.x = float(box.x()), p.y = float(box.y()), p.width = float(box.width()), p.height = float(box.height());
            p.text = o.text;
            if (o.kind == ObjectKind::Picture && !o.picture.isEmpty()) {
                sheet.pictures.push_back({o.pictureType, o.picture});
                p.picture = int(sheet.pictures.size()) - 1;
            }
            page.items.push_back(p);
            if (o.kind == ObjectKind::Text || o.kind == ObjectKind::Picture) {
                painter.setPen(QPen(QColor(200, 200, 200), 0, Qt::DotLine));
                painter.drawRect(mmRect(box));
            }
        }
    }
    sheet.pages.push_back(page);
    PageRenderer::paint(painter, sheet, sheet.pages.front());

    // Selection frames, the resize handle, the rubber band and the guides on top.
    painter.setPen(QPen(QColor(30, 110, 230), 0));
    for (const ObjectRef &ref : m_selection) {
        QRectF box = pageBox(ref);
        if (m_drag == Drag::Move)
            box.translate(dragDelta);
        painter.drawRect(mmRect(box));
    }
    if (m_selection.size() == 1 && m_drag != Drag::Move) {
        const QPointF corner = pageBox(m_selection.front()).bottomRight() * dpm;
        const double h = HandleSize / m_zoom;
        painter.fillRect(QRectF(corner - QPointF(h / 2, h / 2), QSizeF(h, h)), QColor(30, 110, 230));
    }
    if (m_drag == Drag::Rubber) {
        painter.setPen(QPen(QColor(30, 110, 230), 0, Qt::DashLine));
        painter.drawRect(mmRect(QRectF(m_pressed, m_current).normalized()));
    }
    if (m_drag == Drag::Move)
        paintGuides(painter);
}

void DesignerCanvas::paintGuides(QPainter &painter)
{
    if (m_selection.empty())
        return;
    const double dpm = dotsPerMm();
    const ReportTemplate &t = m_document.reportTemplate();
    const double top = bandTop(m_selection.front().band);
    painter.setPen(QPen(QColor(230, 40, 160), 0, Qt::DashLine));
    for (const SnapGuide &guide : m_document.snapMove(m_selection, m_current - m_pressed).guides) {
        if (guide.orientation == Qt::Vertical) {
            const double x = (t.page.marginLeft + guide.position) * dpm;
            painter.drawLine(QPointF(x, 0), QPointF(x, height() / m_zoom));
        } else {
            const double y = (top + guide.position) * dpm;
            painter.drawLine(QPointF(0, y), QPointF(t.page.width * dpm, y));
        }
    }
}

void DesignerCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF mm = toPage(event->position());
    m_pressed = m_current = mm;
    const std::optional<BandArea> area = bandAt(mm.y());
    if (m_placing) {
        if (area) {
            ReportObject added = *m_placing;
            const double grid = m_document.grid;
            added.geometry.moveTopLeft({Snapping::toGrid(mm.x() - m_document.reportTemplate().page.marginLeft, grid),
                                        std::max(0.0, Snapping::toGrid(mm.y() - area->top, grid))});
            const ObjectRef ref = m_document.addObject(area->band, added);
            setPlacing(std::nullopt);
            select({ref});
        }
        return;
    }
    if (onResizeHandle(mm)) {
        m_drag = Drag::Resize;
        return;
    }
    const bool adding = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (const std::optional<ObjectRef> hit = objectAt(mm)) {
        const bool selected = std::find(m_selection.begin(), m_selection.end(), *hit) != m_selection.end();
        if (adding) {
            std::vector<ObjectRef> next = m_selection;
            if (selected)
                next.erase(std::find(next.begin(), next.end(), *hit));
            else
                next.push_back(*hit);
            select(next);
            return;
        }
        if (!selected)
            select({*hit});
        // A move keeps to one band: objects of other bands leave the selection.
        std::vector<ObjectRef> sameBand;
        std::copy_if(m_selection.begin(), m_selection.end(), std::back_inserter(sameBand),
                     [&](const ObjectRef &r) { return r.band == hit->band; });
        std::stable_partition(sameBand.begin(), sameBand.end(), [&](const ObjectRef &r) { return r == *hit; });
        m_selection = sameBand;
        m_drag = Drag::Move;
        return;
    }
    if (const std::optional<BandArea> edge = bandEdgeAt(mm.y())) {
        m_dragBand = *edge;
        m_drag = Drag::BandResize;
        return;
    }
    if (!adding)
        select({});
    m_drag = Drag::Rubber;
}

void DesignerCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF mm = toPage(event->position());
    if (m_drag == Drag::None) {
        if (!m_placing)
            setCursor(onResizeHandle(mm) ? Qt::SizeFDiagCursor
                      : bandEdgeAt(mm.y()) && !objectAt(mm) ? Qt::SizeVerCursor
                                                          : Qt::ArrowCursor);
        return;
    }
    m_current = mm;
    if (m_drag == Drag::BandResize)
        m_document.band(m_dragBand.band)->height = std::max(0.0, mm.y() - m_dragBand.top);
    update();
}

void DesignerCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_drag != Drag::None)
        finishDrag(toPage(event->position()));
}

void DesignerCanvas::finishDrag(QPointF mm)
{
    const Drag drag = std::exchange(m_drag, Drag::None);
    const double grid = m_document.grid;
    switch (drag) {
    case Drag::Move:
        // A click is no move: without this, it would snap the clicked object to the grid.
        if (((mm - m_pressed) * dotsPerMm() * m_zoom).manhattanLength() >= QApplication::startDragDistance())
            m_document.moveObjects(m_selection, mm - m_pressed, true);
        break;
    case Drag::Resize: {
        const ObjectRef ref = m_selection.front();
        const double top = bandTop(ref.band), left = m_document.reportTemplate().page.marginLeft;
        QRectF box = m_document.object(ref)->geometry;
        box.setBottomRight({Snapping::toGrid(mm.x() - left, grid), Snapping::toGrid(mm.y() - top, grid)});
        m_document.setGeometry(ref, box);
        break;
    }
    case Drag::BandResize:
        // The live height goes back first, so that the undo step holds the height before the drag.
        m_document.band(m_dragBand.band)->height = m_dragBand.height;
        m_document.resizeBand(m_dragBand.band, Snapping::toGrid(mm.y() - m_dragBand.top, grid));
        break;
    case Drag::Rubber: {
        const QRectF area = QRectF(m_pressed, mm).normalized();
        std::vector<ObjectRef> next = m_selection;
        for (const BandArea &band : layout()) {
            for (int i = 0; i < int(m_document.band(band.band)->objects.size()); ++i) {
                if (area.intersects(pageBox({band.band, i}).adjusted(0, 0, 0.01, 0.01)))
                    next.push_back({band.band, i});
            }
        }
        select(next);
        break;
    }
    case Drag::None: break;
    }
    update();
}

void DesignerCanvas::keyPressEvent(QKeyEvent *event)
{
    QPointF step;
    switch (event->key()) {
    case Qt::Key_Left: step = {-1, 0}; break;
    case Qt::Key_Right: step = {1, 0}; break;
    case Qt::Key_Up: step = {0, -1}; break;
    case Qt::Key_Down: step = {0, 1}; break;
    case Qt::Key_Delete: m_document.deleteObjects(m_selection); return;
    case Qt::Key_Escape:
        if (!m_placing)
            QWidget::keyPressEvent(event); // the window's Escape: close
        setPlacing(std::nullopt);
        return;
    default: QWidget::keyPressEvent(event); return;
    }
    if (m_selection.empty())
        return;
    step *= event->modifiers() & Qt::ShiftModifier ? FineStep : std::max(m_document.grid, FineStep);
    if (event->modifiers() & Qt::ControlModifier && m_selection.size() == 1) {
        QRectF box = m_document.object(m_selection.front())->geometry;
        box.setSize(QSizeF(std::max(0.0, box.width() + step.x()), std::max(0.0, box.height() + step.y())));
        m_document.setGeometry(m_selection.front(), box);
    } else {
        m_document.moveObjects(m_selection, step);
    }
}

} // namespace kb::report
