#include "CsvExport.h"

#include "CodePage1252.h"
#include "PageLines.h"
#include "TextForms.h"

#include <algorithm>

namespace kb::report {

namespace {

QString plain(const Value &value)
{
    switch (value.type()) {
    case Value::Type::Null: return {};
    case Value::Type::Boolean: return value.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case Value::Type::Integer: return QString::number(value.toInteger());
    case Value::Type::Money: return TextForms::plainNumber(value.toMoney());
    case Value::Type::Float: return TextForms::plainNumber(value.toDouble());
    case Value::Type::Date: return TextForms::formatDate(value.toDate());
    case Value::Type::DateTime: return TextForms::formatDate(value.toDate()) + QLatin1Char(' ')
                                       + std::get<QDateTime>(value.data()).time().toString(QStringLiteral("HH:mm"));
    case Value::Type::String: return std::get<QString>(value.data());
    }
    return {};
}

QString quoted(const QString &text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

QStringList CsvExport::lines(const PreparedReport &report)
{
    QStringList out;
    bool header = false;
    for (const PreparedPage &page : report.pages) {
        std::vector<const Primitive *> row;
        auto flush = [&] {
            if (row.empty())
                return;
            std::stable_sort(row.begin(), row.end(), [](const Primitive *a, const Primitive *b) { return a->x < b->x; });
            QStringList cells;
            if (!header) {
                for (const Primitive *p : row)
                    cells << quoted(report.tagOf(*p));
                out << cells.join(QLatin1Char(';'));
                cells.clear();
                header = true;
            }
            for (const Primitive *p : row)
                cells << quoted(plain(p->raw));
            out << cells.join(QLatin1Char(';'));
            row.clear();
        };
        for (const Primitive &p : page.items) {
            if (p.band != BandKind::Detail || p.kind != ObjectKind::Text || p.row < 0 || p.tag < 0)
                continue;
            if (!row.empty() && row.front()->row != p.row)
                flush();
            row.push_back(&p);
        }
        flush();
    }
    return out;
}

void CsvExport::write(const PreparedReport &report, const QString &path) const
{
    const QStringList all = lines(report);
    writeFile(path, CodePage1252::encode(all.isEmpty() ? QString() : all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

} // namespace kb::report
