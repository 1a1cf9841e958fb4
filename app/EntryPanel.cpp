#include "EntryPanel.h"

#include "CommandGuard.h"
#include "DbCheckBox.h"
#include "DbComboBox.h"
#include "DbEdit.h"
#include "DbLookupComboBox.h"
#include "FormatSettings.h"
#include "Hint.h"
#include "TDataForm.h"
#include "UiServices.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace kb {

namespace {

constexpr int panelHeight = 105;
constexpr int row1 = 21;
constexpr int row2 = 45;
constexpr int row3 = 69;
constexpr int controlHeight = 21;
constexpr int column1 = 72;
constexpr int column2 = 280;
constexpr int column3 = 432;
constexpr int editWidth = 89;
constexpr int labelGap = 3;

} // namespace

EntryPanel::EntryPanel(UiServices &ui, const FormatSettings &formats, QWidget *parent)
    : QGroupBox(QStringLiteral("VORGÄNGE BEARBEITEN:"), parent), m_ui(ui), m_formats(formats)
{
    setObjectName(QStringLiteral("GBEdit"));
    setFixedHeight(panelHeight);
    createControls();
    setHints();
    setTabOrder();
    connectHandlers();
}

void EntryPanel::createControls()
{
    m_DatumEdit = new DbEdit(m_ui, this);
    m_DatumEdit->setObjectName(QStringLiteral("DatumEdit"));
    m_DatumEdit->setGeometry(column1, row1, editWidth, controlHeight);
    addLabel(QStringLiteral("Datum:"), *m_DatumEdit, 68);

    m_EditBeleg = new DbEdit(m_ui, this);
    m_EditBeleg->setObjectName(QStringLiteral("EditBeleg"));
    m_EditBeleg->setGeometry(column1, row2, editWidth, controlHeight);
    addLabel(QStringLiteral("Beleg:"), *m_EditBeleg, 68);

    m_DBLKonto = new DbLookupComboBox(m_ui, this);
    m_DBLKonto->setObjectName(QStringLiteral("DBLKonto"));
    m_DBLKonto->setGeometry(column1, row3, 129, controlHeight);
    addLabel(QStringLiteral("Kontoname:"), *m_DBLKonto, 68);

    // Opens the accounts dialog once it is part of the program.
    m_SpeedButton1 = new QToolButton(this);
    m_SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    m_SpeedButton1->setText(QStringLiteral("..."));
    m_SpeedButton1->setGeometry(204, row3, controlHeight, controlHeight);
    m_SpeedButton1->setFocusPolicy(Qt::NoFocus);
    m_SpeedButton1->setEnabled(false);

    m_EditBetrag = new DbEdit(m_ui, this);
    m_EditBetrag->setObjectName(QStringLiteral("EditBetrag"));
    m_EditBetrag->setGeometry(column2, row1, editWidth, controlHeight);
    addLabel(QStringLiteral("Betrag:"), *m_EditBetrag, 44);

    m_EditUStP = new DbEdit(m_ui, this);
    m_EditUStP->setObjectName(QStringLiteral("EditUStP"));
    m_EditUStP->setGeometry(column2, row2, editWidth, controlHeight);
    addLabel(QStringLiteral("Ust %"), *m_EditUStP, 44);

    m_EditUSt = new DbEdit(m_ui, this);
    m_EditUSt->setObjectName(QStringLiteral("EditUSt"));
    m_EditUSt->setGeometry(column2, row3, editWidth, controlHeight);
    m_EditUSt->setReadOnly(true);
    m_EditUSt->setEnabled(false);
    addLabel(QStringLiteral("USt €"), *m_EditUSt, 44);

    const auto currency = [this](const Field &amount) { return m_formats.formatCurrency(amount.asMoney()); };
    m_EditBetrag->setDisplayText(currency);
    m_EditUSt->setDisplayText(currency);

    m_DBLText = new DbComboBox(m_ui, this);
    m_DBLText->setObjectName(QStringLiteral("DBLText"));
    m_DBLText->setGeometry(column3, row1, 321, controlHeight);
    addLabel(QStringLiteral("Text"), *m_DBLText, 40);

    // Opens the standard-texts dialog once it is part of the program.
    m_SpeedButton2 = new QToolButton(this);
    m_SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    m_SpeedButton2->setText(QStringLiteral("..."));
    m_SpeedButton2->setGeometry(756, row1, controlHeight, controlHeight);
    m_SpeedButton2->setFocusPolicy(Qt::NoFocus);
    m_SpeedButton2->setEnabled(false);

    m_DBCheckBox1 = new DbCheckBox(m_ui, this);
    m_DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    m_DBCheckBox1->setText(QStringLiteral("Minuskonto"));
    m_DBCheckBox1->setGeometry(column3, row2, 113, controlHeight);
    m_DBCheckBox1->setReadOnly(true);
    m_DBCheckBox1->setEnabled(false);

    m_BtnAdd = new QPushButton(QStringLiteral("Speichern / Neu"), this);
    m_BtnAdd->setObjectName(QStringLiteral("BtnAdd"));
    m_BtnAdd->setGeometry(column3, row3, 113, 25);
    m_BtnAdd->setDefault(true);
}

