#include "PageRenderer.h"

#include "PageFonts.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QSvgRenderer>

namespace kb::report {

namespace {

int alignment(const Style &style)
{
    int flags = style.hAlign == HAlign::Right ? Qt::AlignRight : style.hAlign == HAlign::Center ? Qt::AlignHCenter : Qt::AlignLeft;
    flags |= style.vAlign == VAlign::Bottom ? Qt::AlignBottom : style.vAlign == VAlign::Middle ? Qt::AlignVCenter : Qt::AlignTop;
    if (style.wordWrap)
        flags |= Qt::TextWordWrap;
    return flags;
}

QPen penOf(const QColor &color, double widthMm, double dotsPerMm)
{
    QPen pen(color);
    pen.setWidthF(std::max(1.0, widthMm * dotsPerMm));
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void drawFrame(QPainter &painter, const Frame &frame, const QRectF &box, double dotsPerMm)
{
    if (!frame.any())
        return;
    painter.setPen(penOf(frame.color, frame.width, dotsPerMm));
    if (frame.left) painter.drawLine(box.topLeft(), box.bottomLeft());
    if (frame.top) painter.drawLine(box.topLeft(), box.topRight());
    if (frame.right) painter.drawLine(box.topRight(), box.bottomRight());
    if (frame.bottom) painter.drawLine(box.bottomLeft(), box.bottomRight());
}

void drawPicture(QPainter &painter, const Picture &picture, const QRectF &box)
{
    if (picture.type == QLatin1String("svg")) {
        QSvgRenderer svg(picture.data);
        svg.render(&painter, box);
        return;
    }
    const QImage image = QImage::fromData(picture.data);
    if (!image.isNull())
        painter.drawImage(box, image);
}

} // namespace

void PageRenderer::paint(QPainter &painter, const PreparedReport &report, const PreparedPage &page,
                         const QSet<int> &highlighted, int current)
{
    const double dotsPerMm = painter.device()->logicalDpiX() / 25.4;
    const double dotsPerMmY = painter.device()->logicalDpiY() / 25.4;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    int fontStyle = -1;
    for (int i = 0; i < int(page.items.size()); ++i) {
        const Primitive &p = page.items[size_t(i)];
        const Style &style = report.styleOf(p);
        const QRectF box(p.x * dotsPerMm, p.y * dotsPerMmY, p.width * dotsPerMm, p.height * dotsPerMmY);
        switch (p.kind) {
        case ObjectKind::Line:
            painter.setPen(penOf(style.color, style.lineWidth, dotsPerMm));
            painter.drawLine(box.topLeft(), box.bottomRight());
            break;
        case ObjectKind::Rectangle:
            painter.setPen(penOf(style.color, style.lineWidth, dotsPerMm));
            painter.setBrush(style.fill.isValid() ? QBrush(style.fill) : QBrush(Qt::NoBrush));
            painter.drawRect(box);
            painter.setBrush(Qt::NoBrush);
            break;
        case ObjectKind::Picture:
            if (p.picture >= 0 && size_t(p.picture) < report.pictures.size())
                drawPicture(painter, report.pictures[size_t(p.picture)], box);
            drawFrame(painter, style.frame, box, dotsPerMm);
            break;
        case ObjectKind::Text:
            if (highlighted.contains(i))
                painter.fillRect(box, i == current ? QColor(255, 150, 50) : QColor(255, 235, 120));
            else if (style.fill.isValid())
                painter.fillRect(box, style.fill);
            if (!p.text.isEmpty()) {
                // Switching fonts is what costs in a PDF; items in a row mostly share theirs.
                if (p.style != fontStyle) {
                    painter.setFont(toQFont(style.font));
                    fontStyle = p.style;
                }
                painter.setPen(style.color);
                const double pad = TextPadding * dotsPerMm;
                painter.drawText(box.adjusted(pad, 0, -pad, 0), alignment(style), p.text);
            }
            drawFrame(painter, style.frame, box, dotsPerMm);
            break;
        }
    }
    painter.restore();
}

} // namespace kb::report
