#pragma once

#include "TextFieldBinding.h"

#include <QComboBox>

namespace kb {

class DataSource;
class Field;
class UiServices;

// An editable text bound to a field, with a drop-down list of items to choose from (filled by
// the owner with addItems). Typing or choosing starts editing of the cursor; leaving it or Enter
// writes the text into the field, as DbEdit does. The list never grows by itself.
class DbComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DbComboBox(UiServices &ui, QWidget *parent = nullptr);

    void bind(DataSource *source, const QString &fieldName);
    DataSource *dataSource() const { return m_binding->link().dataSource(); }
    const QString &fieldName() const { return m_binding->link().fieldName(); }
    Field *field() const { return m_binding->link().field(); }

signals:
    void entered();
    // After the text was written into the field.
    void exited();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    TextFieldBinding *m_binding;
};

} // namespace kb
