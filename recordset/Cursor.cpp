#include "Cursor.h"

#include "Errors.h"

#include <algorithm>

namespace kb {

template <typename Event>
void Cursor::notify(Event event)
{
    if (m_observers.empty())
        return;
    const std::vector<CursorObserver *> observers = m_observers;
    for (CursorObserver *observer : observers) {
        if (std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end())
            event(observer);
    }
}

Cursor::~Cursor()
{
    notify([](CursorObserver *o) { o->cursorDestroyed(); });
}

int Cursor::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i]->name() == name)
            return int(i);
    }
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i]->name().compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

Field *Cursor::findField(const QString &name) const
{
    const int index = fieldIndex(name);
    return index < 0 ? nullptr : m_fields[size_t(index)].get();
}

Field &Cursor::fieldByName(const QString &name) const
{
    Field *field = findField(name);
    if (!field)
        fail(QStringLiteral("Feld '%1' nicht gefunden").arg(name));
    return *field;
}

void Cursor::addObserver(CursorObserver *observer)
{
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void Cursor::removeObserver(CursorObserver *observer)
{
    std::erase(m_observers, observer);
}

void Cursor::setFields(std::vector<std::unique_ptr<Field>> fields)
{
    m_fields = std::move(fields);
    for (auto &field : m_fields)
        field->m_cursor = this;
}

int Cursor::indexOf(const Field &field) const
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].get() == &field)
            return int(i);
    }
    return -1;
}

void Cursor::removeFields()
{
    m_fields.clear();
}

void Cursor::loadRow(const Row &row)
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        Field &field = *m_fields[i];
        field.m_value = i < row.size() ? row[i] : FieldValue();
        field.m_modified = false;
    }
}

void Cursor::clearRow()
{
    for (auto &field : m_fields) {
        field->m_value = FieldValue();
        field->m_modified = false;
    }
}

void Cursor::markUnmodified()
{
    for (auto &field : m_fields)
        field->m_modified = false;
}

std::vector<Cursor::FieldState> Cursor::fieldStates() const
{
    std::vector<FieldState> states;
    states.reserve(m_fields.size());
    for (const auto &field : m_fields)
        states.push_back({field->m_value, field->m_modified});
    return states;
}

void Cursor::restoreFieldStates(const std::vector<FieldState> &states)
{
    for (size_t i = 0; i < m_fields.size() && i < states.size(); ++i) {
        m_fields[i]->m_value = states[i].value;
        m_fields[i]->m_modified = states[i].modified;
    }
}

void Cursor::loadMissingValues(const Field *)
{
}

bool Cursor::hasMissingValues() const
{
    return std::any_of(m_fields.begin(), m_fields.end(),
                       [](const auto &field) { return std::holds_alternative<Unread>(field->m_value); });
}

void Cursor::fillMissingValues(const Row &row)
{
    for (size_t i = 0; i < m_fields.size() && i < row.size(); ++i) {
        if (std::holds_alternative<Unread>(m_fields[i]->m_value))
            m_fields[i]->m_value = row[i];
    }
}

Row Cursor::currentRow()
{
    if (hasMissingValues())
        loadMissingValues(nullptr);
    Row row;
    row.reserve(m_fields.size());
    for (const auto &field : m_fields)
        row.push_back(field->m_value);
    return row;
}

int Cursor::stepTarget(int step, int count)
{
    const int target = m_position + step;
    if (target >= 0 && target < count)
        return target;
    m_bof = step < 0 || count == 0;
    m_eof = step > 0 || count == 0;
    return -1;
}

void Cursor::setState(CursorState state)
{
    if (m_state == state)
        return;
    m_state = state;
    notify([](CursorObserver *o) { o->cursorStateChanged(); });
}

void Cursor::checkOpen() const
{
    if (!isOpen())
        fail(QStringLiteral("Die Operation ist bei einer geschlossenen Datenmenge nicht möglich"));
}

void Cursor::notifyRecordChanging()
{
    notify([](CursorObserver *o) { o->cursorRecordChanging(); });
}

void Cursor::notifyRecordChanged()
{
    notify([](CursorObserver *o) { o->cursorRecordChanged(); });
}

void Cursor::notifyRowsChanged()
{
    notify([](CursorObserver *o) { o->cursorRowsChanged(); });
}

void Cursor::notifyUpdateRecord()
{
    notify([](CursorObserver *o) { o->cursorUpdateRecord(); });
}

void Cursor::fail(const QString &message) const
{
    throw EngineError(QStringLiteral("%1: %2").arg(displayName(), message));
}

void Cursor::beforeFieldWrite(const Field &) const
{
    if (!isEditing())
        fail(QStringLiteral("Die Datenmenge ist nicht im Bearbeitungs- oder Einfügemodus"));
}

void Cursor::afterFieldWrite(Field &field)
{
    notify([&field](CursorObserver *o) { o->cursorFieldChanged(field); });
}

} // namespace kb
