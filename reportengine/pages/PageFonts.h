#pragma once

#include "ReportTemplate.h"

#include <QFont>

namespace kb::report {

// The font a template's font stands for; every output and the measuring use the same.
inline QFont toQFont(const FontSpec &spec)
{
    QFont font(spec.family);
    font.setPointSizeF(spec.size);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    return font;
}

// Dots per millimetre of the device that measures text during preparation (1200 dpi).
constexpr double MeasuringDotsPerMm = 1200.0 / 25.4;

} // namespace kb::report
