#include "DbComboBox.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QLineEdit>

namespace kb {

DbComboBox::DbComboBox(UiServices &ui, QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    m_binding = new TextFieldBinding(ui, lineEdit(), this);
    connect(this, &QComboBox::textActivated, m_binding, &TextFieldBinding::userChanged);
    // Filling an empty list makes its first item the text; the field's text stays.
    connect(model(), &QAbstractItemModel::rowsInserted, m_binding, &TextFieldBinding::refresh);
    connect(model(), &QAbstractItemModel::modelReset, m_binding, &TextFieldBinding::refresh);
    connect(m_binding, &TextFieldBinding::entered, this, &DbComboBox::entered);
    connect(m_binding, &TextFieldBinding::exited, this, &DbComboBox::exited);
}

void DbComboBox::bind(DataSource *source, const QString &fieldName)
{
    m_binding->link().bind(source, fieldName);
}

void DbComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    m_binding->focusIn(event->reason());
}

void DbComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    m_binding->focusOut(event->reason());
}

void DbComboBox::keyPressEvent(QKeyEvent *event)
{
    if (view()->isVisible() || !m_binding->keyPress(event))
        QComboBox::keyPressEvent(event);
}

bool DbComboBox::focusNextPrevChild(bool next)
{
    return m_binding->mayLeaveByTab() ? QComboBox::focusNextPrevChild(next) : true;
}

} // namespace kb
