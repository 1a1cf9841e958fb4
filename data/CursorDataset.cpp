#include "CursorDataset.h"

namespace kb {

void CursorDataset::ensureOpen()
{
    if (!m_cursor.isOpen())
        m_open();
}

void CursorDataset::first()
{
    ensureOpen();
    m_cursor.first();
}

int CursorDataset::fieldIndex(const QString &name)
{
    ensureOpen();
    return m_cursor.fieldIndex(name);
}

report::Value CursorDataset::value(int field) const
{
    if (!m_cursor.isOpen() || field < 0 || field >= m_cursor.fieldCount())
        return {};
    return valueOf(m_cursor.field(field));
}

report::Value CursorDataset::valueOf(const Field &field)
{
    if (field.isNull())
        return {};
    switch (field.type()) {
    case FieldType::AutoIncrement:
    case FieldType::Integer:
    case FieldType::ShortInteger: return report::Value(field.asInteger());
    case FieldType::Logical: return report::Value(field.asBoolean());
    case FieldType::Money: return report::Value(field.asMoney());
    case FieldType::Double: return report::Value(field.asFloat());
    case FieldType::Date: return report::Value(field.asDate());
    case FieldType::Text:
    case FieldType::Memo: return report::Value(field.asString());
    }
    return {};
}

} // namespace kb
