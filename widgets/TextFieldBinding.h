#pragma once

#include "FieldLink.h"

#include <QObject>

#include <functional>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace kb {

class UiServices;

// The behaviour of a text control bound to a field: it shows the field's text form; the user's
// first change puts the cursor into editing; leaving the control, Enter and every store write the
// text into the field. A write that fails reaches the general error display and the text stays,
// with the focus, for correction. editor is the line edit holding the text, control the widget
// that takes the focus (the combo box of an editable combo, else the editor itself); the control
// forwards its focus and key events to the binding.
class TextFieldBinding : public QObject
{
    Q_OBJECT

public:
    TextFieldBinding(UiServices &ui, QLineEdit *editor, QWidget *control);

    // The text shown while the control does not have the focus, e.g. an amount with its currency
    // symbol; with the focus the field's text form is shown for editing. Unset: always the text form.
    void setDisplayText(std::function<QString(const Field &)> displayText);

    FieldLink &link() { return m_link; }
    const FieldLink &link() const { return m_link; }
    // Whether the text holds input not yet written into the field.
    bool isPending() const { return m_pending; }

    // The user changed the text: starts editing of the cursor, keeping the new text.
    void userChanged();
    // Writes pending text into the field; throws what the field throws.
    void commit();
    // Shows the field's text again, dropping pending input.
    void revert();
    // Shows the field's text again unless input is pending.
    void refresh();

    void focusIn(Qt::FocusReason reason);
    void focusOut(Qt::FocusReason reason);
    // True when the binding consumed the key: Escape dropping input, Enter with a failed write.
    bool keyPress(QKeyEvent *event);
    // Tab leaves the control only when the text could be written.
    bool mayLeaveByTab();

signals:
    // The control received the focus from the user; not when its window is merely re-activated.
    void entered();
    // The control lost the focus after its text was written.
    void exited();

private:
    void showField();
    // Writes under the command guard; on failure the text is selected for correction.
    bool commitForUser();

    UiServices &m_ui;
    QLineEdit *m_editor;
    QWidget *m_control;
    FieldLink m_link;
    std::function<QString(const Field &)> m_displayText;
    bool m_pending = false;
    // Taking the focus back after a failed write is no entering.
    bool m_refocusing = false;
};

} // namespace kb
