#include "MemoryDataset.h"

#include "CsvExport.h"
#include "Errors.h"
#include "FrpFile.h"
#include "HtmlExport.h"
#include "PageView.h"
#include "PdfFileExport.h"
#include "PreviewWindow.h"
#include "PrinterOutput.h"
#include "RtfExport.h"
#include "ScriptedUiServices.h"
#include "TestFiles.h"
#include "TextExport.h"

#include <QAction>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kb;
using namespace kb::report;
using namespace kb::test;
using namespace Qt::StringLiterals;

namespace {

PreparedReport threePages()
{
    std::vector<std::vector<Value>> rows;
    for (int i = 0; i < 130; ++i)
        rows.push_back({Value(u"Zeile %1; \"zitiert\""_s.arg(i)), Value(Money::fromUnits(12345 * (i + 1))), Value(QDate(2007, 3, 1).addDays(i % 28))});
    MemoryDataset data({u"Text"_s, u"Betrag"_s, u"Datum"_s}, rows);
    DatasetRegistry datasets;
    datasets.add(u"D"_s, data);
    ReportTemplate t;
    ReportObject title = textObject({}, 0, 100, u"Übersicht {Ä}"_s, 8);
    title.font.bold = true;
    t.pageHeader = Band{8, {title}};
    DataSection section;
    ReportObject amount = textObject(u"Betrag"_s, 100, 30, u"[Betrag]"_s);
    amount.hAlign = HAlign::Right;
    amount.format = u"number:2"_s;
    section.detail = Band{5, {textObject(u"Datum"_s, 0, 25, u"[Datum]"_s), textObject(u"Text"_s, 25, 75, u"[Text]"_s), amount}};
    t.data.push_back(section);
    t.pageFooter = Band{6, {textObject({}, 0, 60, u"Seite [PAGE] von [PAGES]"_s)}};
    return prepare(t, datasets, u"D"_s);
}

} // namespace

