// Compiles the help sources into the single help file the program reads:
//   kb_helpcompiler <manifest.xml> <kasse.hlp>
// The manifest holds the contents tree and each topic's number, title and keywords, and names
// the HTML fragment of each topic; the output carries the fragments inline (help/README.md).
// Every fault of the sources fails the build with file and line.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cstdio>

namespace {

struct Link
{
    QString file;
    int target;
};

class HelpCompiler
{
public:
    explicit HelpCompiler(const QString &manifestPath)
        : m_manifestPath(manifestPath), m_sourceDir(QFileInfo(manifestPath).absoluteDir()),
          m_out(&m_result)
    {
        m_out.setAutoFormatting(true);
    }

    // The compiled help file, or an empty array after reporting the faults.
    QByteArray compile();

private:
    void copyElement();
    void startTopic();
    QString readBody(const QString &fileName);
    void checkLinks(const QString &fileName, const QString &html);
    void checkReferences();
    void fail(const QString &message, const QString &file = {}, qint64 line = 0);

    QString m_manifestPath;
    QDir m_sourceDir;
    QXmlStreamReader m_in;
    QByteArray m_result;
    QXmlStreamWriter m_out;
    int m_contentsTopic = 0;
    QSet<int> m_topics;
    QList<Link> m_links;
    bool m_failed = false;
};

QByteArray HelpCompiler::compile()
{
    QFile manifest(m_manifestPath);
    if (!manifest.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot be read"));
        return {};
    }
    m_in.setDevice(&manifest);
    m_out.writeStartDocument();
    while (!m_in.atEnd()) {
        m_in.readNext();
        if (m_in.isStartElement())
            copyElement();
        else if (m_in.isEndElement())
            m_out.writeEndElement();
        else if (m_in.isCharacters() && !m_in.isWhitespace())
            fail(QStringLiteral("text outside a topic"), {}, m_in.lineNumber());
    }
    if (m_in.hasError())
        fail(m_in.errorString(), {}, m_in.lineNumber());
    m_out.writeEndDocument();
    checkReferences();
    return m_failed ? QByteArray() : m_result;
}

void HelpCompiler::copyElement()
{
    const QStringView name = m_in.name();
    if (name == u"topic") {
        startTopic();
        return;
    }
    if (name == u"help") {
        bool ok = false;
        m_contentsTopic = m_in.attributes().value(QLatin1StringView("contents")).toInt(&ok);
        if (!ok)
            fail(QStringLiteral("<help> needs the context number of the contents page in \"contents\""),
                 {}, m_in.lineNumber());
    } else if (name == u"book") {
        if (m_in.attributes().value(QLatin1StringView("title")).trimmed().isEmpty())
            fail(QStringLiteral("<book> without title"), {}, m_in.lineNumber());
    } else {
        fail(QStringLiteral("unknown element <%1>").arg(name), {}, m_in.lineNumber());
    }
    m_out.writeStartElement(name.toString());
    m_out.writeAttributes(m_in.attributes());
}

// A topic is written with its attributes but the file name, followed by its keywords and the
// body read from that file.
void HelpCompiler::startTopic()
{
    const QXmlStreamAttributes attributes = m_in.attributes();
    bool ok = false;
    const int number = attributes.value(QLatin1StringView("id")).toInt(&ok);
    if (!ok || number <= 0)
        fail(QStringLiteral("<topic> needs a positive context number in \"id\""), {}, m_in.lineNumber());
    else if (m_topics.contains(number))
        fail(QStringLiteral("context number %1 given twice").arg(number), {}, m_in.lineNumber());
    m_topics.insert(number);
    if (attributes.value(QLatin1StringView("title")).trimmed().isEmpty())
        fail(QStringLiteral("topic %1 without title").arg(number), {}, m_in.lineNumber());
    const QString body = readBody(attributes.value(QLatin1StringView("file")).toString());

    m_out.writeStartElement(QStringLiteral("topic"));
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.name() != u"file")
            m_out.writeAttribute(attribute);
    }
    while (m_in.readNextStartElement()) {
        if (m_in.name() != u"keyword") {
            fail(QStringLiteral("only <keyword> belongs inside <topic>"), {}, m_in.lineNumber());
            m_in.skipCurrentElement();
            continue;
        }
        const QString keyword = m_in.readElementText().trimmed();
        if (keyword.isEmpty())
            fail(QStringLiteral("empty keyword"), {}, m_in.lineNumber());
        m_out.writeTextElement(QStringLiteral("keyword"), keyword);
    }
    m_out.writeStartElement(QStringLiteral("body"));
    m_out.writeCDATA(body);
    m_out.writeEndElement();
    m_out.writeEndElement();
}

QString HelpCompiler::readBody(const QString &fileName)
{
    if (fileName.isEmpty()) {
        fail(QStringLiteral("<topic> needs its HTML fragment in \"file\""), {}, m_in.lineNumber());
        return {};
    }
    QFile file(m_sourceDir.filePath(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot be read"), file.fileName());
        return {};
    }
    const QString body = QString::fromUtf8(file.readAll()).trimmed();
    if (body.isEmpty())
        fail(QStringLiteral("topic without text"), file.fileName());
    if (body.contains(u"]]>"))
        fail(QStringLiteral("\"]]>\" cannot be carried"), file.fileName());
    checkLinks(file.fileName(), body);
    return body;
}

// Links stay inside the help: "topic:N", optionally with an anchor, or an anchor of the page.
void HelpCompiler::checkLinks(const QString &fileName, const QString &html)
{
    static const QRegularExpression href(QStringLiteral("href\\s*=\\s*\"([^\"]*)\""));
    static const QRegularExpression internal(QStringLiteral("^(?:topic:(\\d+))?(?:#[A-Za-z0-9_-]+)?$"));
    for (const QRegularExpressionMatch &match : href.globalMatch(html)) {
        const QString target = match.captured(1);
        const QRegularExpressionMatch link = internal.match(target);
        if (target.isEmpty() || !link.hasMatch())
            fail(QStringLiteral("link \"%1\" leads out of the help").arg(target), fileName);
        else if (link.hasCaptured(1))
            m_links.append({fileName, link.captured(1).toInt()});
    }
}

void HelpCompiler::checkReferences()
{
    if (m_contentsTopic > 0 && !m_topics.contains(m_contentsTopic))
        fail(QStringLiteral("the contents page %1 is no topic").arg(m_contentsTopic));
    for (const Link &link : m_links) {
        if (!m_topics.contains(link.target))
            fail(QStringLiteral("link to the missing topic %1").arg(link.target), link.file);
    }
}

void HelpCompiler::fail(const QString &message, const QString &file, qint64 line)
{
    m_failed = true;
    QString where = file.isEmpty() ? m_manifestPath : file;
    if (line > 0)
        where += QLatin1Char(':') + QString::number(line);
    QTextStream(stderr) << where << ": " << message << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: kb_helpcompiler <manifest.xml> <kasse.hlp>\n", stderr);
        return 2;
    }
    HelpCompiler compiler(QString::fromLocal8Bit(argv[1]));
    const QByteArray help = compiler.compile();
    if (help.isEmpty())
        return 1;
    QSaveFile output(QString::fromLocal8Bit(argv[2]));
    if (!output.open(QIODevice::WriteOnly) || output.write(help) != help.size() || !output.commit()) {
        QTextStream(stderr) << argv[2] << ": " << output.errorString() << Qt::endl;
        return 1;
    }
    return 0;
}
