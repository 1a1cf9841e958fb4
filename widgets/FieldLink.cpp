#include "FieldLink.h"

#include "DataSource.h"
#include "Errors.h"
#include "Table.h"

namespace kb {

FieldLink::FieldLink(QObject *parent)
    : QObject(parent)
{
}

void FieldLink::bind(DataSource *source, const QString &fieldName)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_fieldName = fieldName;
    if (m_source) {
        connect(m_source, &DataSource::recordChanged, this, &FieldLink::changed);
        connect(m_source, &DataSource::stateChanged, this, &FieldLink::changed);
        connect(m_source, &DataSource::fieldChanged, this, &FieldLink::fieldChanged);
        connect(m_source, &DataSource::updateRecord, this, &FieldLink::updateRecord);
    }
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

void FieldLink::fieldChanged(Field *field)
{
    if (field == this->field())
        changed();
}

void FieldLink::updateRecord()
{
    if (onUpdateRecord)
        onUpdateRecord();
}

} // namespace kb
