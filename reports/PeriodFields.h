#pragma once

#include "PeriodArithmetic.h"
#include "Period.h"

#include <QGroupBox>

#include <array>

class QLineEdit;

namespace kb {

// The frame of the period fields: rows "Von:" and "Bis:" with day, month and year under the
// heads "Tag", "Monat", "Jahr". The fields are free text; they are read only when asked.
class PeriodFields : public QGroupBox
{
    Q_OBJECT

public:
    static constexpr int FrameWidth = 233;
    static constexpr int FrameHeight = 128;

    explicit PeriodFields(const QString &title, QWidget *parent);

    PeriodTexts texts() const;
    void setTexts(const PeriodTexts &texts);

    // Reads day, month and year of each row as whole numbers and forms the two dates, the first
    // row completely before the second. Throws ConversionError with the text of the first field
    // that is no whole number, or the date error.
    Period period() const;

    QLineEdit *VonT;
    QLineEdit *VonM;
    QLineEdit *VonJ;
    QLineEdit *BisT;
    QLineEdit *BisM;
    QLineEdit *BisJ;

private:
    // One row: the label, the heads above and the three fields; returns them day first.
    std::array<QLineEdit *, 3> addRow(const QString &label, const QString &prefix, int top);
};

} // namespace kb
