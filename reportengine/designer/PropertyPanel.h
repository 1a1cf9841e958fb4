#pragma once

#include "DesignerDocument.h"

#include <QTableWidget>

namespace kb::report {

// The selected objects' properties, one row per property of the object model. Shows the first
// selected object's values; an edit applies to every selected object as one undo step.
class PropertyPanel : public QTableWidget
{
    Q_OBJECT
public:
    explicit PropertyPanel(DesignerDocument &document, QWidget *parent = nullptr);

    void showObjects(const std::vector<ObjectRef> &objects);

private:
    void fill();
    void onItemChanged(QTableWidgetItem *item);
    static QString display(const ObjectProperty &property, const QVariant &value);
    // The edited text as the property's value; nullopt when it is no valid value.
    static std::optional<QVariant> parse(const ObjectProperty &property, const QString &text);

    DesignerDocument &m_document;
    std::vector<ObjectRef> m_objects;
    bool m_filling = false;
};

} // namespace kb::report
