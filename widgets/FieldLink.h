#pragma once

#include "DataSource.h"

#include <QObject>
#include <QString>

#include <functional>

namespace kb {

class Field;

// Binds a control to one field of a data source: finds the field in the current row, puts the
// cursor into editing on the control's behalf and calls the control back when it must show the
// field again or write its pending input. It follows the data source as a plain observer, so an
// exception from the control reaches the cursor operation that caused the call.
class FieldLink : public QObject, private DataSourceObserver
{
    Q_OBJECT

public:
    explicit FieldLink(QObject *parent = nullptr);
    ~FieldLink() override;

    void bind(DataSource *source, const QString &fieldName);
    DataSource *dataSource() const { return m_source; }
    const QString &fieldName() const { return m_fieldName; }

    // The bound field; nullptr while unbound, closed or when the cursor has no such field.
    Field *field() const;
    bool isEditing() const;
    // Puts the table cursor into editing unless it edits already; throws what the cursor throws,
    // and an Error when the source has no table cursor to edit.
    void edit();

    // The field shows another value: another row, the field written, the cursor's state changed.
    std::function<void()> onChanged;
    // A store begins: write pending input now; an exception stops the store.
    std::function<void()> onUpdateRecord;

private:
    void changed();
    void cursorRecordChanged() override { changed(); }
    void cursorStateChanged() override { changed(); }
    void cursorFieldChanged(Field &field) override;
    void cursorUpdateRecord() override;
    void dataSourceDestroyed() override;

    DataSource *m_source = nullptr;
    QString m_fieldName;
};

} // namespace kb
