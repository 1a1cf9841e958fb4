#include "UnicodeLike.h"

#include <QString>

#include <sqlite3.h>

namespace kb {

namespace {

constexpr QChar AnyRun = QLatin1Char('%');
constexpr QChar AnyOne = QLatin1Char('_');

// The length in code units of the character at index: a surrogate pair is one character.
qsizetype characterLength(QStringView text, qsizetype index)
{
    return text[index].isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate() ? 2 : 1;
}

// Both sides already folded. Greedy on %, going back to the last % on a mismatch: linear in
// practice and never worse than pattern length times text length.
bool matchFolded(QStringView pattern, QStringView text, QChar escape)
{
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == AnyRun) {
            starP = ++p;
            starT = t;
            continue;
        }
        if (p < pattern.size()) {
            const bool escaped = !escape.isNull() && pattern[p] == escape && p + 1 < pattern.size();
            const qsizetype at = escaped ? p + 1 : p;
            const qsizetype length = characterLength(text, t);
            if (!escaped && pattern[at] == AnyOne) {
                p = at + 1;
                t += length;
                continue;
            }
            const qsizetype patternLength = characterLength(pattern, at);
            if (patternLength == length && pattern.sliced(at, length) == text.sliced(t, length)) {
                p = at + patternLength;
                t += length;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP;
        starT += characterLength(text, starT);
        t = starT;
    }
    while (p < pattern.size() && pattern[p] == AnyRun)
        ++p;
    return p == pattern.size();
}

QString textOf(sqlite3_value *value)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
}

void freeFolded(void *pattern)
{
    delete static_cast<QString *>(pattern);
}

// like(pattern, text[, escape]); the folded pattern is kept with the statement, so a scan folds
// it once.
void like(sqlite3_context *context, int count, sqlite3_value **arguments)
{
    for (int i = 0; i < count; ++i) {
        if (sqlite3_value_type(arguments[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    QChar escape;
    if (count == 3) {
        const QString escapeText = textOf(arguments[2]);
        if (escapeText.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = escapeText.at(0).toCaseFolded();
    }
    const QString text = textOf(arguments[1]).toCaseFolded();
    if (const auto *cached = static_cast<const QString *>(sqlite3_get_auxdata(context, 0))) {
        sqlite3_result_int(context, matchFolded(*cached, text, escape) ? 1 : 0);
        return;
    }
    QString pattern = textOf(arguments[0]).toCaseFolded();
    sqlite3_result_int(context, matchFolded(pattern, text, escape) ? 1 : 0);
    // SQLite may free it at once (a pattern that is no constant): nothing uses it after this.
    sqlite3_set_auxdata(context, 0, new QString(std::move(pattern)), &freeFolded);
}

} // namespace

void UnicodeLike::registerOn(sqlite3 *db)
{
    for (int count : {2, 3})
        sqlite3_create_function_v2(db, "like", count, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &like, nullptr,
                                   nullptr, nullptr);
}

bool UnicodeLike::matches(QStringView pattern, QStringView text, QChar escape)
{
    return matchFolded(pattern.toString().toCaseFolded(), text.toString().toCaseFolded(), escape.toCaseFolded());
}

} // namespace kb
