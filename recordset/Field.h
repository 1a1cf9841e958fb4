#pragma once

#include "Money.h"
#include "SchemaCatalogue.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <variant>

namespace kb {

class Cursor;

// Marks a value a cursor has not fetched yet: a cursor fetches in bulk only the fields that are
// read, and a field's other values when first asked for. A Field never hands it out.
struct Unread
{
    bool operator==(const Unread &) const = default;
};

// A value as a cursor holds it: empty, or one of the storage forms. Values read from the file keep
// SQLite's form (integer, real, text; dates become dates) and are converted when read through a
// Field; values written through a Field take the form of its type.
using FieldValue = std::variant<std::monostate, qint64, double, Money, QDate, QString, Unread>;

// One field of a cursor's current row: name, type, width and value, with the conversions of the
// system's text forms. As text a number reads in its plain form (12.50 reads "12,5"), a date as
// dd.mm.yyyy, a logical as "Wahr" or "Falsch"; an empty field reads empty text, 0 and false.
// Writing converts to the field's type: text longer than a text field's width is cut to it, an
// integer outside its type's range is a ConversionError, and so is text that is no value of the
// type. A field of a cursor can be written only while the cursor edits or inserts.
class Field
{
public:
    Field(QString name, FieldType type, int width = 0);
    // A copy is detached from the cursor: writing it changes the copy only.
    Field(const Field &other);
    Field &operator=(const Field &) = delete;

    const QString &name() const { return m_name; }
    FieldType type() const { return m_type; }
    int width() const { return m_width; }
    bool isNumeric() const;

    bool isNull() const { return std::holds_alternative<std::monostate>(value()); }
    const FieldValue &value() const
    {
        if (std::holds_alternative<Unread>(m_value))
            fetchValue();
        return m_value;
    }
    // Whether the field was written since the row was loaded.
    bool isModified() const { return m_modified; }
    // A detached copy of this field holding value.
    Field withValue(const FieldValue &value) const;

    QString asString() const;
    qint64 asInteger() const;
    bool asBoolean() const;
    Money asMoney() const;
    double asFloat() const;
    QDate asDate() const; // a null date when empty

    void clear();
    void setAsString(const QString &text); // empty text empties the field
    void setAsInteger(qint64 value);
    void setAsBoolean(bool value);
    void setAsMoney(Money value);
    void setAsFloat(double value);
    void setAsDate(const QDate &date); // an invalid date empties the field
    // Null, bool, integer, double, QDate or text; other variants are taken as text.
    void setAsVariant(const QVariant &value);
    // Takes another field's value, converted to this field's type.
    void assign(const FieldValue &value);

    static QString trueText() { return QStringLiteral("Wahr"); }
    static QString falseText() { return QStringLiteral("Falsch"); }

private:
    friend class Cursor;

    void store(FieldValue value);
    void fetchValue() const;
    void checkRange(qint64 value) const;
    [[noreturn]] void failConversion(const QString &target) const;
    QDate dateOf(const QString &text) const;
    bool booleanOf(const QString &text) const;

    QString m_name;
    FieldType m_type;
    int m_width;
    FieldValue m_value;
    bool m_modified = false;
    Cursor *m_cursor = nullptr;
};

} // namespace kb
