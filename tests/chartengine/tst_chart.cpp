#include "Chart.h"
#include "ChartData.h"
#include "ChartPicture.h"
#include "Errors.h"
#include "PieLabelLayout.h"
#include "PieRenderer.h"

#include <QPainter>
#include <QTest>

using namespace Qt::StringLiterals;
using kb::AxisPosition;
using kb::AxisRange;
using kb::Chart;
using kb::Series;

class TstChart : public QObject
{
    Q_OBJECT

private slots:
    void zoomNarrowsAndWidensEveryAxis_data();
    void zoomNarrowsAndWidensEveryAxis();
    void undoZoomRestoresTheAutomaticRanges();
    void pointsBeyondTheLastAreRefused_data();
    void pointsBeyondTheLastAreRefused();
    void onlyAttachedSeriesAreDrawn();
    void pieLabelsNeverOverlapNorLeaveTheArea_data();
    void pieLabelsNeverOverlapNorLeaveTheArea();
    void pieSlicesFollowThePositiveValues();
    void layoutLeavesOutTheLightestLabelsWhenASideIsFull();
    void chartDataDrawsInsideItsRectangle_data();
    void chartDataDrawsInsideItsRectangle();
};

namespace {

Series &barSeries(Chart &chart, const QList<double> &values)
{
    Series &series = chart.addSeries(Series::Kind::Bar, Qt::green);
    for (double value : values)
        series.append(value, u"p"_s, Qt::blue);
    return series;
}

} // namespace

void TstChart::zoomNarrowsAndWidensEveryAxis_data()
{
    QTest::addColumn<QList<double>>("percents");
    QTest::addColumn<AxisRange>("left");
    QTest::addColumn<AxisRange>("bottom");
    // Values 0…100 on the left, categories -0,5…3,5 at the bottom.
    QTest::newRow("110 % narrows by a tenth at both ends") << QList<double>{110} << AxisRange{10, 90} << AxisRange{-0.1, 3.1};
    QTest::newRow("twice 110 % works on the zoomed range") << QList<double>{110, 110} << AxisRange{18, 82}
                                                          << AxisRange{0.22, 2.78};
    QTest::newRow("90 % widens by a tenth at both ends") << QList<double>{90} << AxisRange{-10, 110} << AxisRange{-0.9, 3.9};
}

void TstChart::zoomNarrowsAndWidensEveryAxis()
{
    QFETCH(QList<double>, percents);
    QFETCH(AxisRange, left);
    QFETCH(AxisRange, bottom);
    Chart chart;
    barSeries(chart, {0, 40, 100, 60});
    for (double percent : percents)
        chart.zoomPercent(percent);
    for (auto [axis, expected] : {std::pair{AxisPosition::Left, left}, std::pair{AxisPosition::Right, left},
                                  std::pair{AxisPosition::Bottom, bottom}, std::pair{AxisPosition::Top, bottom}}) {
        QVERIFY(qFuzzyCompare(chart.axisRange(axis).minimum + 1000, expected.minimum + 1000));
        QVERIFY(qFuzzyCompare(chart.axisRange(axis).maximum, expected.maximum));
    }
}

void TstChart::undoZoomRestoresTheAutomaticRanges()
{
    Chart chart;
    barSeries(chart, {5, -20, 80});
    const AxisRange left = chart.axisRange(AxisPosition::Left);
    const QImage before = kb::ChartPicture::bitmap(chart, QSize(200, 150));
    chart.zoomPercent(110);
    chart.zoomPercent(110);
    QVERIFY(chart.isZoomed());
    QVERIFY(kb::ChartPicture::bitmap(chart, QSize(200, 150)) != before);
    chart.undoZoom();
    QVERIFY(!chart.isZoomed());
    QCOMPARE(chart.axisRange(AxisPosition::Left), left);
    QCOMPARE(left, (AxisRange{-20, 80}));
    QCOMPARE(kb::ChartPicture::bitmap(chart, QSize(200, 150)), before);
}

void TstChart::pointsBeyondTheLastAreRefused_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("one past the last") << 2;
    QTest::newRow("far beyond") << 100;
    QTest::newRow("negative") << -1;
}

void TstChart::pointsBeyondTheLastAreRefused()
{
    QFETCH(int, index);
    Chart chart;
    Series &series = barSeries(chart, {1, 2});
    QVERIFY_THROWS_EXCEPTION(kb::Error, series.setValue(index, 3));
    QVERIFY_THROWS_EXCEPTION(kb::Error, series.setLabel(index, u"x"_s));
    QVERIFY_THROWS_EXCEPTION(kb::Error, series.setPointColor(index, Qt::red));
    series.setValue(1, 7);
    series.setLabel(1, u"Bank"_s);
    QCOMPARE(series.points()[1].value, 7.0);
    QCOMPARE(series.points()[1].label, u"Bank"_s);
    QCOMPARE(series.count(), 2);
}

void TstChart::onlyAttachedSeriesAreDrawn()
{
    const QSize size(240, 180);
    Chart pieOnly;
    Series &pie = pieOnly.addSeries(Series::Kind::Pie, Qt::yellow);
    pie.append(3, u"Bar"_s, Qt::red);
    pie.append(1, u"Bank"_s, Qt::blue);

    Chart withDetached;
    Series &bars = barSeries(withDetached, {9, 9});
    Series &samePie = withDetached.addSeries(Series::Kind::Pie, Qt::yellow);
    samePie.append(3, u"Bar"_s, Qt::red);
    samePie.append(1, u"Bank"_s, Qt::blue);
    bars.setAttached(false);
    QCOMPARE(kb::ChartPicture::bitmap(withDetached, size), kb::ChartPicture::bitmap(pieOnly, size));

    bars.setAttached(true);
    samePie.setAttached(false);
    QVERIFY(kb::ChartPicture::bitmap(withDetached, size) != kb::ChartPicture::bitmap(pieOnly, size));

    bars.setAttached(false);
    QImage blank(size, QImage::Format_RGB32);
    blank.fill(Qt::white);
    withDetached.frameVisible = false;
    QCOMPARE(kb::ChartPicture::bitmap(withDetached, size), blank);
}

