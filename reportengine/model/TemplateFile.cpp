#include "TemplateFile.h"

#include <QFile>
#include <functional>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace kb::report {

namespace {

const QString RootElement = QStringLiteral("reportTemplate");

QString number(double value)
{
    return QString::number(value, 'g', 10);
}

QString alignName(HAlign a)
{
    switch (a) {
    case HAlign::Left: return QStringLiteral("left");
    case HAlign::Center: return QStringLiteral("center");
    case HAlign::Right: return QStringLiteral("right");
    }
    return {};
}

QString alignName(VAlign a)
{
    switch (a) {
    case VAlign::Top: return QStringLiteral("top");
    case VAlign::Middle: return QStringLiteral("middle");
    case VAlign::Bottom: return QStringLiteral("bottom");
    }
    return {};
}

QString kindName(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Text: return QStringLiteral("text");
    case ObjectKind::Line: return QStringLiteral("line");
    case ObjectKind::Rectangle: return QStringLiteral("rect");
    case ObjectKind::Picture: return QStringLiteral("picture");
    }
    return {};
}

// ---- writing

class Writer
{
public:
    explicit Writer(QByteArray *out) : m_xml(out) { m_xml.setAutoFormatting(true); m_xml.setAutoFormattingIndent(1); }

    void write(const ReportTemplate &r)
    {
        m_xml.writeStartDocument();
        m_xml.writeStartElement(RootElement);
        m_xml.writeAttribute(QStringLiteral("formatVersion"), QString::number(ReportTemplate::FormatVersion));
        text(QStringLiteral("name"), r.name, {});
        writePage(r.page);
        band(QStringLiteral("pageHeader"), r.pageHeader, [&] {
            if (!r.pageHeaderOnFirstPage)
                m_xml.writeAttribute(QStringLiteral("onFirstPage"), QStringLiteral("false"));
        });
        band(QStringLiteral("title"), r.title);
        band(QStringLiteral("columnHeader"), r.columnHeader);
        band(QStringLiteral("broughtForward"), r.broughtForward);
        for (const DataSection &section : r.data)
            writeSection(section);
        band(QStringLiteral("summary"), r.summary);
        band(QStringLiteral("carriedForward"), r.carriedForward);
        band(QStringLiteral("pageFooter"), r.pageFooter);
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

private:
    void text(const QString &name, const QString &value, const QString &defaultValue)
    {
        if (value != defaultValue)
            m_xml.writeAttribute(name, value);
    }
    void num(const QString &name, double value, double defaultValue)
    {
        if (value != defaultValue)
            m_xml.writeAttribute(name, number(value));
    }
    void flag(const QString &name, bool value, bool defaultValue = false)
    {
        if (value != defaultValue)
            m_xml.writeAttribute(name, value ? QStringLiteral("true") : QStringLiteral("false"));
    }
    void color(const QString &name, const QColor &value, const QColor &defaultValue)
    {
        if (value != defaultValue && value.isValid())
            m_xml.writeAttribute(name, value.name());
    }

    void writePage(const PageSetup &p)
    {
        const PageSetup d;
        if (p == d)
            return;
        m_xml.writeStartElement(QStringLiteral("page"));
        num(QStringLiteral("width"), p.width, d.width);
        num(QStringLiteral("height"), p.height, d.height);
        num(QStringLiteral("marginLeft"), p.marginLeft, d.marginLeft);
        num(QStringLiteral("marginTop"), p.marginTop, d.marginTop);
        num(QStringLiteral("marginRight"), p.marginRight, d.marginRight);
        num(QStringLiteral("marginBottom"), p.marginBottom, d.marginBottom);
        m_xml.writeEndElement();
    }

    void band(const QString &element, const std::optional<Band> &b, const std::function<void()> &extra = {})
    {
        if (b)
            writeBand(element, *b, extra);
    }

    void writeBand(const QString &element, const Band &b, const std::function<void()> &extra = {})
    {
        m_xml.writeStartElement(element);
        num(QStringLiteral("height"), b.height, Band().height);
        if (extra)
            extra();
        for (const ReportObject &o : b.objects)
            writeObject(o);
        m_xml.writeEndElement();
    }

    void writeSection(const DataSection &s)
    {
        m_xml.writeStartElement(QStringLiteral("data"));
        text(QStringLiteral("dataset"), s.dataset, {});
        for (const Group &g : s.groups) {
            m_xml.writeStartElement(QStringLiteral("group"));
            m_xml.writeAttribute(QStringLiteral("condition"), g.condition);
            flag(QStringLiteral("keepTogether"), g.keepTogether);
            flag(QStringLiteral("startNewPage"), g.startNewPage);
            band(QStringLiteral("header"), g.header);
            band(QStringLiteral("footer"), g.footer);
            m_xml.writeEndElement();
        }
        writeBand(QStringLiteral("detail"), s.detail);
        m_xml.writeEndElement();
    }

    void writeObject(const ReportObject &o)
    {
        const ReportObject d;
        m_xml.writeStartElement(kindName(o.kind));
        text(QStringLiteral("name"), o.name, {});
        m_xml.writeAttribute(QStringLiteral("x"), number(o.geometry.x()));
        m_xml.writeAttribute(QStringLiteral("y"), number(o.geometry.y()));
        m_xml.writeAttribute(QStringLiteral("width"), number(o.geometry.width()));
        m_xml.writeAttribute(QStringLiteral("height"), number(o.geometry.height()));
        text(QStringLiteral("format"), o.format, {});
        text(QStringLiteral("font"), o.font.family, d.font.family);
        num(QStringLiteral("size"), o.font.size, d.font.size);
        flag(QStringLiteral("bold"), o.font.bold);
        flag(QStringLiteral("italic"), o.font.italic);
        flag(QStringLiteral("underline"), o.font.underline);
        color(QStringLiteral("color"), o.color, d.color);
        color(QStringLiteral("fill"), o.fill, d.fill);
        text(QStringLiteral("align"), alignName(o.hAlign), alignName(d.hAlign));
        text(QStringLiteral("valign"), alignName(o.vAlign), alignName(d.vAlign));
        flag(QStringLiteral("wordWrap"), o.wordWrap);
        flag(QStringLiteral("stretch"), o.stretch);
        writeFrame(o.frame);
        num(QStringLiteral("lineWidth"), o.lineWidth, d.lineWidth);
        text(QStringLiteral("type"), o.pictureType, {});
        if (o.kind == ObjectKind::Text)
            m_xml.writeCharacters(o.text);
        else if (o.kind == ObjectKind::Picture)
            m_xml.writeCharacters(QString::fromLatin1(o.picture.toBase64()));
        m_xml.writeEndElement();
    }

    void writeFrame(const Frame &f)
    {
        const Frame d;
        QString sides;
        if (f.left) sides += QLatin1Char('l');
        if (f.top) sides += QLatin1Char('t');
        if (f.right) sides += QLatin1Char('r');
        if (f.bottom) sides += QLatin1Char('b');
        text(QStringLiteral("frame"), sides, {});
        if (!f.any())
            return;
        num(QStringLiteral("frameWidth"), f.width, d.width);
        color(QStringLiteral("frameColor"), f.color, d.color);
    }

    QXmlStreamWriter m_xml;
};

// ---- reading

class Reader
{
public:
    explicit Reader(const QByteArray &xml) : m_xml(xml) {}

