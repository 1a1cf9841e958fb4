#include "IniFile.h"

#include "CodePage1252.h"
#include "Errors.h"

#include <QFileInfo>

#include <optional>

namespace kb {

namespace {

std::optional<QString> sectionName(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')))
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    return std::nullopt;
}

bool isEntryOf(const QString &line, const QString &key)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    return equals >= 0 && line.left(equals).trimmed().compare(key.trimmed(), Qt::CaseInsensitive) == 0;
}

bool isSection(const QString &line, const QString &section)
{
    const std::optional<QString> name = sectionName(line);
    return name && name->compare(section.trimmed(), Qt::CaseInsensitive) == 0;
}

// The lines of one section: from the line after its header to the next header or the end.
struct SectionRange
{
    qsizetype header = -1;
    qsizetype end = -1;
};

SectionRange findSection(const QStringList &lines, const QString &section)
{
    SectionRange range;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (range.header < 0 && isSection(lines[i], section)) {
            range.header = i;
        } else if (range.header >= 0 && sectionName(lines[i])) {
            range.end = i;
            return range;
        }
    }
    range.end = lines.size();
    return range;
}

qsizetype findEntry(const QStringList &lines, SectionRange range, const QString &key)
{
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        if (isEntryOf(lines[i], key))
            return i;
    }
    return -1;
}

// A new entry goes after the section's last non-blank line, keeping blank lines before the next header.
qsizetype insertionPoint(const QStringList &lines, SectionRange range)
{
    qsizetype at = range.end;
    while (at > range.header + 1 && lines[at - 1].trimmed().isEmpty())
        --at;
    return at;
}

} // namespace

QStringList IniFile::lines() const
{
    try {
        return CodePage1252::readLines(m_path);
    } catch (const FileError &) {
        return {};
    }
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const QStringList content = lines();
    const SectionRange range = findSection(content, section);
    if (range.header < 0)
        return defaultValue;
    const qsizetype entry = findEntry(content, range, key);
    if (entry < 0)
        return defaultValue;
    const QString &line = content[entry];
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    QString singleLine = value;
    singleLine.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString entry = key + QLatin1Char('=') + singleLine;

    QStringList content = QFileInfo::exists(m_path) ? CodePage1252::readLines(m_path) : QStringList();
    const SectionRange range = findSection(content, section);
    if (range.header < 0) {
        content << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    } else if (const qsizetype existing = findEntry(content, range, key); existing >= 0) {
        content[existing] = entry;
    } else {
        content.insert(insertionPoint(content, range), entry);
    }
    CodePage1252::writeLines(m_path, content);
}

} // namespace kb
