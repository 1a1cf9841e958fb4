// Drawing the chart window's 3D pie with N slices (the window allows up to 100,000), once as
// the bitmap the screen and the clipboard use and once as an enhanced metafile.
// bench_chart [--max N]

#include "Chart.h"
#include "ChartPicture.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int Runs = 5;
const QSize PictureSize(600, 420);

int slicesFromArguments(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--max") == 0)
            return std::max(1, std::atoi(argv[i + 1]));
    }
    return 100000;
}

void fill(kb::Chart &chart, int slices)
{
    chart.title = QStringList{QStringLiteral("Kontenübersicht vom 01.03.2007 bis zum 31.03.2007")};
    chart.legend.alignment = kb::Legend::Alignment::Top;
    chart.axesVisible = false;
    kb::Series &series = chart.addSeries(kb::Series::Kind::Pie, Qt::yellow);
    for (int i = 0; i < slices; ++i)
        series.append(1 + i % 97, QStringLiteral("Konto %1").arg(i), QColor::fromRgb(QRgb(i * 7919 % 0xFFFFFF)));
}

qint64 median(const std::function<void()> &work)
{
    std::vector<qint64> times;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.elapsed());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int max = slicesFromArguments(argc, argv);
    std::printf("%-30s %10s %10s\n", "3D-Kreis (Median von 5)", "Stücke", "ms");
    for (int slices : {8, 1000, max}) {
        if (slices > max)
            continue;
        kb::Chart chart;
        fill(chart, slices);
        const qint64 bitmap = median([&] { kb::ChartPicture::bitmap(chart, PictureSize); });
        const qint64 emf = median([&] { kb::ChartPicture::encode(chart, PictureSize, kb::PictureFormat::Emf); });
        std::printf("%-30s %10d %10lld\n", "Bitmap 600 x 420", slices, static_cast<long long>(bitmap));
        std::printf("%-30s %10d %10lld\n", "EMF 600 x 420", slices, static_cast<long long>(emf));
        std::printf("BENCH chart_bitmap n=%d ms=%lld floor_ms=0\n", slices, static_cast<long long>(bitmap));
        std::printf("BENCH chart_emf n=%d ms=%lld floor_ms=0\n", slices, static_cast<long long>(emf));
    }
    return 0;
}
