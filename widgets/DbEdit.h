#pragma once

#include "TextFieldBinding.h"

#include <QLineEdit>

namespace kb {

class DataSource;
class Field;
class UiServices;

// A line edit bound to a field: shows the field's text form, typing starts editing of the cursor,
// leaving it or Enter writes the field; a failed write is shown and the text stays for correction.
// Enter is passed on to the parent after the write. setReadOnly(true) makes it display only.
class DbEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit DbEdit(UiServices &ui, QWidget *parent = nullptr);

    void bind(DataSource *source, const QString &fieldName);
    // See TextFieldBinding::setDisplayText.
    void setDisplayText(std::function<QString(const Field &)> displayText);
    DataSource *dataSource() const { return m_binding->link().dataSource(); }
    const QString &fieldName() const { return m_binding->link().fieldName(); }
    Field *field() const { return m_binding->link().field(); }

signals:
    // The user moved the focus into the edit.
    void entered();
    // The user moved the focus out of the edit, after its text was written into the field.
    void exited();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    TextFieldBinding *m_binding;
    // The enter handler selected the whole text of a focus that a click brought in.
    bool m_keepEntrySelection = false;
};

} // namespace kb
