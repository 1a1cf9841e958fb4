#pragma once

#include "DesignerDocument.h"

#include <QDialog>

class QAction;
class QToolBar;

namespace kb {
class UiServices;
}

namespace kb::report {

class DesignerCanvas;
class PropertyPanel;
class Report;

// The designer window: the report's loaded template on a to-scale page, the palette, the
// property panel, undo and redo, save to the report's file name and a preview with the data the
// caller prepared. Closing with unsaved changes asks whether to save them; not saving puts the
// template back as it was loaded.
class ReportDesigner : public QDialog
{
    Q_OBJECT
public:
    ReportDesigner(Report &report, UiServices &ui, QWidget *parent = nullptr);

    // Makes this designer the one the report opens (frDesigner1).
    static void install(Report &report, UiServices &ui);

    DesignerDocument &document() { return m_document; }
    DesignerCanvas &canvas() { return *m_canvas; }
    QAction *action(const QString &objectName) const;

    // Writes the template to the report's file name; false when it failed (the error was shown).
    bool save();
    void done(int result) override;

private:
    void buildToolBar(QToolBar &bar);
    QAction *addAction(QToolBar &bar, const QString &name, const QString &text, const QKeySequence &shortcut,
                       std::function<void()> command);
    void place(ObjectKind kind);
    void preview();
    // True when the window may close: nothing unsaved, or the user answered the question.
    bool mayClose();
    void updateTitle();

    Report &m_report;
    UiServices &m_ui;
    ReportTemplate m_loaded;
    DesignerDocument m_document;
    DesignerCanvas *m_canvas;
    PropertyPanel *m_properties;
};

} // namespace kb::report
