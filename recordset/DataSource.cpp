#include "DataSource.h"

#include "Table.h"

#include <algorithm>

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
    tell([](DataSourceObserver *o) { o->dataSourceDestroyed(); });
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
    cursorRowsChanged();
    cursorRecordChanged();
}

CursorState DataSource::state() const
{
    return m_cursor ? m_cursor->state() : CursorState::Inactive;
}

void DataSource::addObserver(DataSourceObserver *observer)
{
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void DataSource::removeObserver(DataSourceObserver *observer)
{
    std::erase(m_observers, observer);
}

template <typename Event>
void DataSource::tell(Event event)
{
    if (m_observers.empty())
        return;
    // An observer may remove itself or another one while being told.
    const std::vector<DataSourceObserver *> observers = m_observers;
    for (DataSourceObserver *observer : observers) {
        if (std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end())
            event(observer);
    }
}

void DataSource::cursorRecordChanging()
{
    tell([](DataSourceObserver *o) { o->cursorRecordChanging(); });
}

void DataSource::cursorRecordChanged()
{
    tell([](DataSourceObserver *o) { o->cursorRecordChanged(); });
    emit recordChanged();
}

void DataSource::cursorRowsChanged()
{
    tell([](DataSourceObserver *o) { o->cursorRowsChanged(); });
    emit rowsChanged();
}

void DataSource::cursorFieldChanged(Field &field)
{
    tell([&field](DataSourceObserver *o) { o->cursorFieldChanged(field); });
    emit fieldChanged(&field);
}

void DataSource::cursorStateChanged()
{
    tell([](DataSourceObserver *o) { o->cursorStateChanged(); });
    emit stateChanged(state());
}

void DataSource::cursorUpdateRecord()
{
    tell([](DataSourceObserver *o) { o->cursorUpdateRecord(); });
}

void DataSource::cursorDestroyed()
{
    m_cursor = nullptr;
    cursorRowsChanged();
    cursorStateChanged();
}

} // namespace kb
