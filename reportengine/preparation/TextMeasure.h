#pragma once

#include "ReportTemplate.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>

#include <map>
#include <memory>

namespace kb::report {

// Measures wrapped text in millimetres at a fixed resolution, so that a page breaks in the same
// place whatever device it goes to. Keeps one set of metrics per font.
class TextMeasure
{
public:
    TextMeasure();
    // The height the text needs at the width (one line when it fits).
    double wrappedHeight(const TextFont &font, double width, const QString &text);
    double lineHeight(const TextFont &font);

private:
    QFontMetricsF &metrics(const TextFont &font);

    QImage m_device;
    std::map<QString, std::unique_ptr<QFontMetricsF>> m_metrics;
};

} // namespace kb::report
