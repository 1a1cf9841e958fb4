#include "RowIndicatorHeader.h"

#include <QTableView>
#include <QPainter>
#include <QPolygon>
#include <QStyleOptionHeader>

namespace kb {

RowIndicatorHeader::RowIndicatorHeader(QTableView &grid) : QHeaderView(Qt::Vertical, &grid), m_grid(grid)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setDefaultSectionSize(grid.verticalHeader() ? grid.verticalHeader()->defaultSectionSize() : defaultSectionSize());
    setFixedWidth(indicatorWidth);
}

void RowIndicatorHeader::currentChanged(const QModelIndex &current, const QModelIndex &old)
{
    QHeaderView::currentChanged(current, old);
    viewport()->update();
}

void RowIndicatorHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    if (logicalIndex != m_grid.currentIndex().row())
        return;
    const QPoint centre = rect.center();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette().color(QPalette::WindowText));
    painter->drawPolygon(QPolygon({centre + QPoint(-2, -4), centre + QPoint(2, 0), centre + QPoint(-2, 4)}));
    painter->restore();
}

} // namespace kb
