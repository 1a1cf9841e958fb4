#include "Series.h"

#include "Errors.h"

namespace kb {

void Series::append(double value, const QString &label, QColor color)
{
    m_points.append({value, label, color});
}

ChartPoint &Series::point(int index)
{
    if (index < 0 || index >= count())
        throw Error(QStringLiteral("Listenindex überschreitet das Maximum (%1)").arg(index));
    return m_points[index];
}

void Series::setValue(int index, double value)
{
    point(index).value = value;
}

void Series::setLabel(int index, const QString &label)
{
    point(index).label = label;
}

void Series::setPointColor(int index, QColor color)
{
    point(index).color = color;
}

} // namespace kb
