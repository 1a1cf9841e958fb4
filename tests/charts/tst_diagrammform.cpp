#include "ScriptedUiServices.h"
#include "TDiagrammForm.h"
#include "UiCheck.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "TestFiles.h"

using namespace Qt::StringLiterals;
using kb::ScriptedUiServices;
using kb::TDiagrammForm;

class TstDiagrammForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keyFilterTurnsLettersIntoZero_data();
    void keyFilterTurnsLettersIntoZero();
    void loneMinusShowsOneErrorThenTheNumberCounts();
    void fastTypingShowsNoErrorForATextThatBecameANumber();
    void clearedValueCellKeepsThePointsValue();
    void labelsFollowEveryKeystroke();
    void doubleClickOpensTheColourDialogOnlyOnColourCells_data();
    void doubleClickOpensTheColourDialogOnlyOnColourCells();
    void colourCellsAreReadOnly();
    void countFillsOnlyEmptyCellsEvenWhenUnchanged();
    void saveWritesTheChosenTypeWhateverTheName_data();
    void saveWritesTheChosenTypeWhateverTheName();
    void saveFailureIsShownAndLeavesNoFile();
    void defaultExtensionFollowsTheType();
    void printGoesToTheProgramsPrinterWithoutADialog();
    void legendButtonsAndMenuEntries();
    void zoomInTwiceThenHundredPercentRestores();
    void dataTableTextByteForByte();
    void clipboardCarriesBitmapAndMetafile();
    void infoAndStartingState();

private:
    QLineEdit *startEditing(int column, int row);
    void type(const QString &keys);
    template <typename T = QAction>
    T *control(const QString &name) const { return m_form->findChild<T *>(name); }

    std::unique_ptr<ScriptedUiServices> m_ui;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<TDiagrammForm> m_form;
    QTableWidget *m_grid = nullptr;
    int m_beeps = 0;
};

void TstDiagrammForm::init()
{
    m_ui = std::make_unique<ScriptedUiServices>();
    m_printer = std::make_unique<QPrinter>();
    m_form = std::make_unique<TDiagrammForm>(*m_ui, *m_printer);
    m_beeps = 0;
    m_form->beep = [this] { ++m_beeps; };
    m_grid = control<QTableWidget>(u"SGrid"_s);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->setElementCount(2);
    m_form->writeCell(0, 1, u"Bar"_s);
    m_form->writeCell(1, 1, u"10"_s);
    m_form->writeCell(0, 2, u"Bank"_s);
    m_form->writeCell(1, 2, u"2,5"_s);
}

void TstDiagrammForm::cleanup()
{
    m_form.reset();
    m_printer.reset();
    m_ui.reset();
    kb::test::verifyNoUiProblems();
}

// Selects the cell (grid row numbering: 1 is the first data row) and opens its editor.
QLineEdit *TstDiagrammForm::startEditing(int column, int row)
{
    m_grid->setFocus();
    m_grid->setCurrentCell(row - 1, column);
    QTest::keyClick(m_grid, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (editor)
        editor->clear();
    return editor;
}

void TstDiagrammForm::type(const QString &keys)
{
    QTest::keyClicks(QApplication::focusWidget(), keys);
}

void TstDiagrammForm::keyFilterTurnsLettersIntoZero_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");
    QTest::newRow("letter a becomes 0 with a beep") << u"a"_s << u"0"_s << 1;
    QTest::newRow("capital letter, point, semicolon, equals") << u"1Z.;="_s << u"10000"_s << 4;
    QTest::newRow("comma, minus and digits pass") << u"-1,5"_s << u"-1,5"_s << 0;
}

void TstDiagrammForm::keyFilterTurnsLettersIntoZero()
{
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, beeps);
    QLineEdit *editor = startEditing(1, 1);
    QVERIFY(editor);
    type(keys);
    QCOMPARE(editor->text(), text);
    QCOMPARE(m_beeps, beeps);

    // In the label column every key passes.
    QLineEdit *label = startEditing(0, 2);
    type(u"a."_s);
    QCOMPARE(label->text(), u"a."_s);
    QCOMPARE(m_beeps, beeps);
}

