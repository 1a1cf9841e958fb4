#pragma once

#include "PreparedReport.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QSet>

#include <list>

namespace kb::report {

// The pages one below the other in a scroll area. Only the pages in sight are rendered, each
// into a cached image at the current zoom, so a report of thousands of pages opens at once.
class PageView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    enum class Fit { None, PageWidth, WholePage };

    explicit PageView(QWidget *parent = nullptr);

    void setReport(const PreparedReport *report);
    // Screen pixels per millimetre.
    double scale() const { return m_scale; }
    void setZoom(double percent);
    double zoomPercent() const;
    void setFit(Fit fit);
    Fit fit() const { return m_fit; }

    int currentPage() const; // 0-based, the page at the top of the view
    // Scrolls to the page's top, or with yMm to that height of it (a third down the view).
    void showPage(int page, double yMm = -1);
    // Marks items of pages; current is drawn stronger.
    void setHighlights(const QList<QPair<int, int>> &hits, QPair<int, int> current);
    int renderedPages() const { return m_renderCount; }

signals:
    void currentPageChanged(int page);
    void zoomChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    static constexpr int Gap = 12;
    double screenDotsPerMm() const;
    void applyFit();
    void updateScrollBars();
    int pageTop(int page) const;
    QSize pageSize(int page) const;
    const QImage &pageImage(int page);

    const PreparedReport *m_report = nullptr;
    double m_scale = 4.0;
    Fit m_fit = Fit::PageWidth;
    QList<QPair<int, int>> m_hits;
    QPair<int, int> m_current{-1, -1};
    std::list<std::pair<int, QImage>> m_cache;
    int m_renderCount = 0;
    int m_lastReported = -1;
};

} // namespace kb::report
