#include "FrpFile.h"

#include "Errors.h"
#include "PageLines.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>

namespace kb::report {

namespace {

const QByteArray Magic("KBFRP\r\n\x1a", 8);

void writeStyle(QDataStream &out, const Style &s)
{
    out << s.font.family << s.font.size << s.font.bold << s.font.italic << s.font.underline << s.color << s.fill
        << quint8(s.hAlign) << quint8(s.vAlign) << s.wordWrap << s.frame.left << s.frame.top << s.frame.right
        << s.frame.bottom << s.frame.width << s.frame.color << s.lineWidth;
}

Style readStyle(QDataStream &in)
{
    Style s;
    quint8 h = 0, v = 0;
    in >> s.font.family >> s.font.size >> s.font.bold >> s.font.italic >> s.font.underline >> s.color >> s.fill >> h >> v
        >> s.wordWrap >> s.frame.left >> s.frame.top >> s.frame.right >> s.frame.bottom >> s.frame.width >> s.frame.color
        >> s.lineWidth;
    s.hAlign = HAlign(h);
    s.vAlign = VAlign(v);
    return s;
}

[[noreturn]] void unsupported()
{
    throw Error(QStringLiteral("Unsupported FRP format"));
}

} // namespace

void FrpFile::save(const PreparedReport &report, const QString &path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    buffer.write(Magic);
    QDataStream out(&buffer);
    out.setVersion(QDataStream::Qt_6_4);
    out << Version << quint32(report.styles.size());
    for (const Style &s : report.styles)
        writeStyle(out, s);
    out << report.tags << quint32(report.pictures.size());
    for (const Picture &p : report.pictures)
        out << p.type << p.data;
    out << quint32(report.pages.size());
    for (const PreparedPage &page : report.pages) {
        out << page.width << page.height << quint32(page.items.size());
        for (const Primitive &p : page.items)
            out << quint8(p.kind) << quint8(p.band) << p.style << p.tag << p.row << p.picture << p.x << p.y << p.width
                << p.height << p.text << p.raw;
    }
    writeFile(path, bytes);
}

PreparedReport FrpFile::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError::cannotOpen(path);
    if (file.read(Magic.size()) != Magic)
        unsupported();
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 version = 0, count = 0;
    in >> version;
    if (version != Version)
        unsupported();
    PreparedReport report;
    in >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i)
        report.styles.push_back(readStyle(in));
    in >> report.tags >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        Picture p;
        in >> p.type >> p.data;
        report.pictures.push_back(p);
    }
    in >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        PreparedPage page;
        quint32 items = 0;
        in >> page.width >> page.height >> items;
        for (quint32 k = 0; k < items && in.status() == QDataStream::Ok; ++k) {
            Primitive p;
            quint8 kind = 0, band = 0;
            in >> kind >> band >> p.style >> p.tag >> p.row >> p.picture >> p.x >> p.y >> p.width >> p.height >> p.text >> p.raw;
            p.kind = ObjectKind(kind);
            p.band = BandKind(band);
            if (p.style < 0 || size_t(p.style) >= report.styles.size() || p.tag >= report.tags.size())
                unsupported();
            page.items.push_back(std::move(p));
        }
        report.pages.push_back(std::move(page));
    }
    if (in.status() != QDataStream::Ok)
        unsupported();
    return report;
}

} // namespace kb::report
