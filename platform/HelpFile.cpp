#include "HelpFile.h"

#include <QCollator>
#include <QFile>
#include <QLocale>
#include <QXmlStreamReader>

#include <algorithm>

namespace kb {

std::optional<HelpFile> HelpFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(file.readAll());
}

std::optional<HelpFile> HelpFile::parse(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != u"help")
        return std::nullopt;
    HelpFile help;
    bool ok = false;
    help.m_contentsTopic = reader.attributes().value(QLatin1StringView("contents")).toInt(&ok);
    if (!ok || !help.readNodes(reader, help.m_contents) || !help.topic(help.m_contentsTopic))
        return std::nullopt;
    help.buildIndex();
    return help;
}

const HelpTopic *HelpFile::topic(int contextNumber) const
{
    const auto found = m_topics.find(contextNumber);
    return found == m_topics.end() ? nullptr : &found->second;
}

int HelpFile::bestTopicFor(const QString &word) const
{
    const QString wanted = word.trimmed();
    if (wanted.isEmpty())
        return 0;
    QList<int> leadTo;
    for (const HelpIndexEntry &entry : m_index) {
        if (entry.keyword.compare(wanted, Qt::CaseInsensitive) == 0)
            return entry.topics.size() == 1 ? entry.topics.first() : 0;
        if (entry.keyword.startsWith(wanted, Qt::CaseInsensitive)) {
            for (int number : entry.topics) {
                if (!leadTo.contains(number))
                    leadTo << number;
            }
        }
    }
    return leadTo.size() == 1 ? leadTo.first() : 0;
}

// Reads the books and topics inside the current element up to its end; unknown elements are
// skipped so that later additions to the format do not break older readers.
bool HelpFile::readNodes(QXmlStreamReader &xml, std::vector<HelpContentsNode> &nodes)
{
    while (xml.readNextStartElement()) {
        HelpContentsNode node;
        node.title = xml.attributes().value(QLatin1StringView("title")).toString();
        if (xml.name() == u"book") {
            if (!readNodes(xml, node.children))
                return false;
        } else if (xml.name() == u"topic") {
            if (!readTopic(xml, node))
                return false;
        } else {
            xml.skipCurrentElement();
            continue;
        }
        nodes.push_back(std::move(node));
    }
    return !xml.hasError();
}

bool HelpFile::readTopic(QXmlStreamReader &xml, HelpContentsNode &node)
{
    HelpTopic topic;
    bool ok = false;
    topic.contextNumber = xml.attributes().value(QLatin1StringView("id")).toInt(&ok);
    if (!ok || topic.contextNumber <= 0 || m_topics.count(topic.contextNumber) > 0)
        return false;
    topic.title = node.title;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"keyword") {
            const QString keyword = xml.readElementText().trimmed();
            if (!keyword.isEmpty())
                topic.keywords << keyword;
        } else if (xml.name() == u"body") {
            topic.html = xml.readElementText();
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return false;
    node.contextNumber = topic.contextNumber;
    m_order.push_back(topic.contextNumber);
    m_topics.emplace(topic.contextNumber, std::move(topic));
    return true;
}

void HelpFile::buildIndex()
{
    std::map<QString, HelpIndexEntry> byFoldedKeyword;
    for (int number : m_order) {
        for (const QString &keyword : m_topics.at(number).keywords) {
            HelpIndexEntry &entry = byFoldedKeyword[keyword.toCaseFolded()];
            if (entry.keyword.isEmpty())
                entry.keyword = keyword;
            if (!entry.topics.contains(number))
                entry.topics << number;
        }
    }
    for (auto &[folded, entry] : byFoldedKeyword)
        m_index.push_back(std::move(entry));

    QCollator german{QLocale(QLocale::German, QLocale::Germany)};
    german.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(m_index.begin(), m_index.end(),
                     [&german](const HelpIndexEntry &a, const HelpIndexEntry &b) {
                         return german.compare(a.keyword, b.keyword) < 0;
                     });
}

} // namespace kb
