#include "TBKasseEditForm.h"

#include "ApplicationContext.h"
#include "CashCount.h"
#include "CashReconciliation.h"
#include "CommandGuard.h"
#include "DbEdit.h"
#include "DenominationPicture.h"
#include "FormatSettings.h"
#include "HelpViewer.h"
#include "ReportComponents.h"
#include "ReportRunner.h"
#include "TDataForm.h"
#include "UiServices.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kb {

namespace {

constexpr int CoinRows = 8;
const QSize PictureSize(53, 30);

QString templateFile()
{
    return QStringLiteral("BarKasse.frf");
}

} // namespace

TBKasseEditForm::TBKasseEditForm(ApplicationContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("BKasseEditForm"));
    setWindowTitle(QStringLiteral("Kassenzählung"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    if (parent)
        setFont(parent->font());
    setFixedSize(468, 528);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    // Widgets are made in tab order; the layouts place them.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    addHeading(*layout);
    addTopRow(*layout);
    addCounts(*layout);
    addRemark(*layout);
    addButtons(*layout);
    showTotal();
}

void TBKasseEditForm::addHeading(QVBoxLayout &layout)
{
    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(DenominationPicture::icon(QSize(32, 32)));
    auto *heading = new QLabel(QStringLiteral("Kasse auszählen / Bargeldinventur"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.25);
    heading->setFont(bold);
    auto *row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(heading, 1);
    layout.addLayout(row);
    auto *rule = new QFrame(this);
    rule->setObjectName(QStringLiteral("Bevel1"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout.addWidget(rule);
}

void TBKasseEditForm::addTopRow(QVBoxLayout &layout)
{
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Kassenzählung vom:"), this));
    row->addWidget(addEdit(QStringLiteral("Datum"), 80));
    row->addSpacing(6);
    row->addWidget(new QLabel(QStringLiteral("Kasse:"), this));
    row->addWidget(addEdit(QStringLiteral("KassenName"), 0), 1);
    row->addSpacing(6);
    row->addWidget(addButton(QStringLiteral("Button5"), QStringLiteral("Hilfe ..."), [this] { Button5Click(); }));
    layout.addLayout(row);
    layout.addSpacing(6);
}

void TBKasseEditForm::addCounts(QVBoxLayout &layout)
{
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(6);
    int index = 0;
    for (const CashCount::Denomination &denomination : CashCount::denominations()) {
        const int row = index < CoinRows ? index : index - CoinRows;
        const int column = index < CoinRows ? 0 : 5;
        auto *picture = new QLabel(this);
        picture->setPixmap(DenominationPicture::pixmap(denomination, PictureSize));
        picture->setFixedSize(PictureSize);
        DbEdit *edit = addEdit(denomination.fieldName(), 58);
        edit->setAlignment(Qt::AlignRight);
        auto *label = new QLabel(denomination.labelText(), this);
        label->setBuddy(edit);
        grid->addWidget(picture, row, column);
        grid->addWidget(label, row, column + 1);
        grid->addWidget(edit, row, column + 2);
        grid->addWidget(new QLabel(QStringLiteral("Stück"), this), row, column + 3);
        connect(edit, &QLineEdit::textChanged, this, [this] { showTotal(); });
        m_counts << edit;
        ++index;
    }
    grid->setColumnMinimumWidth(4, 14);
    grid->setColumnStretch(4, 1);
    layout.addLayout(grid);
    layout.addSpacing(4);
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("LabelSumme"));
    QFont bold = m_total->font();
    bold.setBold(true);
    m_total->setFont(bold);
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout.addWidget(m_total);
}

void TBKasseEditForm::addRemark(QVBoxLayout &layout)
{
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Bemerkung:"), this));
    row->addWidget(addEdit(QStringLiteral("Bemerkung"), 0), 1);
    layout.addSpacing(4);
    layout.addLayout(row);
    layout.addStretch(1);
}

void TBKasseEditForm::addButtons(QVBoxLayout &layout)
{
    m_BtnView = addButton(QStringLiteral("BtnView"), QStringLiteral("Auswertung betrachten / drucken ..."),
                          [this] { BtnViewClick(m_BtnView); });
    m_BtnDesign = addButton(QStringLiteral("BtnDesign"), QStringLiteral("Druckvorlage bearbeiten ..."),
                            [this] { BtnViewClick(m_BtnDesign); });
    QPushButton *store = addButton(QStringLiteral("Button3"), QStringLiteral("Speichern und Schließen"), [this] { Button3Click(); });
    store->setDefault(true);
    QPushButton *cancel = addButton(QStringLiteral("Button4"), QStringLiteral("Abbrechen"), [this] { Button4Click(); });
    auto *reports = new QVBoxLayout;
    reports->addWidget(m_BtnView);
    reports->addWidget(m_BtnDesign);
    auto *closing = new QVBoxLayout;
    closing->addWidget(store);
    closing->addWidget(cancel);
    auto *row = new QHBoxLayout;
    row->addLayout(reports);
    row->addStretch(1);
    row->addLayout(closing);
    layout.addLayout(row);
}

DbEdit *TBKasseEditForm::addEdit(const QString &field, int width)
{
    auto *edit = new DbEdit(m_context.ui, this);
    edit->setObjectName(QStringLiteral("DBEdit") + field);
    edit->bind(&m_context.data.BKasseSource, field);
    if (width > 0)
        edit->setFixedWidth(width);
    return edit;
}

QPushButton *TBKasseEditForm::addButton(const QString &objectName, const QString &caption, std::function<void()> handler)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    CommandGuard::connect(button, m_context.ui, std::move(handler));
    return button;
}

QString TBKasseEditForm::runningTotal() const
{
    int index = 0;
    const Money total = CashCount::total([this, &index](const CashCount::Denomination &) {
        bool ok = false;
        const qint64 pieces = m_counts.at(index++)->text().trimmed().toLongLong(&ok);
        return ok ? pieces : 0;
    });
    return m_context.formats.formatCurrency(total);
}

void TBKasseEditForm::showTotal()
{
    if (m_total && m_counts.size() == qsizetype(CashCount::denominations().size()))
        m_total->setText(QStringLiteral("Gezählt: ") + runningTotal());
}

void TBKasseEditForm::storePending()
{
    Table &bkasse = m_context.data.BKasseTable;
    if (bkasse.isEditing())
        bkasse.post();
}

void TBKasseEditForm::Button3Click()
{
    storePending();
    accept();
}

void TBKasseEditForm::Button4Click()
{
    reject();
}

void TBKasseEditForm::reject()
{
    Table &bkasse = m_context.data.BKasseTable;
    if (bkasse.isEditing())
        bkasse.cancel();
    QDialog::reject();
}

void TBKasseEditForm::Button5Click()
{
    m_context.help.showTopic(HelpContext);
}

void TBKasseEditForm::BtnViewClick(QPushButton *sender)
{
    storePending();
    if (m_context.data.BKasseTable.recordCount() == 0) {
        m_context.ui.message(QStringLiteral("Es liegt noch keine Auszählung vor."));
        return;
    }
    selectCountIntoQuery();
    ReportComponents &reports = ReportRunner::components(m_context.data, m_context.ui, m_context.formats, m_context.printer);
    const QString mainDataset = QStringLiteral("frDBDataSet3");
    if (sender == m_BtnDesign) {
        ReportRunner::design(reports, mainDataset, templateFile());
        return;
    }
    // A template that cannot be opened stops here, before the reconciliation is shown.
    reports.frReport1.loadTemplate(reports.templatePath(templateFile()));
    reconcile();
    ReportRunner::show(reports, mainDataset, templateFile());
}

void TBKasseEditForm::selectCountIntoQuery()
{
    TDataForm &data = m_context.data;
    data.Query.close();
    data.Query.setSql({QStringLiteral("SELECT * FROM \"BKASSE.ADT\""),
                       QStringLiteral("WHERE ID=") + QString::number(data.BKasseTable.fieldByName(QStringLiteral("ID")).asInteger())});
    data.Query.open();
}

void TBKasseEditForm::reconcile()
{
    Table &bkasse = m_context.data.BKasseTable;
    const QDate day = bkasse.fieldByName(QStringLiteral("Datum")).asDate();
    const auto booked = CashReconciliation::lastBookingUpTo(m_context.data.KasseTable, day);
    m_context.ui.information(
        CashReconciliation::message(bkasse.fieldByName(QStringLiteral("Summe")).asMoney(), booked, day));
}

} // namespace kb
