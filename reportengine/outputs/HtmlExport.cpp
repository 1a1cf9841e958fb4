#include "HtmlExport.h"

#include "PageLines.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace kb::report {

namespace {

QString cssAlign(HAlign a)
{
    return a == HAlign::Right ? QStringLiteral("right") : a == HAlign::Center ? QStringLiteral("center") : QStringLiteral("left");
}

QString cellStyle(const Style &style)
{
    QString css = QStringLiteral("text-align:%1").arg(cssAlign(style.hAlign));
    if (style.font.bold)
        css += QStringLiteral(";font-weight:bold");
    if (style.font.italic)
        css += QStringLiteral(";font-style:italic");
    if (style.font.size != 9.0)
        css += QStringLiteral(";font-size:%1pt").arg(style.font.size);
    if (style.frame.top)
        css += QStringLiteral(";border-top:1px solid #000");
    if (style.frame.bottom)
        css += QStringLiteral(";border-bottom:1px solid #000");
    if (style.fill.isValid())
        css += QStringLiteral(";background:%1").arg(style.fill.name());
    return css;
}

QString page(const PreparedReport &report, const PreparedPage &page)
{
    const std::vector<PageLine> lines = pageLines(page);
    std::vector<long> edges;
    for (const PageLine &line : lines) {
        for (const Primitive *p : line.items)
            edges.push_back(std::lround(p->x));
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    const auto columnOf = [&](double x) {
        return int(std::lower_bound(edges.begin(), edges.end(), std::lround(x)) - edges.begin());
    };
    QString out = QStringLiteral("<table class=\"page\">\n");
    for (const PageLine &line : lines) {
        const bool head = line.band == BandKind::ColumnHeader;
        out += QStringLiteral("<tr class=\"b%1\">").arg(int(line.band));
        int column = 0;
        for (size_t i = 0; i < line.items.size(); ++i) {
            const Primitive *p = line.items[i];
            const int start = std::max(column, columnOf(p->x));
            const double right = p->x + p->width;
            int end = start + 1;
            const int next = i + 1 < line.items.size() ? columnOf(line.items[i + 1]->x) : int(edges.size());
            while (end < next && edges[size_t(end)] < std::lround(right))
                ++end;
            if (start > column)
                out += QStringLiteral("<td colspan=\"%1\"></td>").arg(start - column);
            const QString cell = head ? QStringLiteral("th") : QStringLiteral("td");
            out += QStringLiteral("<%1%2 style=\"%3\">%4</%1>")
                       .arg(cell, end - start > 1 ? QStringLiteral(" colspan=\"%1\"").arg(end - start) : QString(),
                            cellStyle(report.styleOf(*p)), p->text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
            column = end;
        }
        out += QStringLiteral("</tr>\n");
    }
    return out + QStringLiteral("</table>\n");
}

} // namespace

QString HtmlExport::html(const PreparedReport &report, const QString &title)
{
    QString out = QStringLiteral(
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n<style>\n"
        "body { font-family: sans-serif; font-size: 9pt; }\n"
        "table.page { border-collapse: collapse; margin-bottom: 2em; page-break-after: always; }\n"
        "td, th { padding: 1px 4px; vertical-align: top; white-space: pre-wrap; }\n"
        "</style>\n</head>\n<body>\n").arg(title.toHtmlEscaped());
    for (const PreparedPage &p : report.pages)
        out += page(report, p);
    return out + QStringLiteral("</body>\n</html>\n");
}

void HtmlExport::write(const PreparedReport &report, const QString &path) const
{
    writeFile(path, html(report, QFileInfo(path).completeBaseName()).toUtf8());
}

} // namespace kb::report
