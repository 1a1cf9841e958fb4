#pragma once

#include <QByteArray>
#include <QColor>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

namespace kb::report {

// Every length of a template is in millimetres, every position relative to its band's top left.

enum class ObjectKind { Text, Line, Rectangle, Picture };
enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom };

struct TextFont
{
    QString family = QStringLiteral("DejaVu Sans");
    double size = 9.0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const TextFont &) const = default;
};

// Which sides of an object's box get a line.
struct Frame
{
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
    double width = 0.2;
    QColor color = Qt::black;
    bool any() const { return left || top || right || bottom; }
    bool operator==(const Frame &) const = default;
};

// One object of a band. Text holds literal text with embedded expressions in square brackets
// ("Seite [PAGE] von [PAGES]"); "[[" stands for a literal "[". format applies to a text that is a
// single expression (see docs/report-templates.md for the forms).
struct ReportObject
{
    ObjectKind kind = ObjectKind::Text;
    QString name;
    QRectF geometry;
    QString text;
    QString format;
    TextFont font;
    QColor color = Qt::black;
    QColor fill; // invalid: transparent
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    bool wordWrap = false;
    bool stretch = false; // grows the band when the wrapped text needs more height
    Frame frame;
    double lineWidth = 0.2; // lines and rectangles
    QString pictureType;    // "png" or "svg"
    QByteArray picture;
    bool operator==(const ReportObject &) const = default;
};

struct Band
{
    double height = 5.0;
    std::vector<ReportObject> objects;
    bool operator==(const Band &) const = default;
};

// A group level: its header prints whenever condition changes its value from one row to the
// next, its footer before the next header and at the end of the rows.
struct Group
{
    QString condition;
    bool keepTogether = false; // moves a group that would be split to the next page
    bool startNewPage = false;
    std::optional<Band> header;
    std::optional<Band> footer;
    bool operator==(const Group &) const = default;
};

// The rows of one dataset; without a dataset name the report's main dataset.
struct DataSection
{
    QString dataset;
    std::vector<Group> groups; // outermost first
    Band detail;
    bool operator==(const DataSection &) const = default;
};

struct PageSetup
{
    double width = 210.0;
    double height = 297.0;
    double marginLeft = 15.0;
    double marginTop = 12.0;
    double marginRight = 12.0;
    double marginBottom = 12.0;
    bool landscape() const { return width > height; }
    bool operator==(const PageSetup &) const = default;
};

// A whole banded report as the designer edits it and the file stores it.
struct ReportTemplate
{
    static constexpr int FormatVersion = 1;

    QString name;
    PageSetup page;
    std::optional<Band> title;          // first page, below the page header
    std::optional<Band> pageHeader;
    bool pageHeaderOnFirstPage = true;
    std::optional<Band> columnHeader;   // every page, above the rows
    std::optional<Band> broughtForward; // top of every page but the first
    std::vector<DataSection> data;
    std::optional<Band> summary;
    std::optional<Band> carriedForward; // bottom of every page but the last
    std::optional<Band> pageFooter;     // bottom of every page; its space is reserved first

    bool isEmpty() const
    {
        return !title && !pageHeader && !columnHeader && !broughtForward && data.empty() && !summary
               && !carriedForward && !pageFooter;
    }
    bool operator==(const ReportTemplate &) const = default;
};

} // namespace kb::report