void TstDiagrammForm::loneMinusShowsOneErrorThenTheNumberCounts()
{
    startEditing(1, 1);
    type(u"-"_s);
    QCoreApplication::processEvents();
    QCOMPARE(m_ui->takeErrors(), QStringList{u"'-' ist kein gültiger Gleitkommawert."_s});
    QCOMPARE(m_form->PSeries().points()[0].value, 10.0);
    type(u"5"_s);
    QCoreApplication::processEvents();
    QCOMPARE(m_form->PSeries().points()[0].value, -5.0);
    QCOMPARE(m_ui->shown.size(), 1);
}

void TstDiagrammForm::fastTypingShowsNoErrorForATextThatBecameANumber()
{
    startEditing(1, 1);
    type(u"-5"_s);
    QCoreApplication::processEvents();
    QCOMPARE(m_ui->shown.size(), 0);
    QCOMPARE(m_form->PSeries().points()[0].value, -5.0);

    // Two commas typed fast: the text stays wrong, one box tells it.
    type(u",1,"_s);
    QCoreApplication::processEvents();
    QCOMPARE(m_ui->takeErrors(), QStringList{u"'-5,1,' ist kein gültiger Gleitkommawert."_s});
    QCOMPARE(m_form->PSeries().points()[0].value, -5.1);
}

void TstDiagrammForm::clearedValueCellKeepsThePointsValue()
{
    QLineEdit *editor = startEditing(1, 2);
    type(u"7"_s);
    QCOMPARE(m_form->PSeries().points()[1].value, 7.0);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCoreApplication::processEvents();
    QCOMPARE(editor->text(), QString());
    QCOMPARE(m_form->PSeries().points()[1].value, 7.0);
    QCOMPARE(m_ui->shown.size(), 0);
}

void TstDiagrammForm::labelsFollowEveryKeystroke()
{
    startEditing(0, 1);
    type(u"Ka"_s);
    QCOMPARE(m_form->PSeries().points()[0].label, u"Ka"_s);
    type(u"sse"_s);
    QCOMPARE(m_form->PSeries().points()[0].label, u"Kasse"_s);
}

void TstDiagrammForm::doubleClickOpensTheColourDialogOnlyOnColourCells_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QColor>("answer");
    QTest::addColumn<bool>("asked");
    QTest::newRow("label cell: nothing") << 0 << QColor() << false;
    QTest::newRow("value cell: nothing") << 1 << QColor() << false;
    QTest::newRow("colour cell, cancelled") << 2 << QColor() << true;
    QTest::newRow("colour cell, blue chosen") << 2 << QColor(0, 0, 255) << true;
}

void TstDiagrammForm::doubleClickOpensTheColourDialogOnlyOnColourCells()
{
    QFETCH(int, column);
    QFETCH(QColor, answer);
    QFETCH(bool, asked);
    m_form->writeCell(2, 2, QString::number(0x0000FF));  // red in the platform form
    const QString before = m_form->cell(column, 2);
    if (asked)
        m_ui->colors << answer;
    m_grid->setCurrentCell(1, column);
    const QRect cell = m_grid->visualItemRect(m_grid->item(1, column));
    // QTest sends no press before its double click; a real one follows a click.
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, cell.center());

    QCOMPARE(m_ui->shown.size(), asked ? 1 : 0);
    if (asked)
        QCOMPARE(m_ui->shown.first().preset, QColor(255, 0, 0).name());
    if (answer.isValid()) {
        QCOMPARE(m_form->cell(2, 2), QString::number(0xFF0000));  // blue in the platform form
        QCOMPARE(m_form->PSeries().points()[1].color, answer);
    } else {
        QCOMPARE(m_form->cell(column, 2), before);
        QCOMPARE(m_form->PSeries().points()[1].color, QColor(255, 0, 0));
    }
}

