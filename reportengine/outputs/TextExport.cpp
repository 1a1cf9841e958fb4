#include "TextExport.h"

#include "CodePage1252.h"
#include "PageFonts.h"
#include "PageLines.h"

#include <cmath>

namespace kb::report {

namespace {

// The text cut into pieces of at most width characters, at blanks where possible.
QStringList wrap(const QString &text, int width)
{
    QStringList out;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QString rest = paragraph;
        while (rest.size() > width) {
            qsizetype cut = rest.lastIndexOf(QLatin1Char(' '), width);
            if (cut <= 0)
                cut = width;
            out << rest.left(cut).trimmed();
            rest = rest.mid(cut).trimmed();
        }
        out << rest;
    }
    return out;
}

QString aligned(const QString &text, int width, HAlign align)
{
    const QString cut = text.left(width);
    const int gap = width - int(cut.size());
    if (align == HAlign::Right)
        return QString(gap, QLatin1Char(' ')) + cut;
    if (align == HAlign::Center)
        return QString(gap / 2, QLatin1Char(' ')) + cut;
    return cut;
}

void put(QString &row, int column, const QString &text)
{
    if (row.size() < column + text.size())
        row.resize(column + text.size(), QLatin1Char(' '));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char(' ') || row.at(column + i) == QLatin1Char(' '))
            row[column + i] = text.at(i);
    }
}

} // namespace

QString TextExport::text(const PreparedReport &report)
{
    double left = 1e9;
    for (const PreparedPage &page : report.pages) {
        for (const Primitive &p : page.items)
            left = std::min(left, double(p.x) + TextPadding);
    }
    QStringList out;
    for (size_t n = 0; n < report.pages.size(); ++n) {
        if (n > 0)
            out << QStringLiteral("\f");
        for (const PageLine &line : pageLines(report.pages[n])) {
            QStringList rows{QString()};
            for (const Primitive *p : line.items) {
                const Style &style = report.styleOf(*p);
                const int column = std::max(0, int(std::lround((p->x + TextPadding - left) / CharWidth)));
                const int width = std::max(1, int(std::lround((p->width - 2 * TextPadding) / CharWidth)));
                const QStringList pieces = style.wordWrap ? wrap(p->text, width) : QStringList{p->text.section(QLatin1Char('\n'), 0, 0)};
                for (int i = 0; i < pieces.size(); ++i) {
                    if (rows.size() <= i)
                        rows << QString();
                    put(rows[i], column, aligned(pieces[i], width, style.hAlign));
                }
            }
            for (QString &row : rows) {
                while (row.endsWith(QLatin1Char(' ')))
                    row.chop(1);
                out << row;
            }
        }
    }
    return out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void TextExport::write(const PreparedReport &report, const QString &path) const
{
    writeFile(path, CodePage1252::encode(text(report)));
}

} // namespace kb::report
