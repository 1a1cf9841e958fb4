// Start of the program on a company with N already numbered bookings: from constructing the
// application objects to the main window shown on the company's first booking, offscreen.
// bench_startup [--max N]

#include "DataDirectorySetup.h"
#include "Errors.h"
#include "Database.h"
#include "Program.h"
#include "ScriptedUiServices.h"
#include "SyntheticLedger.h"
#include "TDataForm.h"
#include "TMainForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int Runs = 5;

int bookingsFromArguments(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--max") == 0)
            return std::max(1, std::atoi(argv[i + 1]));
    }
    return 100000;
}

// One start, in milliseconds; fails when the journal does not stand on the first booking.
qint64 timeStart(const QString &programDirectory)
{
    kb::ScriptedUiServices ui;
    QElapsedTimer timer;
    timer.start();
    kb::Program program(programDirectory, ui);
    program.show();
    QCoreApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    if (program.dataForm().KasseTable.fieldByName(QStringLiteral("lfdNr")).asInteger() != 1 || !ui.shown.isEmpty())
        throw kb::Error(QStringLiteral("the journal does not stand on its first booking"));
    return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int bookings = bookingsFromArguments(argc, argv);
    try {
        QTemporaryDir dir;
        kb::DataDirectorySetup::create(dir.path());
        {
            kb::Database db(kb::DataDirectorySetup::databasePath(dir.path()));
            kb::SyntheticLedger::fill(db, bookings, true);
        }
        std::vector<qint64> times;
        for (int run = 0; run < Runs; ++run)
            times.push_back(timeStart(dir.path()));
        std::sort(times.begin(), times.end());
        const qint64 median = times[times.size() / 2];
        std::printf("%-30s %10s %10s %10s\n", "Start (Median von 5)", "Buchungen", "ms", "max ms");
        std::printf("%-30s %10d %10lld %10lld\n", "Hauptfenster auf 1. Buchung", bookings,
                    static_cast<long long>(median), static_cast<long long>(times.back()));
        std::printf("BENCH startup n=%d ms=%lld floor_ms=0\n", bookings, static_cast<long long>(median));
    } catch (const kb::Error &error) {
        std::fprintf(stderr, "bench_startup: %s\n", error.what());
        return 1;
    }
    return 0;
}
