#pragma once

#include "DataSource.h"
#include "Field.h"
#include "FieldLink.h"

#include <QComboBox>
#include <QPointer>

#include <vector>

namespace kb {

class UiServices;

// A drop-down bound to a key field (KontoID) that lists the display field (Kontoname) of the rows
// of a list source (KontenSource), in that cursor's order. Choosing a row puts the cursor into
// editing and writes the row's key field (KontoNr) into the bound field at once; the drop-down
// shows the display text of the row whose key the bound field holds, nothing when there is none.
class DbLookupComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DbLookupComboBox(UiServices &ui, QWidget *parent = nullptr);

    void bind(DataSource *source, const QString &fieldName);
    DataSource *dataSource() const { return m_link->dataSource(); }
    const QString &fieldName() const { return m_link->fieldName(); }
    Field *field() const { return m_link->field(); }

    // The list is read again whenever the list source's rows change.
    void setList(DataSource *listSource, const QString &keyField, const QString &listField);

signals:
    void entered();
    // The user moved the focus out of the drop-down; the choice is written already.
    void exited();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void loadList();
    void showField();
    void choose(int index);

    UiServices &m_ui;
    FieldLink *m_link;
    QPointer<DataSource> m_listSource;
    QString m_keyField;
    QString m_listField;
    std::vector<FieldValue> m_keys;
    // The keys in their text form, to find a key whatever its stored form.
    QStringList m_keyTexts;
};

} // namespace kb
