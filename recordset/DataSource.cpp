#include "DataSource.h"

#include "Table.h"

namespace kb {

DataSource::DataSource(Cursor *cursor, QObject *parent)
    : QObject(parent)
{
    setCursor(cursor);
}

DataSource::~DataSource()
{
    if (m_cursor)
        m_cursor->removeObserver(this);
}

Table *DataSource::table() const
{
    return dynamic_cast<Table *>(m_cursor);
}

void DataSource::setCursor(Cursor *cursor)
{
    if (cursor == m_cursor)
        return;
    if (m_cursor)
        m_cursor->removeObserver(this);
    m_cursor = cursor;
    if (m_cursor)
        m_cursor->addObserver(this);
    emit rowsChanged();
    emit recordChanged();
}

CursorState DataSource::state() const
{
    return m_cursor ? m_cursor->state() : CursorState::Inactive;
}

void DataSource::cursorDestroyed()
{
    m_cursor = nullptr;
    emit rowsChanged();
    emit stateChanged(CursorState::Inactive);
}

} // namespace kb
