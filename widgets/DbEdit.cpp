#include "DbEdit.h"

#include <QFocusEvent>

#include <utility>

namespace kb {

DbEdit::DbEdit(UiServices &ui, QWidget *parent)
    : QLineEdit(parent), m_binding(new TextFieldBinding(ui, this, this))
{
    connect(m_binding, &TextFieldBinding::entered, this, &DbEdit::entered);
    connect(m_binding, &TextFieldBinding::exited, this, &DbEdit::exited);
}

void DbEdit::bind(DataSource *source, const QString &fieldName)
{
    m_binding->link().bind(source, fieldName);
}

void DbEdit::setDisplayText(std::function<QString(const Field &)> displayText)
{
    m_binding->setDisplayText(std::move(displayText));
}

void DbEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    m_binding->focusIn(event->reason());
    m_keepEntrySelection = event->reason() == Qt::MouseFocusReason && hasSelectedText()
                           && selectedText() == text();
}

// The press that brought the focus in would put the cursor where the user clicked and drop the
// selection the enter handler made; the first key must replace a default as it does after Tab.
void DbEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (std::exchange(m_keepEntrySelection, false))
        selectAll();
}

void DbEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    m_keepEntrySelection = false;
    m_binding->focusOut(event->reason());
}

void DbEdit::keyPressEvent(QKeyEvent *event)
{
    if (!m_binding->keyPress(event))
        QLineEdit::keyPressEvent(event);
}

bool DbEdit::focusNextPrevChild(bool next)
{
    return m_binding->mayLeaveByTab() ? QLineEdit::focusNextPrevChild(next) : true;
}

} // namespace kb
