#include "TTimeSpanForm.h"

#include "Clock.h"
#include "CommandGuard.h"
#include "PeriodFields.h"
#include "QuickPeriodButtons.h"
#include "UiServices.h"

#include <QLineEdit>
#include <QPushButton>

namespace kb {

namespace {

constexpr int clientWidth = 362;
constexpr int clientHeight = 203;
constexpr int margin = 8;
constexpr int buttonWidth = 80;
constexpr int buttonHeight = 25;

} // namespace

std::optional<Period> TTimeSpanForm::ask(UiServices &ui, const Clock &clock, QWidget *parent)
{
    TTimeSpanForm form(ui, clock, parent);
    if (ui.runModal(form) != QDialog::Accepted)
        return std::nullopt;
    return form.period();
}

TTimeSpanForm::TTimeSpanForm(UiServices &ui, const Clock &clock, QWidget *parent)
    : NoEscapeDialog(parent), m_ui(ui), m_clock(clock)
{
    setObjectName(QStringLiteral("TimeSpanForm"));
    setWindowTitle(QStringLiteral("Zeitraum"));
    setFixedSize(clientWidth, clientHeight);
    createControls();
    arrangeTabOrder();
    connectHandlers();
    FormCreate();
}

void TTimeSpanForm::createControls()
{
    m_quickButtons = new QuickPeriodButtons(this);
    m_quickButtons->move(margin, margin);

    m_fields = new PeriodFields(QString(), this);
    m_fields->move(clientWidth - margin - PeriodFields::FrameWidth, margin);

    const int buttonTop = clientHeight - margin - buttonHeight - 10;
    m_Button4 = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_Button4->setObjectName(QStringLiteral("Button4"));
    m_Button4->setGeometry(clientWidth - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight);

    m_BtnOK = new QPushButton(QStringLiteral("Übernehmen"), this);
    m_BtnOK->setObjectName(QStringLiteral("BtnOK"));
    m_BtnOK->setGeometry(m_Button4->x() - margin - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    m_BtnOK->setDefault(true);
}

void TTimeSpanForm::arrangeTabOrder()
{
    const QList<QWidget *> order = {
        m_quickButtons->button(QuickPeriod::CurrentMonth), m_quickButtons->button(QuickPeriod::PreviousMonth),
        m_fields->VonT, m_fields->VonM, m_fields->VonJ, m_fields->BisT, m_fields->BisM, m_fields->BisJ,
        m_BtnOK, m_Button4,
        m_quickButtons->button(QuickPeriod::CurrentYear), m_quickButtons->button(QuickPeriod::PreviousYear),
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TTimeSpanForm::connectHandlers()
{
    CommandGuard::connect(m_quickButtons->button(QuickPeriod::CurrentMonth), m_ui, [this] { BtnMonthClick(); });
    CommandGuard::connect(m_quickButtons->button(QuickPeriod::PreviousMonth), m_ui, [this] { BtnLastMonthClick(); });
    CommandGuard::connect(m_quickButtons->button(QuickPeriod::CurrentYear), m_ui, [this] { BtnYearClick(); });
    CommandGuard::connect(m_quickButtons->button(QuickPeriod::PreviousYear), m_ui, [this] { BtnPrevJahrClick(); });
    CommandGuard::connect(m_BtnOK, m_ui, [this] { accept(); });
    CommandGuard::connect(m_Button4, m_ui, [this] { reject(); });
}

void TTimeSpanForm::FormCreate()
{
    fill(QuickPeriod::CurrentMonth);
}

void TTimeSpanForm::FormShow()
{
    m_fields->VonT->setFocus();
}

void TTimeSpanForm::FormClose()
{
    m_period = m_fields->period();
}

void TTimeSpanForm::fill(QuickPeriod period)
{
    m_fields->setTexts(PeriodArithmetic::texts(period, m_clock.today()));
}

void TTimeSpanForm::setAndAccept(QuickPeriod period)
{
    fill(period);
    accept();
}

void TTimeSpanForm::done(int result)
{
    if (!CommandGuard::guard(m_ui, [this] { FormClose(); })) {
        setResult(0);
        return;
    }
    QDialog::done(result);
}

void TTimeSpanForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

} // namespace kb