class TstOutputs : public QObject
{
    Q_OBJECT

private:
    PreparedReport m_report = threePages();
    TextExport m_text;
    RtfExport m_rtf;
    CsvExport m_csv;
    HtmlExport m_html;
    PdfFileExport m_pdf;
    std::vector<const ReportExport *> m_exports{&m_text, &m_rtf, &m_csv, &m_html, &m_pdf};

private slots:
    void preparedReportFileReadsBackEqual()
    {
        QVERIFY(m_report.pageCount() >= 3);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"bericht.frp"_s);
        FrpFile::save(m_report, path);
        QVERIFY(FrpFile::load(path) == m_report);
        testfiles::writeBytes(path, "KBFRP but not really");
        QVERIFY_THROWS_EXCEPTION(Error, FrpFile::load(path));
    }

    void csvHoldsTheRowsWithRawValues()
    {
        const QStringList lines = CsvExport::lines(m_report);
        QCOMPARE(lines.size(), 131);
        QCOMPARE(lines[0], u"Datum;Text;Betrag"_s);
        QCOMPARE(lines[1], u"01.03.2007;\"Zeile 0; \"\"zitiert\"\"\";1,2345"_s);
        QCOMPARE(lines[130], u"18.03.2007;\"Zeile 129; \"\"zitiert\"\"\";160,485"_s);
    }

    void drawingFreeExportsKeepPagesAndCharacters()
    {
        const QString text = TextExport::text(m_report);
        QCOMPARE(text.count(u'\f'), m_report.pageCount() - 1);
        QVERIFY(text.contains(u"01.03.2007      Zeile 0; \"zitiert\""_s));
        const QByteArray rtf = RtfExport::rtf(m_report);
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi"));
        QCOMPARE(rtf.count("\\page\n"), m_report.pageCount() - 1);
        QVERIFY(rtf.contains("\\b \\fs18 \\u220?bersicht \\{\\u196?\\}"));
        const QString html = HtmlExport::html(m_report, u"Bericht"_s);
        QCOMPARE(html.count(u"<table class=\"page\">"_s), m_report.pageCount());
        QVERIFY(html.contains(u"Zeile 0; &quot;zitiert&quot;"_s));
        QVERIFY(html.contains(u"Seite 3 von %1"_s.arg(m_report.pageCount())));
    }

    void saveOffersTheFormatsInOrderAndGivesTheNameTheirExtension_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::newRow("CSV under a .txt name") << u"CSV File (*.csv)"_s << u"x.txt"_s << u"x.csv"_s;
        QTest::newRow("text without extension") << u"ASCII Text file (*.txt)"_s << u"bericht"_s << u"bericht.txt"_s;
        QTest::newRow("report file") << u"Report file (*.frp)"_s << u"bericht.htm"_s << u"bericht.frp"_s;
        QTest::newRow("HTML") << u"HTML file (*.htm)"_s << u"b.html"_s << u"b.htm"_s;
        QTest::newRow("RTF") << u"Rich Text file (*.rtf)"_s << u"b"_s << u"b.rtf"_s;
        QTest::newRow("PDF") << u"PDF file (*.pdf)"_s << u"b"_s << u"b.pdf"_s;
    }

    void saveOffersTheFormatsInOrderAndGivesTheNameTheirExtension()
    {
        QFETCH(QString, filter);
        QFETCH(QString, name);
        QFETCH(QString, written);
        QTemporaryDir dir;
        ScriptedUiServices ui;
        QPrinter printer;
        PreviewWindow preview(m_report, ui, printer, m_exports, false, PreviewButtons{});
        QCOMPARE(preview.saveFilters(), u"Report file (*.frp);;ASCII Text file (*.txt);;Rich Text file (*.rtf);;"
                                        "CSV File (*.csv);;HTML file (*.htm);;PDF file (*.pdf)"_s);
        ui.fileNames << dir.filePath(name);
        ui.selectedFilters << filter;
        preview.action(u"save"_s)->trigger();
        QCOMPARE(ui.texts(ScriptedUiServices::Kind::Error), QStringList());
        QCOMPARE(testfiles::tree(dir.path()), QStringList{written});
    }

    void withoutPrinterPrintIsDisabledAndSaveStillWorks()
    {
        ScriptedUiServices ui;
        QPrinter printer;
        PreviewWindow without(m_report, ui, printer, m_exports, false, PreviewButtons{});
        QVERIFY(!without.action(u"print"_s)->isEnabled());
        QVERIFY(without.action(u"save"_s)->isEnabled());
        PreviewWindow with(m_report, ui, printer, m_exports, true, PreviewButtons{});
        QVERIFY(with.action(u"print"_s)->isEnabled());
    }

    void printingSendsThePageRangeAsOftenAsAsked()
    {
        if (QStandardPaths::findExecutable(u"pdfinfo"_s).isEmpty())
            QSKIP("pdfinfo (poppler-utils) is not installed");
        QTemporaryDir dir;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(u"gedruckt.pdf"_s));
        PrinterOutput::print(m_report, printer, 2, 3, 2);
        QProcess info;
        info.start(u"pdfinfo"_s, {printer.outputFileName()});
        QVERIFY(info.waitForFinished());
        QCOMPARE(QString::fromUtf8(info.readAllStandardOutput()).section(u"Pages:"_s, 1).section(u'\n', 0, 0).trimmed(), u"4"_s);
    }

    void loadShowsTheSavedReport()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"alt.frp"_s);
        PreparedReport small = m_report;
        small.pages.resize(1);
        FrpFile::save(small, path);
        ScriptedUiServices ui;
        QPrinter printer;
        PreparedReport shown = m_report;
        PreviewWindow preview(shown, ui, printer, m_exports, false, PreviewButtons{});
        ui.fileNames << path;
        preview.action(u"load"_s)->trigger();
        QVERIFY(shown == small);
    }

    void findMarksEveryHitAndStepsThroughThem()
    {
        ScriptedUiServices ui;
        QPrinter printer;
        PreviewWindow preview(m_report, ui, printer, m_exports, false, PreviewButtons{});
        preview.resize(800, 600);
        QCOMPARE(preview.find(u"ZEILE 12"_s), 11); // 12 and 120 to 129
        QCOMPARE(preview.currentPage(), 0);
        preview.findNext(1);
        QCOMPARE(preview.currentPage(), 2);
        preview.findNext(-1);
        QCOMPARE(preview.currentPage(), 0);
        QCOMPARE(preview.find(u"nirgends"_s), 0);
    }

    void pagesAreRenderedOnlyWhenInSight()
    {
        PreparedReport big = m_report;
        while (big.pageCount() < 60)
            big.pages.push_back(m_report.pages[1]);
        ScriptedUiServices ui;
        QPrinter printer;
        PreviewWindow preview(big, ui, printer, m_exports, false, PreviewButtons{});
        preview.resize(800, 600);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        preview.goToPage(big.pageCount() - 1);
        QCoreApplication::processEvents();
        QVERIFY(preview.view().renderedPages() >= 1);
        QVERIFY(preview.view().renderedPages() <= 4);
        QCOMPARE(preview.currentPage(), big.pageCount() - 1);
    }
};

QTEST_MAIN(TstOutputs)
#include "tst_outputs.moc"