void TstChart::pieLabelsNeverOverlapNorLeaveTheArea_data()
{
    QTest::addColumn<int>("slices");
    QTest::addColumn<bool>("threeD");
    QTest::newRow("eight slices in 3D") << 8 << true;
    QTest::newRow("forty thin slices in 3D") << 40 << true;
    QTest::newRow("forty thin slices flat") << 40 << false;
    QTest::newRow("one slice") << 1 << true;
}

void TstChart::pieLabelsNeverOverlapNorLeaveTheArea()
{
    QFETCH(int, slices);
    QFETCH(bool, threeD);
    Series series(Series::Kind::Pie, Qt::yellow);
    for (int i = 0; i < slices; ++i)
        series.append(i % 3 ? 1 : 50, u"Konto mit einem langen Namen %1"_s.arg(i), Qt::red);
    kb::View3D view;
    view.enabled = threeD;
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    const QRectF area(10, 20, 380, 260);
    const kb::PieRenderer::Geometry geometry = kb::PieRenderer(series, view, 1).geometry(painter, area);

    QCOMPARE(geometry.slices.size(), slices);
    QList<QRectF> placed;
    for (const auto &label : geometry.labels) {
        if (label)
            placed.append(*label);
    }
    QVERIFY(!placed.isEmpty());
    for (qsizetype i = 0; i < placed.size(); ++i) {
        QVERIFY2(area.contains(placed[i]), qPrintable(u"label %1 leaves the area"_s.arg(i)));
        for (qsizetype j = i + 1; j < placed.size(); ++j)
            QVERIFY2(!placed[i].intersects(placed[j]), qPrintable(u"labels %1 and %2 overlap"_s.arg(i).arg(j)));
    }
    QVERIFY(area.contains(geometry.top.adjusted(0, 0, 0, geometry.depth)));
    QCOMPARE(geometry.depth > 0, threeD);
}

void TstChart::pieSlicesFollowThePositiveValues()
{
    Series series(Series::Kind::Pie, Qt::yellow);
    series.append(30, u"a"_s, Qt::red);
    series.append(0, u"zero"_s, Qt::green);
    series.append(-5, u"negative"_s, Qt::blue);
    series.append(10, u"b"_s, Qt::red);
    kb::View3D view;
    view.rotation = 360;
    QImage image(300, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    const auto geometry = kb::PieRenderer(series, view, 1).geometry(painter, QRectF(0, 0, 300, 200));
    QCOMPARE(geometry.slices.size(), 2);
    QCOMPARE(geometry.slices[0].point, 0);
    QCOMPARE(geometry.slices[0].startAngle, 0.0);
    QCOMPARE(geometry.slices[0].spanAngle, 270.0);
    QCOMPARE(geometry.slices[1].point, 3);
    QCOMPARE(geometry.slices[1].startAngle, 270.0);

    Series nothing(Series::Kind::Pie, Qt::yellow);
    nothing.append(0, u"zero"_s, Qt::green);
    QVERIFY(kb::PieRenderer(nothing, view, 1).geometry(painter, QRectF(0, 0, 300, 200)).slices.isEmpty());
}

void TstChart::layoutLeavesOutTheLightestLabelsWhenASideIsFull()
{
    // Three labels of 40 on the right of a 100 high area: only two fit, the lightest gives way.
    QList<kb::PieLabelLayout::Label> labels;
    for (double weight : {5.0, 1.0, 9.0})
        labels.append({QPointF(60, 50), true, QSizeF(30, 40), weight});
    const auto placed = kb::PieLabelLayout::place(labels, QRectF(0, 0, 100, 100), 50, 4);
    QVERIFY(placed[0].has_value());
    QVERIFY(!placed[1].has_value());
    QVERIFY(placed[2].has_value());
    QVERIFY(!placed[0]->intersects(*placed[2]));
    QVERIFY(QRectF(0, 0, 100, 100).contains(*placed[0]) && QRectF(0, 0, 100, 100).contains(*placed[2]));
}

void TstChart::chartDataDrawsInsideItsRectangle_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("pie") << int(Series::Kind::Pie);
    QTest::newRow("bars") << int(Series::Kind::Bar);
}

void TstChart::chartDataDrawsInsideItsRectangle()
{
    QFETCH(int, kind);
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    kb::ChartData data;
    data.kind = Series::Kind(kind);
    data.labels = QStringList{u"Bar"_s, u"Bank"_s};
    data.values = {3, 1};
    data.colors = {QColor(255, 0, 0)};  // the second colour comes from the palette
    const QRect rect(50, 40, 200, 120);
    data.draw(painter, rect);
    painter.end();
    int red = 0;
    int green = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (!rect.contains(x, y))
                QVERIFY2(pixel == QColor(Qt::white), qPrintable(u"drawn outside at %1, %2"_s.arg(x).arg(y)));
            red += pixel == QColor(255, 0, 0);
            green += pixel == QColor(0, 128, 0);
        }
    }
    QVERIFY(red > green && green > 0);
}

QTEST_MAIN(TstChart)
#include "tst_chart.moc"
