#pragma once

#include "BandRef.h"
#include "ObjectProperties.h"
#include "ReportTemplate.h"
#include "Snapping.h"

#include <QObject>
#include <QUndoStack>

#include <functional>
#include <vector>

namespace kb::report {

enum class Alignment { Left, Right, Top, Bottom, HorizontalCenter, VerticalCenter };

// The template the designer edits, and every change to it as one undoable step on one undo stack.
// Views read the template and call these operations; they never change it themselves.
class DesignerDocument : public QObject
{
    Q_OBJECT
public:
    explicit DesignerDocument(ReportTemplate &edited, QObject *parent = nullptr);

    ReportTemplate &reportTemplate() { return m_template; }
    QUndoStack &undoStack() { return m_undo; }
    bool isModified() const { return !m_undo.isClean(); }
    void setSaved() { m_undo.setClean(); }

    // The bands in print order, and their names ("Page header", "Group header 1", "Detail", ...).
    std::vector<BandRef> bands() const;
    Band *band(const BandRef &ref);
    const Band *band(const BandRef &ref) const;
    QString bandName(const BandRef &ref) const;
    ReportObject *object(const ObjectRef &ref);
    bool contains(const ObjectRef &ref) const;

    // Snapping: a grid in millimetres (0: off) and the distance within which edges meet.
    double grid = 2.5;
    double snapTolerance = 1.0;

    // Moves every object by delta, as one step. snap: the first object's box snaps to the grid
    // or to another object's edge of its band, and the others follow it.
    void moveObjects(const std::vector<ObjectRef> &objects, QPointF delta, bool snap = false);
    // The guides a move of these objects by delta would snap to (shown while dragging).
    SnapResult snapMove(const std::vector<ObjectRef> &objects, QPointF delta) const;
    void setGeometry(const ObjectRef &ref, const QRectF &geometry);
    void align(const std::vector<ObjectRef> &objects, Alignment alignment);
    void resizeBand(const BandRef &ref, double height);
    ObjectRef addObject(const BandRef &band, const ReportObject &object);
    void deleteObjects(std::vector<ObjectRef> objects);
    void setProperty(const std::vector<ObjectRef> &objects, const ObjectProperty &property, const QVariant &value);

signals:
    void changed();

private:
    // Runs the change on the template and records it as one undo step; a change that changes
    // nothing records none.
    void change(const QString &text, const std::function<void()> &apply);
    std::vector<QRectF> otherBoxes(const std::vector<ObjectRef> &moved) const;

    ReportTemplate &m_template;
    QUndoStack m_undo;
};

} // namespace kb::report
