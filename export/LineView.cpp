#include "LineView.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace kb {

namespace {

constexpr int textMargin = 4;
// The lines with the most characters among which the widest one is looked for.
constexpr qsizetype measuredLines = 64;

} // namespace

LineView::LineView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void LineView::setLines(QStringList lines)
{
    m_lines = std::move(lines);
    m_contentWidth = contentWidth();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

int LineView::lineHeight() const
{
    return fontMetrics().lineSpacing();
}

int LineView::contentWidth() const
{
    std::vector<qsizetype> order(size_t(m_lines.size()));
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        order[size_t(i)] = i;
    const auto longest = order.begin() + std::min<qsizetype>(measuredLines, qsizetype(order.size()));
    std::partial_sort(order.begin(), longest, order.end(),
                      [this](qsizetype a, qsizetype b) { return m_lines[a].size() > m_lines[b].size(); });
    int width = 0;
    for (auto it = order.begin(); it != longest; ++it)
        width = std::max(width, fontMetrics().horizontalAdvance(m_lines[*it]));
    return width + 2 * textMargin;
}

void LineView::updateScrollBars()
{
    const int height = lineHeight();
    const int visible = std::max(1, viewport()->height() / height);
    verticalScrollBar()->setRange(0, std::max(0, int(m_lines.size()) - visible));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, std::max(0, m_contentWidth - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth());
}

void LineView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    const int height = lineHeight();
    const int ascent = fontMetrics().ascent();
    const int left = textMargin - horizontalScrollBar()->value();
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype count = viewport()->height() / height + 2;
    for (qsizetype i = 0; i < count && first + i < m_lines.size(); ++i)
        painter.drawText(left, textMargin / 2 + int(i) * height + ascent, m_lines[first + i]);
}

void LineView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void LineView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_contentWidth = contentWidth();
        updateScrollBars();
    }
}

} // namespace kb
