// The cash book report at 10,000 and 100,000 bookings of one company: preparing it from
// KasseTable through the standard template (both passes, every page), the heap its pages hold and
// the process's peak resident size,
// writing its PDF, and the time the preview needs to show its first page.
// bench_report [--max N]

#include "DataDirectorySetup.h"
#include "Database.h"
#include "FormatSettings.h"
#include "PageView.h"
#include "PdfExport.h"
#include "PreviewWindow.h"
#include "ReportComponents.h"
#include "ScriptedUiServices.h"
#include "SyntheticLedger.h"
#include "TDataForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <malloc.h>

#include <cstdio>
#include <ctime>
#include <functional>

using namespace kb;
using namespace Qt::StringLiterals;

namespace {

double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Wall time; *cpu (when given) receives the processor time the process spent, which a machine
// shared with other work inflates less.
double milliseconds(const std::function<void()> &work, double *cpu = nullptr)
{
    QElapsedTimer timer;
    const double cpuStart = cpuMilliseconds();
    timer.start();
    work();
    if (cpu)
        *cpu = cpuMilliseconds() - cpuStart;
    return double(timer.nsecsElapsed()) / 1e6;
}

qint64 heapBytesInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

// The process's peak resident size so far (VmHWM), in MB.
double peakResidentMb()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

struct Figures
{
    double prepareMs = 0;
    double prepareCpuMs = 0;
    double pdfCpuMs = 0;
    double prepareMb = 0;
    double peakMb = 0;
    int pages = 0;
    double pdfMs = 0;
    double firstPageMs = 0;
};

Figures measure(int bookings, bool pdf)
{
    QTemporaryDir dir;
    DataDirectorySetup::create(dir.path());
    {
        Database db(DataDirectorySetup::databasePath(dir.path()));
        SyntheticLedger::fill(db, bookings, true);
    }
    ScriptedUiServices ui;
    FormatSettings formats;
    QPrinter printer;
    TDataForm data(dir.path(), ui);
    ReportComponents reports(data, ui, formats, printer);
    reports.frReport1.showProgress = false;
    reports.frReport1.loadTemplate(reports.templatePath(u"Kassenbuch.frf"_s));
    data.FirmaTable.edit();
    data.FirmaTable.fieldByName(u"Print1"_s).setAsString(u"01.01.2000 bis 31.12.2030"_s);

    Figures f;
    const qint64 before = heapBytesInUse();
    qint64 peak = before;
    f.prepareMs = milliseconds([&] { reports.frReport1.prepareReport(); }, &f.prepareCpuMs);
    peak = std::max(peak, heapBytesInUse());
    f.prepareMb = double(peak - before) / (1024.0 * 1024.0);
    f.peakMb = peakResidentMb();
    f.pages = reports.frReport1.preparedReport().pageCount();
    if (pdf)
        f.pdfMs = milliseconds([&] { report::PdfExport::write(reports.frReport1.preparedReport(), dir.filePath(u"k.pdf"_s)); }, &f.pdfCpuMs);
    f.firstPageMs = milliseconds([&] {
        report::PreviewWindow preview(reports.frReport1.preparedReport(), ui, printer, reports.frReport1.exports(), false, {});
        preview.resize(1200, 900);
        preview.show();
        QCoreApplication::processEvents();
        preview.view().viewport()->repaint();
    });
    return f;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    int max = 100000;
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"--max"_s)
            max = args[i + 1].toInt();
    }
    std::printf("%-10s %9s %7s %10s %8s %8s %8s %12s\n", "figure", "bookings", "pages", "prepare_ms", "heap_mb", "peak_mb",
                "pdf_ms", "1st_page_ms");
    QStringList lines;
    for (const int n : {10000, 100000}) {
        if (n > max)
            continue;
        const bool pdf = n <= 10000;
        const Figures f = measure(n, pdf);
        std::printf("%-10s %9d %7d %10.1f %8.1f %8.1f %8.1f %12.1f\n", "cash book", n, f.pages, f.prepareMs, f.prepareMb,
                    f.peakMb, f.pdfMs, f.firstPageMs);
        lines << u"BENCH report_prepare n=%1 ms=%2 floor_ms=0 cpu_ms=%3 heap_mb=%4 peak_rss_mb=%5 pages=%6"_s.arg(n)
                     .arg(f.prepareMs, 0, 'f', 1).arg(f.prepareCpuMs, 0, 'f', 1).arg(f.prepareMb, 0, 'f', 1)
                     .arg(f.peakMb, 0, 'f', 1).arg(f.pages);
        if (pdf)
            lines << u"BENCH report_pdf n=%1 ms=%2 floor_ms=0 cpu_ms=%3"_s.arg(n).arg(f.pdfMs, 0, 'f', 1).arg(f.pdfCpuMs, 0, 'f', 1);
        lines << u"BENCH report_first_page n=%1 ms=%2 floor_ms=0"_s.arg(n).arg(f.firstPageMs, 0, 'f', 1);
    }
    for (const QString &line : lines)
        std::printf("%s\n", qPrintable(line));
    return 0;
}
