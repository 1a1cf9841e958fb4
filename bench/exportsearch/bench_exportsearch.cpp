// The export preview and the booking search at 1,000 / 10,000 / 100,000 bookings of one company
// (more with --max): "Export-Vorschau" over a period holding every booking of the company,
// from the statement to the text shown in the preview, and "Suche starten" with one text
// criterion that 1 % of the bookings hold, from the statement to the filled hit list.
// bench_exportsearch [--max N]

#include "Clock.h"
#include "DataDirectorySetup.h"
#include "Database.h"
#include "HelpViewer.h"
#include "ScriptedUiServices.h"
#include "SyntheticLedger.h"
#include "TDataForm.h"
#include "TExportForm.h"
#include "TSearchForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

using namespace kb;
using namespace Qt::StringLiterals;

namespace {

constexpr int Runs = 5;

struct Figure
{
    QString name;
    int bookings;
    double ms;
    double cpuMs;
    int rows;
};

// The processor time of the process: on a machine shared with other work it shows what the
// figure would be on a quiet one.
double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Medians of the elapsed and the processor time over Runs runs.
std::pair<double, double> measureRuns(const std::function<void()> &work)
{
    std::vector<double> elapsed;
    std::vector<double> cpu;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuMilliseconds();
        work();
        cpu.push_back(cpuMilliseconds() - cpuStart);
        elapsed.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return {median(elapsed), median(cpu)};
}

void setText(QWidget &dialog, const QString &name, const QString &text)
{
    dialog.findChild<QLineEdit *>(name)->setText(text);
}

std::vector<Figure> measure(int n)
{
    QTemporaryDir directory;
    DataDirectorySetup::create(directory.path());
    {
        Database db(DataDirectorySetup::databasePath(directory.path()));
        SyntheticLedger::fill(db, n, true);
        // Every hundredth booking of the company carries the word the search looks for.
        db.execute(u"UPDATE \"KASSE\" SET \"Text\" = 'Sonderposten Büro' WHERE \"Firma_ID\" = 1 AND \"Nr\" % 100 = 0"_s);
    }
    ScriptedUiServices ui;
    TDataForm data(directory.path(), ui);
    data.FirmaTable.locate(u"ID"_s, SyntheticLedger::CompanyId);
    FixedClock clock(QDate(2007, 3, 5));
    HelpViewer help(directory.filePath(u"kasse.hlp"_s));

    std::vector<Figure> figures;
    TExportForm exportForm(data, ui, clock, help);
    for (const auto &[name, text] : {std::pair{u"VonT"_s, u"1"_s}, {u"VonM"_s, u"1"_s}, {u"VonJ"_s, u"1990"_s},
                                     {u"BisT"_s, u"31"_s}, {u"BisM"_s, u"12"_s}, {u"BisJ"_s, u"2099"_s}})
        setText(exportForm, name, text);
    const auto [exportMs, exportCpuMs] = measureRuns([&] { exportForm.BtnPreviewClick(); });
    figures.push_back({u"export"_s, n, exportMs, exportCpuMs, int(exportForm.previewLines().size()) - 1});

    TSearchForm searchForm(data, ui);
    setText(searchForm, u"EditText"_s, u"SONDERPOSTEN"_s);
    const auto [searchMs, searchCpuMs] = measureRuns([&] { searchForm.BtnStartClick(); });
    figures.push_back(
        {u"search"_s, n, searchMs, searchCpuMs, searchForm.findChild<QTreeWidget *>()->topLevelItemCount()});
    return figures;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int max = 100000;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"--max"_s)
            max = args[i + 1].toInt();
    }

    std::printf("%-12s %9s %10s %10s %9s\n", "figure", "bookings", "ms", "cpu_ms", "rows");
    std::vector<Figure> all;
    for (int n : {1000, 10000, 100000, 1000000}) {
        if (n > max)
            break;
        for (const Figure &f : measure(n)) {
            std::printf("%-12s %9d %10.2f %10.2f %9d\n", qPrintable(f.name), f.bookings, f.ms, f.cpuMs, f.rows);
            all.push_back(f);
        }
        std::fflush(stdout);
    }
    for (const Figure &f : all)
        std::printf("BENCH %s n=%d ms=%.2f floor_ms=0\n", qPrintable(f.name), f.bookings, f.ms);
    return 0;
}
