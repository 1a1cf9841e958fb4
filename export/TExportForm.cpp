#include "TExportForm.h"

#include "BookingExport.h"
#include "Clock.h"
#include "CommandGuard.h"
#include "HelpViewer.h"
#include "LineView.h"
#include "PeriodFields.h"
#include "QuickPeriodButtons.h"
#include "ShortDateText.h"
#include "UiServices.h"

#include <QCheckBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

// Resources of a static library must be registered by name, outside any namespace.
static void registerExportPictures()
{
    Q_INIT_RESOURCE(exportpictures);
}

namespace kb {

namespace {

constexpr int clientWidth = 530;
constexpr int clientHeight = 500;
constexpr int margin = 8;
constexpr int buttonWidth = 90;
constexpr int buttonHeight = 25;
constexpr int headingHeight = 44;
constexpr int periodTop = headingHeight + 12;
constexpr int columnsLeft = 366;
constexpr int optionsTop = periodTop + PeriodFields::FrameHeight + 8;
constexpr int previewTop = optionsTop + buttonHeight + 8;
constexpr int helpTopic = 11;

const QString CsvFilter = QStringLiteral("CSV-Dateien (*.csv *.txt);;alle Dateien (*)");

QPushButton *addButton(QWidget &parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *button = new QPushButton(caption, &parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

QString periodText(const QString &day, const QString &month, const QString &year)
{
    return day + QLatin1Char('.') + month + QLatin1Char('.') + year;
}

QString bookingsAffected(int count)
{
    return count == 1
        ? QStringLiteral("1 Buchung enthält Zeichen, die der Zeichensatz Windows-1252 nicht kennt; "
                         "sie stehen in der Datei als \"?\".")
        : QStringLiteral("%1 Buchungen enthalten Zeichen, die der Zeichensatz Windows-1252 nicht kennt; "
                         "sie stehen in der Datei als \"?\".").arg(count);
}

} // namespace

TExportForm::TExportForm(TDataForm &data, UiServices &ui, const Clock &clock, HelpViewer &help, QWidget *parent)
    : NoEscapeDialog(parent), m_data(data), m_ui(ui), m_clock(clock), m_help(help)
{
    registerExportPictures();
    setObjectName(QStringLiteral("ExportForm"));
    setWindowTitle(QStringLiteral("Buchungen exportieren"));
    setFixedSize(clientWidth, clientHeight);
    createControls();
    arrangeTabOrder();
    connectHandlers();
}

void TExportForm::createControls()
{
    createHeading();
    m_quickButtons = new QuickPeriodButtons(this);
    m_quickButtons->move(margin, periodTop + 8);
    m_fields = new PeriodFields(QStringLiteral("Zeitraum:"), this);
    m_fields->move(margin + QuickPeriodButtons::ButtonWidth + 10, periodTop);
    createColumnList();

    m_CheckBox1 = new QCheckBox(QStringLiteral("Spaltenkopf nicht exportieren"), this);
    m_CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    m_CheckBox1->setGeometry(m_fields->x(), optionsTop, PeriodFields::FrameWidth, buttonHeight);
    m_BtnPreview = addButton(*this, QStringLiteral("BtnPreview"), QStringLiteral("Export-Vorschau"),
                             QRect(columnsLeft, optionsTop, clientWidth - margin - columnsLeft, buttonHeight));
    createPreview();

    const int bottom = clientHeight - margin - buttonHeight;
    m_Button1 = addButton(*this, QStringLiteral("Button1"), QStringLiteral("Hilfe ..."),
                          QRect(margin, bottom, buttonWidth, buttonHeight));
    m_BtnCancel = addButton(*this, QStringLiteral("BtnCancel"), QStringLiteral("Abbrechen"),
                            QRect(clientWidth - margin - buttonWidth, bottom, buttonWidth, buttonHeight));
    m_BtnOK = addButton(*this, QStringLiteral("BtnOK"), QStringLiteral("Exportieren"),
                        QRect(m_BtnCancel->x() - margin - buttonWidth, bottom, buttonWidth, buttonHeight));
    m_BtnOK->setDefault(true);
}

void TExportForm::createHeading()
{
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QIcon(QStringLiteral(":/export/exportpicture.svg")).pixmap(32, 32));
    picture->setGeometry(margin, 6, 32, 32);
    auto *title = new QLabel(QStringLiteral("Buchungen exportieren"), this);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    title->setFont(font);
    title->setGeometry(margin + 42, 6, 300, 32);
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(margin, headingHeight, clientWidth - 2 * margin, 4);
}

void TExportForm::createColumnList()
{
    auto *label = new QLabel(QStringLiteral("zu exportierende Spalten:"), this);
    label->setGeometry(columnsLeft, periodTop, clientWidth - margin - columnsLeft, 15);
    m_ListBox2 = new QListWidget(this);
    m_ListBox2->setObjectName(QStringLiteral("ListBox2"));
    m_ListBox2->addItems(BookingExport::columnNames());
    m_ListBox2->setGeometry(columnsLeft, periodTop + 18, clientWidth - margin - columnsLeft,
                            PeriodFields::FrameHeight - 18);
}

void TExportForm::createPreview()
{
    m_ExpList = new LineView(this);
    m_ExpList->setObjectName(QStringLiteral("ExpList"));
    QPalette palette = m_ExpList->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    m_ExpList->setPalette(palette);
    m_ExpList->setGeometry(margin, previewTop, clientWidth - 2 * margin,
                           clientHeight - previewTop - buttonHeight - 2 * margin);
}

void TExportForm::arrangeTabOrder()
{
    const QList<QWidget *> order = {
        m_quickButtons->button(QuickPeriod::CurrentMonth), m_quickButtons->button(QuickPeriod::PreviousMonth),
        m_quickButtons->button(QuickPeriod::CurrentYear), m_quickButtons->button(QuickPeriod::PreviousYear),
        m_fields->VonT, m_fields->VonM, m_fields->VonJ, m_fields->BisT, m_fields->BisM, m_fields->BisJ,
        m_ListBox2, m_CheckBox1, m_BtnPreview, m_ExpList, m_Button1, m_BtnOK, m_BtnCancel,
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TExportForm::connectHandlers()
{
    CommandGuard::connect(m_quickButtons->button(QuickPeriod::CurrentMonth), m_ui, [this] { BtnMonthClick(); });
    CommandGuard::connect(m_quickButtons->button(QuickPeriod::PreviousMonth), m_ui, [this] { BtnLastMonthClick(); });
    CommandGuard::connect(m_quickButtons->button(QuickPeriod::CurrentYear), m_ui, [this] { BtnYearClick(); });
    CommandGuard::connect(m_quickButtons->button(QuickPeriod::PreviousYear), m_ui, [this] { BtnPrevJahrClick(); });
    CommandGuard::connect(m_BtnPreview, m_ui, [this] { BtnPreviewClick(); });
    CommandGuard::connect(m_BtnOK, m_ui, [this] { BtnOKClick(); });
    CommandGuard::connect(m_BtnCancel, m_ui, [this] { reject(); });
    CommandGuard::connect(m_Button1, m_ui, [this] { Button1Click(); });
}

void TExportForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        CommandGuard::guard(m_ui, [this] { FormShow(); });
}

void TExportForm::FormShow()
{
    BtnMonthClick();
}

void TExportForm::fillAndPreview(QuickPeriod period)
{
    m_fields->setTexts(PeriodArithmetic::texts(period, m_clock.today()));
    BtnPreviewClick();
}

void TExportForm::BtnPreviewClick()
{
    const PeriodTexts texts = m_fields->texts();
    const QDate today = m_clock.today();
    const std::optional<QDate> first = ShortDateText::read(periodText(texts.VonT, texts.VonM, texts.VonJ), today);
    const std::optional<QDate> last = ShortDateText::read(periodText(texts.BisT, texts.BisM, texts.BisJ), today);
    if (!first || !last) {
        m_ui.message(QStringLiteral("Das Datum wurde falsch eingetragen."));
        return;
    }
    QStringList lines = BookingExport::bookingLines(m_data, {*first, *last});
    if (!m_CheckBox1->isChecked())
        lines.prepend(BookingExport::columnNames().join(QLatin1Char(';')));
    showPreview(std::move(lines));
}

// One assignment of all lines: the view paints only those in sight, never one per line added.
void TExportForm::showPreview(QStringList lines)
{
    m_ExpList->setLines(std::move(lines));
}

const QStringList &TExportForm::previewLines() const
{
    return m_ExpList->lines();
}

QString TExportForm::defaultFileName() const
{
    return QStringLiteral("Export") + m_clock.today().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv");
}

void TExportForm::BtnOKClick()
{
    const QString path = m_ui.saveFileName(QStringLiteral("Daten exporieren"), QString(), CsvFilter,
                                           defaultFileName(), SaveOptions{QStringLiteral("csv"), false});
    if (path.isEmpty())
        return;
    const int affected = BookingExport::save(path, m_ExpList->lines());
    if (affected > 0)
        m_ui.information(bookingsAffected(affected));
    accept();
}

void TExportForm::Button1Click()
{
    m_help.showTopic(helpTopic);
}

} // namespace kb
