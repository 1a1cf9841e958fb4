#include "DesignerDocument.h"

#include "TemplateChange.h"

#include <algorithm>

namespace kb::report {

DesignerDocument::DesignerDocument(ReportTemplate &edited, QObject *parent) : QObject(parent), m_template(edited)
{
}

std::vector<BandRef> DesignerDocument::bands() const
{
    std::vector<BandRef> refs;
    const auto add = [&](const std::optional<Band> &band, BandRef::Slot slot) {
        if (band)
            refs.push_back({slot});
    };
    add(m_template.pageHeader, BandRef::PageHeader);
    add(m_template.title, BandRef::Title);
    add(m_template.columnHeader, BandRef::ColumnHeader);
    add(m_template.broughtForward, BandRef::BroughtForward);
    for (int s = 0; s < int(m_template.data.size()); ++s) {
        const DataSection &section = m_template.data[s];
        for (int g = 0; g < int(section.groups.size()); ++g) {
            if (section.groups[g].header)
                refs.push_back({BandRef::GroupHeader, s, g});
        }
        refs.push_back({BandRef::Detail, s});
        for (int g = int(section.groups.size()) - 1; g >= 0; --g) {
            if (section.groups[g].footer)
                refs.push_back({BandRef::GroupFooter, s, g});
        }
    }
    add(m_template.summary, BandRef::Summary);
    add(m_template.carriedForward, BandRef::CarriedForward);
    add(m_template.pageFooter, BandRef::PageFooter);
    return refs;
}

const Band *DesignerDocument::band(const BandRef &ref) const
{
    return const_cast<DesignerDocument *>(this)->band(ref);
}

Band *DesignerDocument::band(const BandRef &ref)
{
    const auto optional = [](std::optional<Band> &band) { return band ? &*band : nullptr; };
    const auto group = [&]() -> Group * {
        if (ref.section < 0 || ref.section >= int(m_template.data.size()))
            return nullptr;
        auto &groups = m_template.data[ref.section].groups;
        return ref.group >= 0 && ref.group < int(groups.size()) ? &groups[ref.group] : nullptr;
    };
    switch (ref.slot) {
    case BandRef::Title: return optional(m_template.title);
    case BandRef::PageHeader: return optional(m_template.pageHeader);
    case BandRef::ColumnHeader: return optional(m_template.columnHeader);
    case BandRef::BroughtForward: return optional(m_template.broughtForward);
    case BandRef::GroupHeader: return group() ? optional(group()->header) : nullptr;
    case BandRef::GroupFooter: return group() ? optional(group()->footer) : nullptr;
    case BandRef::Detail:
        return ref.section >= 0 && ref.section < int(m_template.data.size()) ? &m_template.data[ref.section].detail : nullptr;
    case BandRef::Summary: return optional(m_template.summary);
    case BandRef::CarriedForward: return optional(m_template.carriedForward);
    case BandRef::PageFooter: return optional(m_template.pageFooter);
    }
    return nullptr;
}

QString DesignerDocument::bandName(const BandRef &ref) const
{
    const QString section = m_template.data.size() > 1 ? QStringLiteral(" %1").arg(ref.section + 1) : QString();
    switch (ref.slot) {
    case BandRef::Title: return QStringLiteral("Title");
    case BandRef::PageHeader: return QStringLiteral("Page header");
    case BandRef::ColumnHeader: return QStringLiteral("Column header");
    case BandRef::BroughtForward: return QStringLiteral("Brought forward");
    case BandRef::GroupHeader: return QStringLiteral("Group header %1").arg(ref.group + 1) + section;
    case BandRef::Detail: return QStringLiteral("Detail") + section;
    case BandRef::GroupFooter: return QStringLiteral("Group footer %1").arg(ref.group + 1) + section;
    case BandRef::Summary: return QStringLiteral("Summary");
    case BandRef::CarriedForward: return QStringLiteral("Carried forward");
    case BandRef::PageFooter: return QStringLiteral("Page footer");
    }
    return {};
}

ReportObject *DesignerDocument::object(const ObjectRef &ref)
{
    Band *owner = band(ref.band);
    return owner && ref.index >= 0 && ref.index < int(owner->objects.size()) ? &owner->objects[ref.index] : nullptr;
}

bool DesignerDocument::contains(const ObjectRef &ref) const
{
    return const_cast<DesignerDocument *>(this)->object(ref) != nullptr;
}

void DesignerDocument::change(const QString &text, const std::function<void()> &apply)
{
    ReportTemplate before = m_template;
    apply();
    if (m_template == before)
        return;
    m_undo.push(new TemplateChange(text, m_template, std::move(before), [this] { emit changed(); }));
}

std::vector<QRectF> DesignerDocument::otherBoxes(const std::vector<ObjectRef> &moved) const
{
    std::vector<QRectF> boxes;
    if (moved.empty())
        return boxes;
    const Band *owner = band(moved.front().band);
    for (int i = 0; owner && i < int(owner->objects.size()); ++i) {
        if (std::find(moved.begin(), moved.end(), ObjectRef{moved.front().band, i}) == moved.end())
            boxes.push_back(owner->objects[i].geometry);
    }
    return boxes;
}

SnapResult DesignerDocument::snapMove(const std::vector<ObjectRef> &objects, QPointF delta) const
{
    if (objects.empty() || !contains(objects.front()))
        return {};
    const QRectF box = const_cast<DesignerDocument *>(this)->object(objects.front())->geometry.translated(delta);
    SnapResult result = Snapping::snap(box, otherBoxes(objects), grid, snapTolerance);
    result.offset += delta;
    return result;
}

void DesignerDocument::moveObjects(const std::vector<ObjectRef> &objects, QPointF delta, bool snap)
{
    if (snap)
        delta = snapMove(objects, delta).offset;
    change(objects.size() > 1 ? QStringLiteral("Move %1 objects").arg(objects.size()) : QStringLiteral("Move"), [&] {
        for (const ObjectRef &ref : objects) {
            if (ReportObject *o = object(ref))
                o->geometry.translate(delta);
        }
    });
}

void DesignerDocument::setGeometry(const ObjectRef &ref, const QRectF &geometry)
{
    change(QStringLiteral("Resize"), [&] {
        if (ReportObject *o = object(ref))
            o->geometry = geometry.normalized();
    });
}

void DesignerDocument::align(const std::vector<ObjectRef> &objects, Alignment alignment)
{
    if (objects.size() < 2 || !contains(objects.front()))
        return;
    const QRectF anchor = object(objects.front())->geometry;
    change(QStringLiteral("Align"), [&] {
        for (const ObjectRef &ref : objects) {
            ReportObject *o = object(ref);
            if (!o)
                continue;
            QRectF &g = o->geometry;
            switch (alignment) {
            case Alignment::Left: g.moveLeft(anchor.left()); break;
            case Alignment::Right: g.moveRight(anchor.right()); break;
            case Alignment::Top: g.moveTop(anchor.top()); break;
            case Alignment::Bottom: g.moveBottom(anchor.bottom()); break;
            case Alignment::HorizontalCenter: g.moveCenter({anchor.center().x(), g.center().y()}); break;
            case Alignment::VerticalCenter: g.moveCenter({g.center().x(), anchor.center().y()}); break;
            }
        }
    });
}

void DesignerDocument::resizeBand(const BandRef &ref, double height)
{
    change(QStringLiteral("Resize band"), [&] {
        if (Band *b = band(ref))
            b->height = std::max(0.0, height);
    });
}

ObjectRef DesignerDocument::addObject(const BandRef &bandRef, const ReportObject &added)
{
    ObjectRef ref{bandRef, -1};
    change(QStringLiteral("Add %1").arg(ObjectProperties::kindName(added.kind).toLower()), [&] {
        if (Band *b = band(bandRef)) {
            b->objects.push_back(added);
            ref.index = int(b->objects.size()) - 1;
        }
    });
    return ref;
}

void DesignerDocument::deleteObjects(std::vector<ObjectRef> objects)
{
    // From the back, so that the indexes still to delete stay valid.
    std::sort(objects.begin(), objects.end());
    change(QStringLiteral("Delete"), [&] {
        for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
            if (Band *b = band(it->band); b && it->index >= 0 && it->index < int(b->objects.size()))
                b->objects.erase(b->objects.begin() + it->index);
        }
    });
}

void DesignerDocument::setProperty(const std::vector<ObjectRef> &objects, const ObjectProperty &property, const QVariant &value)
{
    change(QStringLiteral("Change %1").arg(property.name.toLower()), [&] {
        for (const ObjectRef &ref : objects) {
            if (ReportObject *o = object(ref))
                property.set(*o, value);
        }
    });
}

} // namespace kb::report
