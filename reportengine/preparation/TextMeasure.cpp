#include "TextMeasure.h"

#include "PageFonts.h"

namespace kb::report {

TextMeasure::TextMeasure() : m_device(1, 1, QImage::Format_ARGB32)
{
    m_device.setDotsPerMeterX(int(MeasuringDotsPerMm * 1000));
    m_device.setDotsPerMeterY(int(MeasuringDotsPerMm * 1000));
}

QFontMetricsF &TextMeasure::metrics(const TextFont &font)
{
    const QString key = QStringLiteral("%1|%2|%3%4%5").arg(font.family).arg(font.size).arg(font.bold).arg(font.italic).arg(font.underline);
    auto &slot = m_metrics[key];
    if (!slot)
        slot = std::make_unique<QFontMetricsF>(toQFont(font), &m_device);
    return *slot;
}

double TextMeasure::lineHeight(const TextFont &font)
{
    return metrics(font).lineSpacing() / MeasuringDotsPerMm;
}

double TextMeasure::wrappedHeight(const TextFont &font, double width, const QString &text)
{
    QFontMetricsF &fm = metrics(font);
    const double widthDots = width * MeasuringDotsPerMm;
    if (!text.contains(QLatin1Char('\n')) && fm.horizontalAdvance(text) <= widthDots)
        return fm.height() / MeasuringDotsPerMm;
    const QRectF box = fm.boundingRect(QRectF(0, 0, widthDots, 1e7), Qt::TextWordWrap, text);
    return box.height() / MeasuringDotsPerMm;
}

} // namespace kb::report