    ReportTemplate read()
    {
        if (!m_xml.readNextStartElement() || m_xml.name() != RootElement)
            throw UnsupportedFormat();
        bool ok = false;
        const int version = attr(QStringLiteral("formatVersion")).toInt(&ok);
        if (!ok || version < 1 || version > ReportTemplate::FormatVersion)
            throw UnsupportedFormat();
        ReportTemplate r;
        r.name = attr(QStringLiteral("name"));
        while (m_xml.readNextStartElement()) {
            const auto name = m_xml.name();
            if (name == u"page")
                r.page = readPage();
            else if (name == u"pageHeader") {
                r.pageHeaderOnFirstPage = boolean(QStringLiteral("onFirstPage"), true);
                r.pageHeader = readBand();
            } else if (name == u"title")
                r.title = readBand();
            else if (name == u"columnHeader")
                r.columnHeader = readBand();
            else if (name == u"broughtForward")
                r.broughtForward = readBand();
            else if (name == u"data")
                r.data.push_back(readSection());
            else if (name == u"summary")
                r.summary = readBand();
            else if (name == u"carriedForward")
                r.carriedForward = readBand();
            else if (name == u"pageFooter")
                r.pageFooter = readBand();
            else
                throw UnsupportedFormat();
        }
        if (m_xml.hasError())
            throw UnsupportedFormat();
        return r;
    }

private:
    QString attr(const QString &name) const { return m_xml.attributes().value(name).toString(); }

    double num(const QString &name, double defaultValue) const
    {
        if (!m_xml.attributes().hasAttribute(name))
            return defaultValue;
        bool ok = false;
        const double value = attr(name).toDouble(&ok);
        if (!ok)
            throw UnsupportedFormat();
        return value;
    }

    bool boolean(const QString &name, bool defaultValue) const
    {
        if (!m_xml.attributes().hasAttribute(name))
            return defaultValue;
        return attr(name) == QLatin1String("true");
    }

    QColor color(const QString &name, const QColor &defaultValue) const
    {
        if (!m_xml.attributes().hasAttribute(name))
            return defaultValue;
        const QColor c = QColor::fromString(attr(name));
        if (!c.isValid())
            throw UnsupportedFormat();
        return c;
    }

    PageSetup readPage()
    {
        PageSetup p;
        p.width = num(QStringLiteral("width"), p.width);
        p.height = num(QStringLiteral("height"), p.height);
        p.marginLeft = num(QStringLiteral("marginLeft"), p.marginLeft);
        p.marginTop = num(QStringLiteral("marginTop"), p.marginTop);
        p.marginRight = num(QStringLiteral("marginRight"), p.marginRight);
        p.marginBottom = num(QStringLiteral("marginBottom"), p.marginBottom);
        if (p.width <= 0 || p.height <= 0)
            throw UnsupportedFormat();
        m_xml.skipCurrentElement();
        return p;
    }

