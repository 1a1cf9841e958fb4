#pragma once

#include "ReportTemplate.h"

#include <QFont>

namespace kb::report {

// The font a template's font stands for; every output and the measuring use the same.
inline QFont toQFont(const TextFont &textFont)
{
    QFont font(textFont.family);
    font.setPointSizeF(textFont.size);
    font.setBold(textFont.bold);
    font.setItalic(textFont.italic);
    font.setUnderline(textFont.underline);
    // No ligatures: text extracted from a PDF or found by a search reads as typed ("fi", not one glyph).
    font.setStyleStrategy(QFont::PreferNoShaping);
    // Unhinted glyphs scale with the resolution, so the screen breaks lines where the paper does.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// The blank kept inside an object's box on the left and the right of its text.
constexpr double TextPadding = 0.8;
// Measured lines are this much narrower than the box, so a device that sets text a little wider
// than the measuring one still fits every line.
constexpr double MeasuringSlack = 0.4;

// Dots per millimetre of the device that measures text during preparation (1200 dpi).
constexpr double MeasuringDotsPerMm = 1200.0 / 25.4;

} // namespace kb::report
