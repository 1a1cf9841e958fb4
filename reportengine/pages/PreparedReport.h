#pragma once

#include "ReportTemplate.h"
#include "Value.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace kb::report {

// The band an item of a prepared page came from.
enum class BandKind : quint8 {
    PageHeader, Title, ColumnHeader, BroughtForward, GroupHeader, Detail, GroupFooter, Summary,
    CarriedForward, PageFooter
};

// How an item is drawn; shared by every item that looks alike.
struct Style
{
    TextFont font;
    QColor color = Qt::black;
    QColor fill;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    bool wordWrap = false;
    Frame frame;
    double lineWidth = 0.2;
    bool operator==(const Style &) const = default;
};

// One positioned item of a prepared page (millimetres from the page's top left), tagged with the
// band, the data row (-1 outside detail bands), the object's tag name and the raw value, so that
// data exports keep numbers as numbers.
struct Primitive
{
    ObjectKind kind = ObjectKind::Text;
    BandKind band = BandKind::Detail;
    qint32 style = 0;
    qint32 tag = -1;     // index into PreparedReport::tags
    qint32 row = -1;
    qint32 picture = -1; // index into PreparedReport::pictures
    float x = 0, y = 0, width = 0, height = 0;
    QString text;
    Value raw;
    bool operator==(const Primitive &) const = default;
};

struct PreparedPage
{
    double width = 210.0;
    double height = 297.0;
    std::vector<Primitive> items;
    bool operator==(const PreparedPage &) const = default;
};

struct Picture
{
    QString type; // "png" or "svg"
    QByteArray data;
    bool operator==(const Picture &) const = default;
};

// The finished report: pages of primitives, ready for every output.
class PreparedReport
{
public:
    std::vector<PreparedPage> pages;
    std::vector<Style> styles;
    QStringList tags;
    std::vector<Picture> pictures;

    int pageCount() const { return int(pages.size()); }
    bool isEmpty() const { return pages.empty(); }
    int styleIndex(const Style &style);
    int tagIndex(const QString &tag);
    const Style &styleOf(const Primitive &p) const { return styles.at(size_t(p.style)); }
    QString tagOf(const Primitive &p) const { return p.tag < 0 ? QString() : tags.at(p.tag); }

    bool operator==(const PreparedReport &) const = default;
};

} // namespace kb::report
