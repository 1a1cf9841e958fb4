#include "TextFieldBinding.h"

#include "CommandGuard.h"
#include "Field.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace kb {

namespace {

// The focus moves between the window's controls, not to a pop-up or another window.
bool movesWithinWindow(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

TextFieldBinding::TextFieldBinding(UiServices &ui, QLineEdit *editor, QWidget *control)
    : QObject(control), m_ui(ui), m_editor(editor), m_control(control), m_link(this)
{
    m_link.onChanged = [this] { showField(); };
    m_link.onUpdateRecord = [this] { commit(); };
    connect(m_editor, &QLineEdit::textEdited, this, &TextFieldBinding::userChanged);
}

void TextFieldBinding::setDisplayText(std::function<QString(const Field &)> displayText)
{
    m_displayText = std::move(displayText);
    refresh();
}

void TextFieldBinding::userChanged()
{
    if (!m_link.field())
        return;
    if (!m_link.isEditing()) {
        const QString text = m_editor->text();
        const int position = m_editor->cursorPosition();
        if (!CommandGuard::guard(m_ui, [this] { m_link.edit(); })) {
            showField();
            return;
        }
        m_editor->setText(text);
        m_editor->setCursorPosition(position);
    }
    m_pending = true;
}

void TextFieldBinding::commit()
{
    Field *field = m_link.field();
    if (!m_pending || !field)
        return;
    m_link.edit();
    field->setAsString(m_editor->text());
    m_pending = false;
}

void TextFieldBinding::revert()
{
    showField();
}

void TextFieldBinding::refresh()
{
    if (!m_pending)
        showField();
}

void TextFieldBinding::focusIn(Qt::FocusReason reason)
{
    if (m_displayText)
        refresh();
    if (!m_refocusing && movesWithinWindow(reason))
        emit entered();
}

void TextFieldBinding::focusOut(Qt::FocusReason reason)
{
    if (!movesWithinWindow(reason))
        return;
    if (!commitForUser()) {
        QTimer::singleShot(0, m_control, [this] {
            m_refocusing = true;
            m_control->setFocus(Qt::OtherFocusReason);
            m_refocusing = false;
            m_editor->selectAll();
        });
        return;
    }
    if (m_displayText)
        refresh();
    emit exited();
}

bool TextFieldBinding::keyPress(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (commitForUser())
            return false;
        event->accept();
        return true;
    case Qt::Key_Escape:
        if (!m_pending)
            return false;
        revert();
        event->accept();
        return true;
    default:
        return false;
    }
}

bool TextFieldBinding::mayLeaveByTab()
{
    return commitForUser();
}

void TextFieldBinding::showField()
{
    const Field *field = m_link.field();
    if (!field || field->isNull())
        m_editor->setText(QString());
    else if (m_displayText && !m_control->hasFocus())
        m_editor->setText(m_displayText(*field));
    else
        m_editor->setText(field->asString());
    m_pending = false;
}

bool TextFieldBinding::commitForUser()
{
    if (CommandGuard::guard(m_ui, [this] { commit(); }))
        return true;
    m_editor->selectAll();
    return false;
}

} // namespace kb
