#include "PageView.h"

#include "PageFonts.h"
#include "PageRenderer.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace kb::report {

PageView::PageView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("PageView"));
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, QColor(128, 128, 128));
    viewport()->setPalette(palette);
    setFocusPolicy(Qt::StrongFocus);
}

double PageView::screenDotsPerMm() const
{
    return logicalDpiX() / 25.4;
}

void PageView::setReport(const PreparedReport *report)
{
    m_report = report;
    m_cache.clear();
    m_hits.clear();
    m_current = {-1, -1};
    applyFit();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void PageView::setZoom(double percent)
{
    m_fit = Fit::None;
    m_scale = std::clamp(percent, 10.0, 800.0) / 100.0 * screenDotsPerMm();
    m_cache.clear();
    updateScrollBars();
    viewport()->update();
    emit zoomChanged();
}

double PageView::zoomPercent() const
{
    return m_scale / screenDotsPerMm() * 100.0;
}

void PageView::setFit(Fit fit)
{
    const int page = currentPage();
    m_fit = fit;
    applyFit();
    showPage(page);
}

void PageView::applyFit()
{
    if (m_report && !m_report->pages.empty() && m_fit != Fit::None) {
        const PreparedPage &page = m_report->pages.front();
        const double byWidth = (viewport()->width() - 2 * Gap) / page.width;
        const double byHeight = (viewport()->height() - 2 * Gap) / page.height;
        m_scale = std::max(0.5, m_fit == Fit::PageWidth ? byWidth : std::min(byWidth, byHeight));
        m_cache.clear();
        emit zoomChanged();
    }
    updateScrollBars();
}

QSize PageView::pageSize(int page) const
{
    const PreparedPage &p = m_report->pages[size_t(page)];
    return QSize(int(p.width * m_scale), int(p.height * m_scale));
}

int PageView::pageTop(int page) const
{
    // Pages of one report share their size; a mixed report still scrolls, with approximate tops.
    if (!m_report || m_report->pages.empty())
        return 0;
    return Gap + page * (pageSize(0).height() + Gap);
}

void PageView::updateScrollBars()
{
    if (!m_report || m_report->pages.empty()) {
        verticalScrollBar()->setRange(0, 0);
        horizontalScrollBar()->setRange(0, 0);
        return;
    }
    const int total = pageTop(m_report->pageCount());
    verticalScrollBar()->setRange(0, std::max(0, total - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setRange(0, std::max(0, pageSize(0).width() + 2 * Gap - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

int PageView::currentPage() const
{
    if (!m_report || m_report->pages.empty())
        return 0;
    const int step = pageSize(0).height() + Gap;
    return std::clamp((verticalScrollBar()->value() + step / 3) / step, 0, m_report->pageCount() - 1);
}

void PageView::showPage(int page, double yMm)
{
    if (!m_report || m_report->pages.empty())
        return;
    page = std::clamp(page, 0, m_report->pageCount() - 1);
    const int offset = yMm < 0 ? -Gap : int(yMm * m_scale) - viewport()->height() / 3;
    verticalScrollBar()->setValue(pageTop(page) + std::max(-Gap, offset));
    viewport()->update();
    if (page != m_lastReported) {
        m_lastReported = page;
        emit currentPageChanged(page);
    }
}

void PageView::setHighlights(const QList<QPair<int, int>> &hits, QPair<int, int> current)
{
    m_hits = hits;
    m_current = current;
    m_cache.clear();
    viewport()->update();
}

const QImage &PageView::pageImage(int page)
{
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
        if (it->first == page) {
            m_cache.splice(m_cache.begin(), m_cache, it);
            return m_cache.front().second;
        }
    }
    // Laid out at the measuring resolution and scaled down, so lines break on screen as on paper
    // (screen-sized glyphs are wider than their share of the page).
    QImage image(pageSize(page), QImage::Format_RGB32);
    image.setDotsPerMeterX(int(MeasuringDotsPerMm * 1000));
    image.setDotsPerMeterY(int(MeasuringDotsPerMm * 1000));
    image.fill(Qt::white);
    QSet<int> marked;
    int current = -1;
    for (const auto &hit : m_hits) {
        if (hit.first == page)
            marked.insert(hit.second);
    }
    if (m_current.first == page)
        current = m_current.second;
    QPainter painter(&image);
    painter.scale(m_scale / MeasuringDotsPerMm, m_scale / MeasuringDotsPerMm);
    PageRenderer::paint(painter, *m_report, m_report->pages[size_t(page)], marked, current);
    painter.end();
    ++m_renderCount;
    m_cache.emplace_front(page, std::move(image));
    if (m_cache.size() > 6)
        m_cache.pop_back();
    return m_cache.front().second;
}

void PageView::paintEvent(QPaintEvent *)
{
    if (!m_report || m_report->pages.empty())
        return;
    QPainter painter(viewport());
    const int top = verticalScrollBar()->value();
    const int bottom = top + viewport()->height();
    const int left = std::max(Gap, (viewport()->width() - pageSize(0).width()) / 2) - horizontalScrollBar()->value();
    const int step = pageSize(0).height() + Gap;
    for (int page = std::max(0, (top - Gap) / step); page < m_report->pageCount(); ++page) {
        const int y = pageTop(page) - top;
        if (y + top > bottom)
            break;
        painter.fillRect(QRect(left + 3, y + 3, pageSize(page).width(), pageSize(page).height()), QColor(60, 60, 60));
        painter.drawImage(QPoint(left, y), pageImage(page));
    }
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const int page = currentPage();
    applyFit();
    if (m_fit != Fit::None)
        showPage(page);
}

void PageView::scrollContentsBy(int, int)
{
    viewport()->update();
    const int page = currentPage();
    if (page != m_lastReported) {
        m_lastReported = page;
        emit currentPageChanged(page);
    }
}

void PageView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        setZoom(zoomPercent() * (event->angleDelta().y() > 0 ? 1.25 : 0.8));
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

} // namespace kb::report
