#include "Chart.h"
#include "ChartPicture.h"
#include "EmfPlayer.h"

#include <QDir>
#include <QImage>
#include <QTest>

using namespace Qt::StringLiterals;
using kb::Chart;
using kb::Series;

// Small pies compared with reference pictures. The comparison forgives anti-aliasing and
// shading nuances but not a slice that moved, changed colour or was drawn in another order.
// To regenerate the references after an intended change of the drawing:
//   KB_REGENERATE_GOLDEN=1 build/tests/chartengine/tst_piepicture
// then look at tests/chartengine/data/*.png before committing them.
class TstPiePicture : public QObject
{
    Q_OBJECT

private slots:
    void pieMatchesItsReference_data();
    void pieMatchesItsReference();
    void comparisonNoticesSwappedSlices();
    void enhancedMetafileDrawsThePicture();
};

namespace {

const QSize pictureSize(160, 120);

// No text: fonts differ between machines, the geometry must not.
void fillPie(Chart &chart, bool threeD, bool swapped)
{
    chart.legend.visible = false;
    chart.frameVisible = false;
    chart.view3D.enabled = threeD;
    chart.view3D.elevation = 315;
    chart.view3D.rotation = 360;
    Series &series = chart.addSeries(Series::Kind::Pie, Qt::yellow);
    series.setMarksVisible(false);
    QList<std::pair<double, QColor>> slices{{50, QColor(220, 30, 30)}, {30, QColor(30, 150, 30)}, {20, QColor(30, 60, 220)}};
    if (swapped)
        std::swap(slices[0], slices[1]);
    for (const auto &[value, color] : slices)
        series.append(value, QString(), color);
}

QImage pie(bool threeD, bool swapped = false)
{
    Chart chart;
    fillPie(chart, threeD, swapped);
    return kb::ChartPicture::bitmap(chart, pictureSize);
}

// The share of pixels whose colour differs by more than a tolerance in any channel.
double differingShare(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 1;
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) > 60 || std::abs(p.green() - q.green()) > 60
                || std::abs(p.blue() - q.blue()) > 60)
                ++differing;
        }
    }
    return double(differing) / (a.width() * a.height());
}

constexpr double tolerated = 0.01;

} // namespace

void TstPiePicture::pieMatchesItsReference_data()
{
    QTest::addColumn<bool>("threeD");
    QTest::addColumn<QString>("reference");
    QTest::newRow("3D pie") << true << u"pie3d.png"_s;
    QTest::newRow("flat pie") << false << u"pie2d.png"_s;
}

void TstPiePicture::pieMatchesItsReference()
{
    QFETCH(bool, threeD);
    QFETCH(QString, reference);
    const QString path = QDir(QStringLiteral(KB_GOLDEN_DIR)).filePath(reference);
    const QImage actual = pie(threeD);
    if (qEnvironmentVariableIsSet("KB_REGENERATE_GOLDEN"))
        QVERIFY(actual.save(path, "PNG"));
    const QImage expected(path);
    if (expected.isNull())
        QFAIL(qPrintable(u"reference %1 missing; regenerate with KB_REGENERATE_GOLDEN=1"_s.arg(path)));
    const double share = differingShare(actual.convertToFormat(QImage::Format_RGB32),
                                        expected.convertToFormat(QImage::Format_RGB32));
    QVERIFY2(share <= tolerated, qPrintable(u"%1 % of the pixels differ from %2"_s.arg(share * 100).arg(path)));
}

void TstPiePicture::comparisonNoticesSwappedSlices()
{
    for (bool threeD : {true, false})
        QVERIFY(differingShare(pie(threeD), pie(threeD, true)) > tolerated * 5);
}

// The metafile played back shows what the bitmap shows: same places, colours and order.
void TstPiePicture::enhancedMetafileDrawsThePicture()
{
    for (bool threeD : {true, false}) {
        Chart chart;
        fillPie(chart, threeD, false);
        const QImage played = EmfPlayer::play(kb::ChartPicture::encode(chart, pictureSize, kb::PictureFormat::Emf), pictureSize);
        const double share = differingShare(played, kb::ChartPicture::bitmap(chart, pictureSize));
        QVERIFY2(share <= 0.03, qPrintable(u"%1 % of the pixels differ"_s.arg(share * 100)));
    }
}

QTEST_MAIN(TstPiePicture)
#include "tst_piepicture.moc"
