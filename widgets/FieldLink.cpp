#include "FieldLink.h"

#include "DataSource.h"
#include "Errors.h"
#include "Table.h"

namespace kb {

FieldLink::FieldLink(QObject *parent)
    : QObject(parent)
{
}

FieldLink::~FieldLink()
{
    if (m_source)
        m_source->removeObserver(this);
}

void FieldLink::bind(DataSource *source, const QString &fieldName)
{
    if (m_source)
        m_source->removeObserver(this);
    m_source = source;
    m_fieldName = fieldName;
    if (m_source)
        m_source->addObserver(this);
    changed();
}

Field *FieldLink::field() const
{
    Cursor *cursor = m_source ? m_source->cursor() : nullptr;
    return cursor && cursor->isOpen() ? cursor->findField(m_fieldName) : nullptr;
}

bool FieldLink::isEditing() const
{
    Cursor *cursor = m_source ? m_source->cursor() : nullptr;
    return cursor && cursor->isEditing();
}

void FieldLink::edit()
{
    if (isEditing())
        return;
    Table *table = m_source ? m_source->table() : nullptr;
    if (!table)
        throw Error(QStringLiteral("Die Datenmenge kann nicht bearbeitet werden"));
    table->edit();
}

void FieldLink::changed()
{
    if (onChanged)
        onChanged();
}

void FieldLink::cursorFieldChanged(Field &field)
{
    if (&field == this->field())
        changed();
}

void FieldLink::cursorUpdateRecord()
{
    if (onUpdateRecord)
        onUpdateRecord();
}

void FieldLink::dataSourceDestroyed()
{
    m_source = nullptr;
}

} // namespace kb
