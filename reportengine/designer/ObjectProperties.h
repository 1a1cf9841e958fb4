#pragma once

#include "ReportTemplate.h"

#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

namespace kb::report {

// One editable property of a report object, as the property panel lists it.
struct ObjectProperty
{
    enum Type { Number, Text, Bool, Color, Choice };
    QString name;
    Type type;
    QStringList choices; // Choice: the values, in their enum's order
    std::function<QVariant(const ReportObject &)> get;
    std::function<void(ReportObject &, const QVariant &)> set;
};

// The properties of the object model, in the panel's order. The panel is generated from this list,
// so a property added here is editable without touching the window.
class ObjectProperties
{
public:
    static const std::vector<ObjectProperty> &all();
    static const ObjectProperty *find(const QString &name);
    // "Text", "Line", "Rectangle", "Picture"
    static QString kindName(ObjectKind kind);
};

} // namespace kb::report
