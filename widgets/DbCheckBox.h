#pragma once

#include "FieldLink.h"

#include <QCheckBox>

namespace kb {

class DataSource;
class Field;
class UiServices;

// A check box bound to a logical field, ticked for true. Clicking it puts the cursor into editing
// and writes the new value at once; read only, it shows the field and ignores the user.
class DbCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit DbCheckBox(UiServices &ui, QWidget *parent = nullptr);

    void bind(DataSource *source, const QString &fieldName);
    DataSource *dataSource() const { return m_link->dataSource(); }
    const QString &fieldName() const { return m_link->fieldName(); }
    Field *field() const { return m_link->field(); }

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

protected:
    // The click's new state comes from the field once it is written.
    void nextCheckState() override;

private:
    void showField();

    UiServices &m_ui;
    FieldLink *m_link;
    bool m_readOnly = false;
};

} // namespace kb