void EntryPanel::addLabel(const QString &text, QWidget &control, int width)
{
    auto *label = new QLabel(text, this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(control.x() - labelGap - width, control.y(), width, controlHeight);
    label->setBuddy(&control);
}

void EntryPanel::setHints()
{
    Hint::apply(*m_DatumEdit, QStringLiteral("Datum eintragen"));
    Hint::apply(*m_EditBeleg, QStringLiteral("Belegnummer bearbeiten"));
    Hint::apply(*m_DBLKonto, QStringLiteral("Konto auswählen"));
    Hint::apply(*m_SpeedButton1, QStringLiteral("Konten hinzufügen / bearbeiten"));
    Hint::apply(*m_EditBetrag, QStringLiteral("Betrag in Euro"));
    Hint::apply(*m_EditUStP, QStringLiteral("Umsatzsteuer in Prozent"));
    Hint::apply(*m_EditUSt, QStringLiteral("Umsatzsteuer in Euro"));
    Hint::apply(*m_DBLText, QStringLiteral("Text auswählen"));
    Hint::apply(*m_SpeedButton2, QStringLiteral("Texte hinzufügen / bearbeiten"));
    Hint::apply(*m_BtnAdd, QStringLiteral("Speichern bzw. neuen Vorgang anlegen"));
}

void EntryPanel::setTabOrder()
{
    const QList<QWidget *> order = {m_DatumEdit, m_EditBeleg, m_DBLKonto, m_EditBetrag, m_EditUStP,
                                    m_EditUSt, m_DBLText, m_DBCheckBox1, m_BtnAdd};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void EntryPanel::connectHandlers()
{
    CommandGuard::connect(m_DatumEdit, &DbEdit::entered, m_ui, [this] { DatumEditEnter(); });
    CommandGuard::connect(m_EditBeleg, &DbEdit::entered, m_ui, [this] { EditBelegEnter(); });
    CommandGuard::connect(m_DBLKonto, &DbLookupComboBox::entered, m_ui, [this] { DBLKontoEnter(); });
    CommandGuard::connect(m_DBLKonto, &DbLookupComboBox::exited, m_ui, [this] { DBLKontoExit(); });
    CommandGuard::connect(m_EditBetrag, &DbEdit::entered, m_ui, [this] { EditBetragEnter(); });
    CommandGuard::connect(m_EditBetrag, &DbEdit::exited, m_ui, [this] { EditBetragExit(); });
    CommandGuard::connect(m_EditUStP, &DbEdit::exited, m_ui, [this] { EditBetragExit(); });
    CommandGuard::connect(m_DBLText, &DbComboBox::entered, m_ui, [this] { DBLTextEnter(); });
    CommandGuard::connect(m_BtnAdd, m_ui, [this] { BtnAddClick(); });
}

void EntryPanel::bind(TDataForm &data)
{
    m_data = &data;
    DataSource *kasse = &data.KasseSource;
    m_DatumEdit->bind(kasse, QStringLiteral("Datum"));
    m_EditBeleg->bind(kasse, QStringLiteral("BelegNr"));
    m_DBLKonto->bind(kasse, QStringLiteral("KontoID"));
    m_DBLKonto->setList(&data.KontenSource, QStringLiteral("KontoNr"), QStringLiteral("Kontoname"));
    m_EditBetrag->bind(kasse, QStringLiteral("Buchungsbetrag"));
    m_EditUStP->bind(kasse, QStringLiteral("UMSTinProzent"));
    m_EditUSt->bind(kasse, QStringLiteral("UMSTinEURO"));
    m_DBLText->bind(kasse, QStringLiteral("Text"));
    m_DBCheckBox1->bind(kasse, QStringLiteral("Minuskonto"));
}

void EntryPanel::setTexts(const QStringList &texts)
{
    m_DBLText->clear();
    m_DBLText->addItems(texts);
}

bool EntryPanel::editingEmpty(const QString &fieldName) const
{
    Table &kasse = m_data->KasseTable;
    return kasse.isEditing() && kasse.fieldByName(fieldName).isNull();
}

void EntryPanel::fill(const QString &fieldName, const QString &value)
{
    m_data->KasseTable.fieldByName(fieldName).setAsString(value);
}

void EntryPanel::DatumEditEnter()
{
    if (!editingEmpty(QStringLiteral("Datum")))
        return;
    fill(QStringLiteral("Datum"), m_data->LastEntry().Datum);
    m_DatumEdit->selectAll();
}

void EntryPanel::EditBelegEnter()
{
    if (!editingEmpty(QStringLiteral("BelegNr")))
        return;
    const QString next = TDataForm::NextBelegNr(m_data->LastEntry().BelegNr);
    const int width = m_data->KasseTable.fieldByName(QStringLiteral("BelegNr")).width();
    // Cutting it would give a number that does not follow the last one; the user decides instead.
    if (next.size() > width) {
        m_ui.warning(QStringLiteral("Die nächste Belegnummer \"%1\" ist länger als %2 Zeichen und wurde "
                                    "nicht eingetragen. Bitte geben Sie die Belegnummer selbst ein.")
                         .arg(next)
                         .arg(width));
        return;
    }
    fill(QStringLiteral("BelegNr"), next);
    m_EditBeleg->selectAll();
}

void EntryPanel::DBLKontoEnter()
{
    if (!editingEmpty(QStringLiteral("Kontoname")))
        return;
    fill(QStringLiteral("Kontoname"), m_data->LastEntry().Kontoname);
    fill(QStringLiteral("KontoID"), m_data->LastEntry().KontoID);
}

void EntryPanel::EditBetragEnter()
{
    if (!editingEmpty(QStringLiteral("Buchungsbetrag")))
        return;
    fill(QStringLiteral("Buchungsbetrag"), m_data->LastEntry().Buchungsbetrag);
    m_EditBetrag->selectAll();
}

void EntryPanel::DBLTextEnter()
{
    if (!editingEmpty(QStringLiteral("Text")))
        return;
    fill(QStringLiteral("Text"), m_data->LastEntry().Text);
}

// Shows the account's percentage and minus flag at once; storing takes them over again.
void EntryPanel::DBLKontoExit()
{
    m_data->ApplyAccountToBooking();
}

// Shows VAT and net amount of what was typed; storing computes them again.
void EntryPanel::EditBetragExit()
{
    if (!m_EditBetrag->text().isEmpty())
        m_data->ApplyVatToBooking();
}

void EntryPanel::BtnAddClick()
{
    Table &kasse = m_data->KasseTable;
    if (kasse.state() == CursorState::Edit) {
        if (!m_ui.confirm(QStringLiteral("Wollen Sie einen bereits eingetragenen Vorgang überschreiben?")))
            kasse.cancel();
    } else if (kasse.state() == CursorState::Insert) {
        kasse.post();
    }
    kasse.append();
    // Entering the date field fills in the default date; it may hold the focus already.
    m_DatumEdit->setFocus(Qt::OtherFocusReason);
    DatumEditEnter();
}

// Enter in one of the fields reaches the panel after the field has written its text.
void EntryPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_BtnAdd->click();
        return;
    }
    QGroupBox::keyPressEvent(event);
}

} // namespace kb
