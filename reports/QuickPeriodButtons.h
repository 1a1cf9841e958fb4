#pragma once

#include "PeriodArithmetic.h"

#include <QWidget>

#include <array>

class QPushButton;

namespace kb {

// The column of quick-period buttons "Aktueller Monat", "Voriger Monat", "Aktuelles Jahr" and
// "Voriges Jahr", of equal width. What a click does is the dialog's business.
class QuickPeriodButtons : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ButtonWidth = 105;
    static constexpr int ButtonHeight = 25;
    static constexpr int Gap = 8;

    explicit QuickPeriodButtons(QWidget *parent);

    static constexpr std::array<QuickPeriod, 4> All = {QuickPeriod::CurrentMonth, QuickPeriod::PreviousMonth,
                                                        QuickPeriod::CurrentYear, QuickPeriod::PreviousYear};
    QPushButton *button(QuickPeriod period) const { return m_buttons[size_t(period)]; }

private:
    std::array<QPushButton *, 4> m_buttons{};
};

} // namespace kb