void TstDiagrammForm::colourCellsAreReadOnly()
{
    m_grid->setCurrentCell(0, 2);
    QCOMPARE(m_grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    const QString colour = m_form->cell(2, 1);
    m_grid->setFocus();
    QTest::keyClicks(m_grid, u"12"_s);
    QCOMPARE(m_form->cell(2, 1), colour);
    m_grid->setCurrentCell(0, 0);
    QVERIFY(m_grid->editTriggers() & QAbstractItemView::AnyKeyPressed);
}

void TstDiagrammForm::countFillsOnlyEmptyCellsEvenWhenUnchanged()
{
    ScriptedUiServices ui;
    QPrinter printer;
    TDiagrammForm fresh(ui, printer);
    QCOMPARE(fresh.elementCount(), 8);
    QCOMPARE(fresh.PSeries().count(), 0);
    fresh.setElementCount(8);
    QCOMPARE(fresh.PSeries().count(), 8);
    for (int row = 1; row <= 8; ++row) {
        QVERIFY(QRegularExpression(u"^[a-x]$"_s).match(fresh.cell(0, row)).hasMatch());
        QVERIFY(fresh.cell(1, row).toInt() >= 0 && fresh.cell(1, row).toInt() <= 99);
        QVERIFY(fresh.cell(2, row).toInt() >= 0 && fresh.cell(2, row).toInt() <= 9999999);
        QCOMPARE(fresh.PSeries().points()[row - 1].value, fresh.cell(1, row).toDouble());
        QCOMPARE(fresh.PSeries().points()[row - 1].label, fresh.cell(0, row));
    }

    // Growing keeps what the cells hold and fills the new rows.
    m_form->setElementCount(3);
    QCOMPARE(m_form->cell(0, 1), u"Bar"_s);
    QCOMPARE(m_form->cell(1, 2), u"2,5"_s);
    QVERIFY(!m_form->cell(0, 3).isEmpty());
    QCOMPARE(m_form->PSeries().count(), 3);
    QCOMPARE(m_form->PSeries().points()[1].value, 2.5);
}

void TstDiagrammForm::saveWritesTheChosenTypeWhateverTheName_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<int>("at");
    QTest::newRow("bitmap") << u"Bitmaps (*.bmp)"_s << QByteArray("BM") << 0;
    QTest::newRow("enhanced metafile named chart.bmp") << u"Erweiterte Metadateien (*.emf)"_s << QByteArray(" EMF") << 40;
    QTest::newRow("plain metafile") << u"Metadateien (*.wmf)"_s << QByteArray("\xD7\xCD\xC6\x9A") << 0;
    QTest::newRow("PNG") << u"PNG-Bilder (*.png)"_s << QByteArray("\x89PNG") << 0;
    QTest::newRow("PDF") << u"PDF-Dokumente (*.pdf)"_s << QByteArray("%PDF") << 0;
}

void TstDiagrammForm::saveWritesTheChosenTypeWhateverTheName()
{
    QFETCH(QString, type);
    QFETCH(QByteArray, signature);
    QFETCH(int, at);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"chart.bmp"_s);
    m_ui->fileNames << path;
    m_ui->selectedFilters << type;
    control<QToolButton>(u"ToolButton12"_s)->click();
    QCOMPARE(m_ui->shown.size(), 1);
    QCOMPARE(m_ui->shown.first().text,
             u"Bitmaps (*.bmp);;Erweiterte Metadateien (*.emf);;Metadateien (*.wmf);;PNG-Bilder (*.png);;"
             "SVG-Grafiken (*.svg);;PDF-Dokumente (*.pdf)"_s);
    QCOMPARE(kb::testfiles::readBytes(path).mid(at, signature.size()), signature);
}

void TstDiagrammForm::saveFailureIsShownAndLeavesNoFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"gone/chart.emf"_s);
    m_ui->fileNames << path;
    m_ui->selectedFilters << u"Erweiterte Metadateien (*.emf)"_s;
    control(u"Speichernunter1"_s)->trigger();
    QCOMPARE(m_ui->takeErrors(),
             QStringList{u"Datei %1 kann nicht erstellt werden."_s.arg(path)});
    QCOMPARE(kb::testfiles::tree(dir.path()), QStringList());
}

void TstDiagrammForm::defaultExtensionFollowsTheType()
{
    const QStringList expected{u"bmp"_s, u"emf"_s, u"wmf"_s, u"png"_s, u"svg"_s, u"pdf"_s};
    for (int index = 0; index < expected.size(); ++index)
        QCOMPARE(TDiagrammForm::PicSaveDlgTypeChange(index), expected[index]);
}

void TstDiagrammForm::printGoesToTheProgramsPrinterWithoutADialog()
{
    QTemporaryDir dir;
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(dir.filePath(u"chart.pdf"_s));
    control<QToolButton>(u"ToolButton13"_s)->click();
    QCOMPARE(m_ui->shown.size(), 0);
    QVERIFY(kb::testfiles::readBytes(dir.filePath(u"chart.pdf"_s)).startsWith("%PDF"));
}