    Band readBand()
    {
        Band b;
        b.height = num(QStringLiteral("height"), b.height);
        while (m_xml.readNextStartElement())
            b.objects.push_back(readObject());
        return b;
    }

    DataSection readSection()
    {
        DataSection s;
        s.dataset = attr(QStringLiteral("dataset"));
        bool detail = false;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"group") {
                s.groups.push_back(readGroup());
            } else if (m_xml.name() == u"detail") {
                s.detail = readBand();
                detail = true;
            } else {
                throw UnsupportedFormat();
            }
        }
        if (!detail)
            throw UnsupportedFormat();
        return s;
    }

    Group readGroup()
    {
        Group g;
        g.condition = attr(QStringLiteral("condition"));
        g.keepTogether = boolean(QStringLiteral("keepTogether"), false);
        g.startNewPage = boolean(QStringLiteral("startNewPage"), false);
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"header")
                g.header = readBand();
            else if (m_xml.name() == u"footer")
                g.footer = readBand();
            else
                throw UnsupportedFormat();
        }
        return g;
    }

    ReportObject readObject()
    {
        ReportObject o;
        const auto element = m_xml.name();
        if (element == u"text")
            o.kind = ObjectKind::Text;
        else if (element == u"line")
            o.kind = ObjectKind::Line;
        else if (element == u"rect")
            o.kind = ObjectKind::Rectangle;
        else if (element == u"picture")
            o.kind = ObjectKind::Picture;
        else
            throw UnsupportedFormat();
        o.name = attr(QStringLiteral("name"));
        o.geometry = QRectF(num(QStringLiteral("x"), 0), num(QStringLiteral("y"), 0),
                            num(QStringLiteral("width"), 0), num(QStringLiteral("height"), 0));
        o.format = attr(QStringLiteral("format"));
        if (m_xml.attributes().hasAttribute(QStringLiteral("font")))
            o.font.family = attr(QStringLiteral("font"));
        o.font.size = num(QStringLiteral("size"), o.font.size);
        o.font.bold = boolean(QStringLiteral("bold"), false);
        o.font.italic = boolean(QStringLiteral("italic"), false);
        o.font.underline = boolean(QStringLiteral("underline"), false);
        o.color = color(QStringLiteral("color"), o.color);
        o.fill = color(QStringLiteral("fill"), o.fill);
        const QString align = attr(QStringLiteral("align"));
        o.hAlign = align == QLatin1String("right") ? HAlign::Right
                   : align == QLatin1String("center") ? HAlign::Center : HAlign::Left;
        const QString valign = attr(QStringLiteral("valign"));
        o.vAlign = valign == QLatin1String("bottom") ? VAlign::Bottom
                   : valign == QLatin1String("middle") ? VAlign::Middle : VAlign::Top;
        o.wordWrap = boolean(QStringLiteral("wordWrap"), false);
        o.stretch = boolean(QStringLiteral("stretch"), false);
        const QString sides = attr(QStringLiteral("frame"));
        o.frame.left = sides.contains(QLatin1Char('l'));
        o.frame.top = sides.contains(QLatin1Char('t'));
        o.frame.right = sides.contains(QLatin1Char('r'));
        o.frame.bottom = sides.contains(QLatin1Char('b'));
        o.frame.width = num(QStringLiteral("frameWidth"), o.frame.width);
        o.frame.color = color(QStringLiteral("frameColor"), o.frame.color);
        o.lineWidth = num(QStringLiteral("lineWidth"), o.lineWidth);
        o.pictureType = attr(QStringLiteral("type"));
        const QString content = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (o.kind == ObjectKind::Text)
            o.text = content;
        else if (o.kind == ObjectKind::Picture)
            o.picture = QByteArray::fromBase64(content.trimmed().toLatin1());
        return o;
    }

    QXmlStreamReader m_xml;
};

} // namespace

ReportTemplate TemplateFile::fromXml(const QByteArray &xml)
{
    return Reader(xml).read();
}

QByteArray TemplateFile::toXml(const ReportTemplate &report)
{
    QByteArray out;
    Writer(&out).write(report);
    return out;
}

ReportTemplate TemplateFile::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError::cannotOpen(path);
    return fromXml(file.readAll());
}

void TemplateFile::save(const ReportTemplate &report, const QString &path)
{
    // Unbuffered, so that a short write (disk full, file size limit) shows in write()'s result:
    // a buffered one is lost at commit, which then renames the truncated file into place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileError::cannotCreate(path);
    const QByteArray xml = toXml(report);
    if (file.write(xml) != xml.size()) {
        file.cancelWriting();
        throw FileError::cannotCreate(path);
    }
    if (!file.commit())
        throw FileError::cannotCreate(path);
}

} // namespace kb::report
