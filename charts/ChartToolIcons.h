#pragma once

#include <QIcon>

namespace kb {

// The pictures of the chart window's tool buttons, drawn rather than shipped as files.
class ChartToolIcons
{
public:
    enum class Kind { Save, Print, Pie, Bar, Line, ZoomIn, ZoomOut, Zoom100, LegendTop, LegendBottom, LegendLeft, LegendRight, NoLegend };

    static QIcon icon(Kind kind);
};

} // namespace kb
