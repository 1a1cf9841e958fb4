#pragma once

#include "Period.h"
#include "PeriodArithmetic.h"

#include "NoEscapeDialog.h"

#include <optional>

class QPushButton;

namespace kb {

class Clock;
class PeriodFields;
class QuickPeriodButtons;
class UiServices;

// The period dialog "Zeitraum": a first and a last day typed as day, month and year, or set and
// accepted at once by a quick-period button. Every close converts the six fields; a field that is
// no whole number or numbers that form no date refuse the close, whichever button closed.
class TTimeSpanForm : public NoEscapeDialog
{
    Q_OBJECT

public:
    // Shows the dialog modally; the period after an OK, nullopt when the user cancelled.
    static std::optional<Period> ask(UiServices &ui, const Clock &clock, QWidget *parent);

    TTimeSpanForm(UiServices &ui, const Clock &clock, QWidget *parent = nullptr);

    // The two result dates: meaningful only after a successful close.
    const Period &period() const { return m_period; }

    void BtnMonthClick() { setAndAccept(QuickPeriod::CurrentMonth); }
    void BtnLastMonthClick() { setAndAccept(QuickPeriod::PreviousMonth); }
    void BtnYearClick() { setAndAccept(QuickPeriod::CurrentYear); }
    void BtnPrevJahrClick() { setAndAccept(QuickPeriod::PreviousYear); }

    // Every close passes here: the close goes on only when FormClose converted the fields.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    // Converts the fields into the result dates; throws and leaves them unchanged on failure.
    void FormClose();

    void fill(QuickPeriod period);
    void setAndAccept(QuickPeriod period);
    void createControls();
    void arrangeTabOrder();
    void connectHandlers();

    UiServices &m_ui;
    const Clock &m_clock;
    Period m_period;
    QuickPeriodButtons *m_quickButtons = nullptr;
    PeriodFields *m_fields = nullptr;
    QPushButton *m_BtnOK = nullptr;
    QPushButton *m_Button4 = nullptr;
};

} // namespace kb
