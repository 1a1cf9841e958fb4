#include "PageLines.h"

#include "Errors.h"

#include <QSaveFile>

#include <algorithm>

namespace kb::report {

std::vector<PageLine> pageLines(const PreparedPage &page)
{
    std::vector<const Primitive *> texts;
    for (const Primitive &p : page.items) {
        if (p.kind == ObjectKind::Text && !p.text.isEmpty())
            texts.push_back(&p);
    }
    std::stable_sort(texts.begin(), texts.end(), [](const Primitive *a, const Primitive *b) { return a->y < b->y; });
    std::vector<PageLine> lines;
    for (const Primitive *p : texts) {
        if (lines.empty() || p->y - lines.back().y > 1.0)
            lines.push_back(PageLine{p->y, p->band, {}});
        lines.back().items.push_back(p);
    }
    for (PageLine &line : lines)
        std::stable_sort(line.items.begin(), line.items.end(), [](const Primitive *a, const Primitive *b) { return a->x < b->x; });
    return lines;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw FileError::cannotCreate(path);
}

} // namespace kb::report
