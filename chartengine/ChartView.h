#pragma once

#include <QWidget>

namespace kb {

class Chart;

// Shows a chart on screen. The chart is not owned; call update() after changing it. The mouse
// neither zooms nor pans.
class ChartView : public QWidget
{
    Q_OBJECT

public:
    explicit ChartView(const Chart &chart, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Chart &m_chart;
};

} // namespace kb