void TstDiagrammForm::legendButtonsAndMenuEntries()
{
    auto *top = control<QToolButton>(u"TBLegendTop"_s);
    QVERIFY(top->isChecked());
    QVERIFY(m_form->chart().legend.visible);

    control(u"Ohne1"_s)->trigger();
    QVERIFY(!m_form->chart().legend.visible);
    QVERIFY(top->isChecked());  // menu entries leave the pressed button alone
    control(u"Oben1"_s)->trigger();
    QVERIFY(m_form->chart().legend.visible);
    QCOMPARE(m_form->chart().legend.alignment, kb::Legend::Alignment::Top);

    control<QToolButton>(u"TBLegendLeft"_s)->click();
    QCOMPARE(m_form->chart().legend.alignment, kb::Legend::Alignment::Left);
    QVERIFY(!top->isChecked());
    control<QToolButton>(u"TBNoLegend"_s)->click();
    QVERIFY(!m_form->chart().legend.visible);
    QCOMPARE(m_form->chart().legend.alignment, kb::Legend::Alignment::Left);
}

void TstDiagrammForm::zoomInTwiceThenHundredPercentRestores()
{
    const kb::AxisRange start = m_form->chart().axisRange(kb::AxisPosition::Left);
    control<QToolButton>(u"ToolButton6"_s)->click();
    control(u"Vergrern1"_s)->trigger();
    QCOMPARE(m_form->chart().magnification(), 1 / 0.64);
    control<QToolButton>(u"ToolButton9"_s)->click();
    QVERIFY(!m_form->chart().isZoomed());
    QCOMPARE(m_form->chart().axisRange(kb::AxisPosition::Left), start);
    control<QToolButton>(u"ToolButton7"_s)->click();
    QCOMPARE(m_form->chart().magnification(), 1 / 1.2);
}

void TstDiagrammForm::dataTableTextByteForByte()
{
    control(u"Datentabellekopieren1"_s)->trigger();
    const QString expected = u"\r\nBar\r\nBank\r\n\r\n\r\n10\r\n2,5\r\n"_s;
    QCOMPARE(m_form->dataTableText(), expected);
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
}

void TstDiagrammForm::clipboardCarriesBitmapAndMetafile()
{
    control(u"Kopieren1"_s)->trigger();
    const QImage bitmap = QGuiApplication::clipboard()->image();
    QCOMPARE(bitmap.size(), m_form->findChild<QWidget *>(u"Chart"_s)->size());
    QCOMPARE(bitmap.pixelColor(1, 1), QColor(Qt::white));

    control(u"SpeziellesKopieren1"_s)->trigger();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data->data(u"image/x-emf"_s).mid(40, 4) == " EMF");
    QVERIFY(data->data(u"image/svg+xml"_s).contains("<svg"));
    QVERIFY(data->data(u"image/png"_s).startsWith("\x89PNG"));
}

void TstDiagrammForm::infoAndStartingState()
{
    control(u"Info1"_s)->trigger();
    QCOMPARE(m_ui->shown.size(), 1);
    QCOMPARE(m_ui->shown.first().kind, ScriptedUiServices::Kind::Information);
    QCOMPARE(m_ui->shown.first().text, u"Vuno Diagramm"_s);

    QCOMPARE(m_form->windowTitle(), u"Vuno Diagramm"_s);
    QCOMPARE(m_form->size(), QSize(600, 480));
    QVERIFY(m_form->PSeries().isAttached());
    QVERIFY(!m_form->LSeries().isAttached() && !m_form->BSeries().isAttached());
    auto *pie = control<QToolButton>(u"ToolButton14"_s);
    QVERIFY(pie->isChecked() && !pie->isEnabled());
    QCOMPARE(pie->text(), u"Kreis"_s);
    QVERIFY(!control<QSpinBox>(u"SpinEdit1"_s)->isEnabled());
    QCOMPARE(control<QLineEdit>(u"EditTitle"_s)->text(), u"Vuno Diagramm"_s);
    QCOMPARE(control<QLineEdit>(u"EditYAxis"_s)->text(), u"Titel von Achse"_s);
    QVERIFY(!control(u"Hilfe1"_s)->isEnabled());

    control<QLineEdit>(u"EditTitle"_s)->setText(u"Umsätze"_s);
    QCOMPARE(m_form->chart().title, QStringList{u"Umsätze"_s});
}

QTEST_MAIN(TstDiagrammForm)
#include "tst_diagrammform.moc"
