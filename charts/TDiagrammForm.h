#pragma once

#include "Chart.h"
#include "ChartPicture.h"
#include "ChartToolIcons.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <random>

class QAction;
class QCheckBox;
class QLineEdit;
class QPrinter;
class QSpinBox;
class QStatusBar;
class QTableWidget;
class QToolBar;
class QToolButton;

namespace kb {

class ChartView;
class UiServices;

// The chart window "Vuno Diagramm": a table of labelled values (SGrid: label, value, colour as
// 0x00BBGGRR) beside a chart that follows every keystroke, with title and axis fields, the 3D
// switch, legend, zoom, picture files, printing and the clipboard. Grid rows are numbered as the
// user sees them: row 0 is the empty header row, data row r is chart point r − 1.
class TDiagrammForm : public QDialog
{
    Q_OBJECT

public:
    TDiagrammForm(UiServices &ui, QPrinter &printer, QWidget *parent = nullptr);
    ~TDiagrammForm() override;

    // One entry of the save dialog's type list.
    struct PictureType
    {
        QString description;
        QString pattern;
        PictureFormat format;
        QString extension;
    };
    static const QList<PictureType> &pictureTypes();

    // The operations the chart commands use.
    void setElementCount(int count);
    int elementCount() const;
    // Writes the cell and hands the same text to SGridSetEditText, as if the user had typed it.
    void writeCell(int column, int row, const QString &text);
    QString cell(int column, int row) const;
    void pressPieButton();
    // Sets the "Titel:" field; its change handler makes it the chart's title.
    void setTitleText(const QString &text);

    const Chart &chart() const { return m_chart; }
    const Series &LSeries() const { return m_line; }
    const Series &BSeries() const { return m_bar; }
    const Series &PSeries() const { return m_pie; }
    // The series the handlers work on: the first attached one of line, pie, bar.
    Series *chartSeries();

    // Plays the beep of the key filter; tests listen here.
    std::function<void()> beep;

    void FormCreate();
    void SpinEdit1Change();
    // Throws the conversion error of a value or colour text that is not a number.
    void SGridSetEditText(int column, int row, const QString &text);
    void SGridSelectCell(int column, int row);
    void SGridDblClick();
    void EditTitleChange();
    void EditYAxisChange();
    void EditXAxisChange();
    void CB3DClick();
    void TBLegendTopClick();
    void TBLegendBottomClick();
    void TBLegendLeftClick();
    void TBLegendRightClick();
    void TBNoLegendClick();
    void ToolButton6Click();
    void ToolButton7Click();
    void ToolButton9Click();
    void ToolButton12Click();
    // The default extension for the type at this index of the save dialog's list.
    static QString PicSaveDlgTypeChange(int typeIndex);
    void ToolButton13Click();
    void Kopieren1Click();
    void SpeziellesKopieren1Click();
    void Datentabellekopieren1Click();
    void Info1Click();
    void Beenden1Click();

    // The text the data table copy puts into the clipboard.
    QString dataTableText() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class CellDelegate;

    void buildMenu();
    void buildToolBar(QToolBar &bar);
    QWidget *buildPanel();
    void connectHandlers();
    void rebuildChart();
    void setLegend(bool visible, Legend::Alignment alignment);
    void redraw();
    // Every keystroke in a cell editor: updates the chart at once; a text that is not yet a
    // number is reported once the keystrokes have been handled, and only if it still is not one.
    void cellEdited(int column, int row, const QString &text);
    void reportPendingCellError();
    QAction *action(const QString &name, const QString &text, std::function<void()> handler);
    QToolButton *toolButton(const QString &name, const QString &hint, ChartToolIcons::Kind icon,
                            std::function<void()> handler);

    UiServices &m_ui;
    QPrinter &m_printer;
    Chart m_chart;
    Series &m_line;
    Series &m_bar;
    Series &m_pie;
    std::mt19937 m_random;

    QCheckBox *CB3D = nullptr;
    QLineEdit *EditTitle = nullptr;
    QLineEdit *EditYAxis = nullptr;
    QLineEdit *EditXAxis = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QTableWidget *SGrid = nullptr;
    ChartView *m_view = nullptr;  // the chart on screen, object name "Chart"
    QStatusBar *StatusBar1 = nullptr;
    QToolButton *ToolButton14 = nullptr;

    struct PendingEdit
    {
        int column;
        int row;
        QString text;
    };
    std::optional<PendingEdit> m_lastEdit;
    bool m_errorCheckQueued = false;
};

} // namespace kb
