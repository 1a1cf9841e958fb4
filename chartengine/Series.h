#pragma once

#include <QColor>
#include <QList>
#include <QString>

namespace kb {

// One point of a series: its value, its label and the colour it is drawn in.
struct ChartPoint
{
    double value = 0;
    QString label;
    QColor color;
};

// A line, bar or pie series: a colour, marks (value labels) shown or hidden, and its points.
// Only attached series are drawn.
class Series
{
public:
    enum class Kind { Line, Bar, Pie };

    Series(Kind kind, QColor color) : m_kind(kind), m_color(color) {}

    Kind kind() const { return m_kind; }
    QColor color() const { return m_color; }
    void setColor(QColor color) { m_color = color; }
    bool marksVisible() const { return m_marksVisible; }
    void setMarksVisible(bool visible) { m_marksVisible = visible; }
    // Small squares on the points of a line series.
    bool pointSymbolsVisible() const { return m_pointSymbolsVisible; }
    void setPointSymbolsVisible(bool visible) { m_pointSymbolsVisible = visible; }
    bool isAttached() const { return m_attached; }
    void setAttached(bool attached) { m_attached = attached; }

    const QList<ChartPoint> &points() const { return m_points; }
    int count() const { return int(m_points.size()); }
    void clear() { m_points.clear(); }
    void append(double value, const QString &label, QColor color);
    // An index outside the points throws an Error that names it.
    void setValue(int index, double value);
    void setLabel(int index, const QString &label);
    void setPointColor(int index, QColor color);

private:
    ChartPoint &point(int index);

    Kind m_kind;
    QColor m_color;
    bool m_marksVisible = true;
    bool m_pointSymbolsVisible = true;
    bool m_attached = true;
    QList<ChartPoint> m_points;
};

} // namespace kb
