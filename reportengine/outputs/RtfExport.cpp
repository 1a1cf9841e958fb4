#include "RtfExport.h"

#include "PageLines.h"

#include <cmath>

namespace kb::report {

namespace {

constexpr double TwipsPerMm = 1440.0 / 25.4;

// Escapes text for RTF: its control characters and every character beyond ASCII as \uN?.
QByteArray escaped(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u < 0x80) {
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

} // namespace

QByteArray RtfExport::rtf(const PreparedReport &report)
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss DejaVu Sans;}}\n";
    if (!report.pages.empty()) {
        const PreparedPage &first = report.pages.front();
        out += "\\paperw" + QByteArray::number(std::lround(first.width * TwipsPerMm)) + "\\paperh"
               + QByteArray::number(std::lround(first.height * TwipsPerMm)) + "\\margl0\\margr0\\margt0\\margb0\n";
    }
    double left = 1e9;
    for (const PreparedPage &page : report.pages) {
        for (const Primitive &p : page.items)
            left = std::min(left, double(p.x));
    }
    for (size_t n = 0; n < report.pages.size(); ++n) {
        if (n > 0)
            out += "\\page\n";
        for (const PageLine &line : pageLines(report.pages[n])) {
            QByteArray tabs, text;
            for (const Primitive *p : line.items) {
                const Style &style = report.styleOf(*p);
                const bool right = style.hAlign == HAlign::Right;
                const double stop = right ? p->x + p->width - left : p->x - left;
                tabs += QByteArray(right ? "\\tqr" : "") + "\\tx" + QByteArray::number(std::lround(stop * TwipsPerMm));
                text += "\\tab ";
                if (style.font.bold) text += "\\b ";
                if (style.font.italic) text += "\\i ";
                text += "\\fs" + QByteArray::number(std::lround(style.font.size * 2)) + ' ';
                text += escaped(p->text);
                if (style.font.italic) text += "\\i0 ";
                if (style.font.bold) text += "\\b0 ";
            }
            out += "\\pard\\li" + QByteArray::number(std::lround(left * TwipsPerMm)) + tabs + ' ' + text + "\\par\n";
        }
    }
    return out + "}\n";
}

void RtfExport::write(const PreparedReport &report, const QString &path) const
{
    writeFile(path, rtf(report));
}

} // namespace kb::report
