#include "DbLookupComboBox.h"

#include "CommandGuard.h"
#include "DataSource.h"

#include <QFocusEvent>
#include <QSignalBlocker>

namespace kb {

namespace {

bool movesWithinWindow(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

DbLookupComboBox::DbLookupComboBox(UiServices &ui, QWidget *parent)
    : QComboBox(parent), m_ui(ui), m_link(new FieldLink(this))
{
    m_link->onChanged = [this] { showField(); };
    connect(this, &QComboBox::activated, this, &DbLookupComboBox::choose);
}

void DbLookupComboBox::bind(DataSource *source, const QString &fieldName)
{
    m_link->bind(source, fieldName);
}

void DbLookupComboBox::setList(DataSource *listSource, const QString &keyField, const QString &listField)
{
    if (m_listSource)
        disconnect(m_listSource, nullptr, this, nullptr);
    m_listSource = listSource;
    m_keyField = keyField;
    m_listField = listField;
    if (m_listSource)
        connect(m_listSource, &DataSource::rowsChanged, this, &DbLookupComboBox::loadList);
    loadList();
}

void DbLookupComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    if (movesWithinWindow(event->reason()))
        emit entered();
}

void DbLookupComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    if (movesWithinWindow(event->reason()))
        emit exited();
}

void DbLookupComboBox::loadList()
{
    const QSignalBlocker blocker(this);
    clear();
    m_keys.clear();
    m_keyTexts.clear();
    Cursor *list = m_listSource ? m_listSource->cursor() : nullptr;
    const Field *key = list && list->isOpen() ? list->findField(m_keyField) : nullptr;
    const Field *shown = list && list->isOpen() ? list->findField(m_listField) : nullptr;
    if (key && shown) {
        const int keyIndex = list->fieldIndex(m_keyField);
        const int shownIndex = list->fieldIndex(m_listField);
        const int count = list->recordCount();
        for (int position = 0; position < count; ++position) {
            m_keys.push_back(list->valueAt(position, keyIndex));
            m_keyTexts.append(key->withValue(m_keys.back()).asString());
            addItem(shown->withValue(list->valueAt(position, shownIndex)).asString());
        }
    }
    showField();
}

void DbLookupComboBox::showField()
{
    const Field *field = m_link->field();
    const QSignalBlocker blocker(this);
    setCurrentIndex(field && !field->isNull() ? int(m_keyTexts.indexOf(field->asString())) : -1);
}

void DbLookupComboBox::choose(int index)
{
    if (index >= 0 && size_t(index) < m_keys.size() && m_link->field()) {
        const FieldValue key = m_keys[size_t(index)];
        CommandGuard::guard(m_ui, [this, &key] {
            m_link->edit();
            m_link->field()->assign(key);
        });
    }
    showField();
}

} // namespace kb
