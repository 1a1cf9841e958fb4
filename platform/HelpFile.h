#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

class QXmlStreamReader;

namespace kb {

struct HelpTopic
{
    int contextNumber = 0;
    QString title;
    QStringList keywords;
    QString html;   // the body, without the title heading
};

// One line of the contents tree: a topic, or a book (contextNumber 0) that only groups.
struct HelpContentsNode
{
    QString title;
    int contextNumber = 0;
    std::vector<HelpContentsNode> children;
};

struct HelpIndexEntry
{
    QString keyword;
    QList<int> topics;   // context numbers, in contents order
};

// The help file kasse.hlp: topics addressed by context number, the contents tree and the
// keyword index. The format is described in help/README.md.
class HelpFile
{
public:
    // Nothing when the file is missing, unreadable or not a well-formed help file.
    static std::optional<HelpFile> read(const QString &path);
    static std::optional<HelpFile> parse(const QByteArray &xml);

    int contentsTopic() const { return m_contentsTopic; }
    const HelpTopic *topic(int contextNumber) const;
    const std::vector<HelpContentsNode> &contents() const { return m_contents; }
    // Sorted alphabetically in German order; keywords that differ only in case are one entry.
    const std::vector<HelpIndexEntry> &index() const { return m_index; }

    // The one topic a keyword search for word leads to, or 0 when the user must choose:
    // an index entry equal to word (ignoring case) decides alone; otherwise the entries that
    // begin with word must all lead to the same single topic.
    int bestTopicFor(const QString &word) const;

private:
    HelpFile() = default;
    bool readNodes(QXmlStreamReader &xml, std::vector<HelpContentsNode> &nodes);
    bool readTopic(QXmlStreamReader &xml, HelpContentsNode &node);
    void buildIndex();

    int m_contentsTopic = 0;
    std::map<int, HelpTopic> m_topics;
    std::vector<int> m_order;   // context numbers in contents order
    std::vector<HelpContentsNode> m_contents;
    std::vector<HelpIndexEntry> m_index;
};

} // namespace kb
