#include "ChartView.h"

#include "Chart.h"

#include <QPainter>

namespace kb {

ChartView::ChartView(const Chart &chart, QWidget *parent) : QWidget(parent), m_chart(chart)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_chart.draw(painter, rect());
}

} // namespace kb
