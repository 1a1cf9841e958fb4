#pragma once

#include <QGroupBox>
#include <QStringList>

class QLabel;
class QPushButton;
class QToolButton;

namespace kb {

class DbCheckBox;
class DbComboBox;
class DbEdit;
class DbLookupComboBox;
class TDataForm;
class FormatSettings;
class UiServices;

// The entry panel "VORGÄNGE BEARBEITEN:" over the current booking of KasseTable: entering an
// empty field of a booking being edited fills in the value of the last stored booking, leaving
// the account shows its VAT percentage and minus flag, leaving amount or percentage shows VAT and
// net amount, and "Speichern / Neu" (also Enter in any of its fields) stores and opens the next.
class EntryPanel : public QGroupBox
{
    Q_OBJECT

public:
    // Amounts show in the currency format of formats while their field does not have the focus.
    EntryPanel(UiServices &ui, const FormatSettings &formats, QWidget *parent = nullptr);

    void bind(TDataForm &data);
    // The drop-down list of the text field.
    void setTexts(const QStringList &texts);

    void DatumEditEnter();
    void EditBelegEnter();
    void DBLKontoEnter();
    void EditBetragEnter();
    void DBLTextEnter();
    void DBLKontoExit();
    void EditBetragExit();
    void BtnAddClick();

    DbEdit *DatumEdit() const { return m_DatumEdit; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void addLabel(const QString &text, QWidget &control, int width);
    void setHints();
    void setTabOrder();
    void connectHandlers();
    // Whether the current booking is being edited or is new and the field holds nothing.
    bool editingEmpty(const QString &fieldName) const;
    void fill(const QString &fieldName, const QString &value);

    UiServices &m_ui;
    const FormatSettings &m_formats;
    TDataForm *m_data = nullptr;

    DbEdit *m_DatumEdit = nullptr;
    DbEdit *m_EditBeleg = nullptr;
    DbLookupComboBox *m_DBLKonto = nullptr;
    QToolButton *m_SpeedButton1 = nullptr;
    DbEdit *m_EditBetrag = nullptr;
    DbEdit *m_EditUStP = nullptr;
    DbEdit *m_EditUSt = nullptr;
    DbComboBox *m_DBLText = nullptr;
    QToolButton *m_SpeedButton2 = nullptr;
    DbCheckBox *m_DBCheckBox1 = nullptr;
    QPushButton *m_BtnAdd = nullptr;
};

} // namespace kb
