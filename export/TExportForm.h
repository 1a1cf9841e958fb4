#pragma once

#include "NoEscapeDialog.h"
#include "PeriodArithmetic.h"

#include <QStringList>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace kb {

class Clock;
class HelpViewer;
class LineView;
class PeriodFields;
class QuickPeriodButtons;
class TDataForm;
class UiServices;

// "Buchungen exportieren": the current company's bookings of a period as semicolon-separated
// text. The preview shows the text that "Exportieren" saves, as it was last built; typing into
// the fields changes nothing until the preview is built again.
class TExportForm : public NoEscapeDialog
{
    Q_OBJECT

public:
    TExportForm(TDataForm &data, UiServices &ui, const Clock &clock, HelpViewer &help, QWidget *parent = nullptr);

    // The lines of the preview as last built.
    const QStringList &previewLines() const;

    void FormShow();
    void BtnMonthClick() { fillAndPreview(QuickPeriod::CurrentMonth); }
    void BtnLastMonthClick() { fillAndPreview(QuickPeriod::PreviousMonth); }
    void BtnYearClick() { fillAndPreview(QuickPeriod::CurrentYear); }
    void BtnPrevJahrClick() { fillAndPreview(QuickPeriod::PreviousYear); }
    void BtnPreviewClick();
    void BtnOKClick();
    void Button1Click();

    // "Export" and today as yyyymmdd, ".csv".
    QString defaultFileName() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void createHeading();
    void createColumnList();
    void createPreview();
    void arrangeTabOrder();
    void connectHandlers();
    void fillAndPreview(QuickPeriod period);
    void showPreview(QStringList lines);

    TDataForm &m_data;
    UiServices &m_ui;
    const Clock &m_clock;
    HelpViewer &m_help;
    QuickPeriodButtons *m_quickButtons = nullptr;
    PeriodFields *m_fields = nullptr;
    QListWidget *m_ListBox2 = nullptr;
    QCheckBox *m_CheckBox1 = nullptr;
    QPushButton *m_BtnPreview = nullptr;
    LineView *m_ExpList = nullptr;
    QPushButton *m_Button1 = nullptr;
    QPushButton *m_BtnOK = nullptr;
    QPushButton *m_BtnCancel = nullptr;
};

} // namespace kb
