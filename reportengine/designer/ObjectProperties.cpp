#include "ObjectProperties.h"

namespace kb::report {

namespace {

// A property over one plain member.
template <typename T>
ObjectProperty member(const QString &name, ObjectProperty::Type type, T ReportObject::*field)
{
    return {name, type, {}, [field](const ReportObject &o) { return QVariant::fromValue(o.*field); },
            [field](ReportObject &o, const QVariant &v) { o.*field = v.value<T>(); }};
}

ObjectProperty geometry(const QString &name, qreal (QRectF::*get)() const, void (QRectF::*set)(qreal))
{
    return {name, ObjectProperty::Number, {}, [get](const ReportObject &o) { return QVariant((o.geometry.*get)()); },
            [set](ReportObject &o, const QVariant &v) { (o.geometry.*set)(v.toDouble()); }};
}

template <typename T>
ObjectProperty fontMember(const QString &name, ObjectProperty::Type type, T TextFont::*field)
{
    return {name, type, {}, [field](const ReportObject &o) { return QVariant::fromValue(o.font.*field); },
            [field](ReportObject &o, const QVariant &v) { o.font.*field = v.value<T>(); }};
}

ObjectProperty frameSide(const QString &name, bool Frame::*side)
{
    return {name, ObjectProperty::Bool, {}, [side](const ReportObject &o) { return QVariant(o.frame.*side); },
            [side](ReportObject &o, const QVariant &v) { o.frame.*side = v.toBool(); }};
}

template <typename E>
ObjectProperty choice(const QString &name, const QStringList &choices, E ReportObject::*field)
{
    return {name, ObjectProperty::Choice, choices, [field](const ReportObject &o) { return QVariant(int(o.*field)); },
            [field](ReportObject &o, const QVariant &v) { o.*field = E(v.toInt()); }};
}

} // namespace

const std::vector<ObjectProperty> &ObjectProperties::all()
{
    static const std::vector<ObjectProperty> properties = {
        member(QStringLiteral("Name"), ObjectProperty::Text, &ReportObject::name),
        geometry(QStringLiteral("Left"), &QRectF::left, &QRectF::moveLeft),
        geometry(QStringLiteral("Top"), &QRectF::top, &QRectF::moveTop),
        geometry(QStringLiteral("Width"), &QRectF::width, &QRectF::setWidth),
        geometry(QStringLiteral("Height"), &QRectF::height, &QRectF::setHeight),
        member(QStringLiteral("Text"), ObjectProperty::Text, &ReportObject::text),
        member(QStringLiteral("Format"), ObjectProperty::Text, &ReportObject::format),
        fontMember(QStringLiteral("Font"), ObjectProperty::Text, &TextFont::family),
        fontMember(QStringLiteral("Font size"), ObjectProperty::Number, &TextFont::size),
        fontMember(QStringLiteral("Bold"), ObjectProperty::Bool, &TextFont::bold),
        fontMember(QStringLiteral("Italic"), ObjectProperty::Bool, &TextFont::italic),
        fontMember(QStringLiteral("Underline"), ObjectProperty::Bool, &TextFont::underline),
        choice(QStringLiteral("Horizontal alignment"), {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")},
               &ReportObject::hAlign),
        choice(QStringLiteral("Vertical alignment"), {QStringLiteral("Top"), QStringLiteral("Middle"), QStringLiteral("Bottom")},
               &ReportObject::vAlign),
        member(QStringLiteral("Word wrap"), ObjectProperty::Bool, &ReportObject::wordWrap),
        member(QStringLiteral("Stretch"), ObjectProperty::Bool, &ReportObject::stretch),
        member(QStringLiteral("Color"), ObjectProperty::Color, &ReportObject::color),
        member(QStringLiteral("Fill"), ObjectProperty::Color, &ReportObject::fill),
        frameSide(QStringLiteral("Frame left"), &Frame::left),
        frameSide(QStringLiteral("Frame top"), &Frame::top),
        frameSide(QStringLiteral("Frame right"), &Frame::right),
        frameSide(QStringLiteral("Frame bottom"), &Frame::bottom),
        member(QStringLiteral("Line width"), ObjectProperty::Number, &ReportObject::lineWidth),
    };
    return properties;
}

const ObjectProperty *ObjectProperties::find(const QString &name)
{
    for (const ObjectProperty &property : all()) {
        if (property.name == name)
            return &property;
    }
    return nullptr;
}

QString ObjectProperties::kindName(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Text: return QStringLiteral("Text");
    case ObjectKind::Line: return QStringLiteral("Line");
    case ObjectKind::Rectangle: return QStringLiteral("Rectangle");
    case ObjectKind::Picture: return QStringLiteral("Picture");
    }
    return {};
}

} // namespace kb::report
