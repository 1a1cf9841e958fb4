#include "Chart.h"
#include "ChartPicture.h"
#include "EmfPaintEngine.h"
#include "Errors.h"
#include "WmfPaintEngine.h"

#include <QImage>
#include <QSet>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "TestFiles.h"

using namespace Qt::StringLiterals;
using kb::Chart;
using kb::ChartPicture;
using kb::PictureFormat;
using kb::Series;

class TstMetafile : public QObject
{
    Q_OBJECT

private slots:
    void emfRecordsFormAWellBuiltFile_data();
    void emfRecordsFormAWellBuiltFile();
    void wmfRecordsFormAWellBuiltFile_data();
    void wmfRecordsFormAWellBuiltFile();
    void zoomedPieIsClippedToItsArea();
    void svgAndPdfAreReadBack();
    void bitmapHasAWhiteGround();
    void saveWritesTheFormatWhateverTheName();
    void unwritablePathLeavesNoFile();
};

namespace {

const QSize pictureSize(320, 240);

void fill(Chart &chart, Series::Kind kind, bool threeD)
{
    chart.title = QStringList{u"Kontenübersicht"_s, u"März"_s};
    chart.view3D.enabled = threeD;
    chart.axesVisible = kind != Series::Kind::Pie;
    Series &series = chart.addSeries(kind, Qt::yellow);
    series.append(120, u"Büro"_s, QColor(200, 40, 40));
    series.append(80, u"Porto"_s, QColor(40, 160, 40));
    series.append(40, u"Erlöse"_s, QColor(40, 40, 200));
}

// The slices' colours in the metafile form 0x00BBGGRR.
QList<quint32> sliceColors()
{
    return {0x002828C8, 0x0028A028, 0x00C82828};
}

quint32 u32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 u16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

struct Record
{
    quint32 type;
    QByteArray bytes;
};

void addPictureKinds()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("threeD");
    QTest::newRow("3D pie") << int(Series::Kind::Pie) << true;
    QTest::newRow("flat pie") << int(Series::Kind::Pie) << false;
    QTest::newRow("3D bars with axes") << int(Series::Kind::Bar) << true;
    QTest::newRow("line") << int(Series::Kind::Line) << false;
}

} // namespace

void TstMetafile::emfRecordsFormAWellBuiltFile_data()
{
    addPictureKinds();
}

void TstMetafile::emfRecordsFormAWellBuiltFile()
{
    QFETCH(int, kind);
    QFETCH(bool, threeD);
    using Emf = kb::EmfPaintEngine;
    Chart chart;
    fill(chart, Series::Kind(kind), threeD);
    const QByteArray file = ChartPicture::encode(chart, pictureSize, PictureFormat::Emf);

    QList<Record> records;
    for (qsizetype at = 0; at < file.size();) {
        QVERIFY2(at + 8 <= file.size(), "a record runs past the end");
        const quint32 size = u32(file, at + 4);
        QVERIFY2(size >= 8 && size % 4 == 0 && at + size <= file.size(), qPrintable(u"bad size at %1"_s.arg(at)));
        records.append({u32(file, at), file.mid(at, size)});
        at += size;
    }
    const QByteArray &header = records.first().bytes;
    QCOMPARE(records.first().type, quint32(Emf::Header));
    QCOMPARE(u32(header, 40), quint32(0x464D4520));
    QCOMPARE(u32(header, 48), quint32(file.size()));
    QCOMPARE(u32(header, 52), quint32(records.size()));
    QCOMPARE(u32(header, 16), quint32(pictureSize.width() - 1));
    QCOMPARE(records.last().type, quint32(Emf::Eof));

    // Every object selected or deleted was created before and is not yet deleted.
    QSet<quint32> live;
    QSet<quint32> types;
    QSet<quint32> brushColors;
    for (const Record &record : records) {
        types.insert(record.type);
        if (record.type == Emf::CreateBrushIndirect)
            brushColors.insert(u32(record.bytes, 16));
        const quint32 handle = record.bytes.size() >= 12 ? u32(record.bytes, 8) : 0;
        switch (record.type) {
        case Emf::CreatePen:
        case Emf::CreateBrushIndirect:
        case Emf::ExtCreateFontIndirectW:
            QVERIFY2(!live.contains(handle), "a handle in use is created again");
            QVERIFY(handle < u16(header, 56));
            live.insert(handle);
            break;
        case Emf::SelectObject:
            QVERIFY(live.contains(handle));
            break;
        case Emf::DeleteObject:
            QVERIFY(live.remove(handle));
            break;
        default:
            break;
        }
    }
    for (quint32 type : {Emf::CreatePen, Emf::CreateBrushIndirect, Emf::ExtCreateFontIndirectW, Emf::ExtTextOutW})
        QVERIFY2(types.contains(type), qPrintable(u"no record of type %1"_s.arg(type)));
    if (threeD)
        QVERIFY2(types.contains(Emf::PolyPolygon16), "3D walls and faces are polygons");
    if (Series::Kind(kind) == Series::Kind::Pie)
        QVERIFY(types.contains(Emf::BeginPath) && types.contains(Emf::EndPath) && types.contains(Emf::StrokeAndFillPath));

    for (quint32 color : sliceColors())
        QVERIFY2(brushColors.contains(color), "every slice is filled in its colour");

    // The title's first line is there as UTF-16 text.
    QStringList texts;
    for (const Record &record : records) {
        if (record.type == Emf::ExtTextOutW) {
            const quint32 chars = u32(record.bytes, 44);
            const quint32 offset = u32(record.bytes, 48);
            texts << QString::fromUtf16(reinterpret_cast<const char16_t *>(record.bytes.constData() + offset), chars);
        }
    }
    QVERIFY2(texts.contains(u"Kontenübersicht"_s), qPrintable(texts.join(u'|')));
}

void TstMetafile::wmfRecordsFormAWellBuiltFile_data()
{
    addPictureKinds();
}

void TstMetafile::wmfRecordsFormAWellBuiltFile()
{
    QFETCH(int, kind);
    QFETCH(bool, threeD);
    using Wmf = kb::WmfPaintEngine;
    Chart chart;
    fill(chart, Series::Kind(kind), threeD);
    const QByteArray file = ChartPicture::encode(chart, pictureSize, PictureFormat::Wmf);

    QCOMPARE(u32(file, 0), Wmf::placeableKey);
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= u16(file, 2 * i);
    QCOMPARE(u16(file, 20), checksum);
    QCOMPARE(u16(file, 12), quint16(pictureSize.height()));
    const qsizetype header = Wmf::placeableSize;
    QCOMPARE(u16(file, header + 2), quint16(9));
    QCOMPARE(u32(file, header + 6) * 2, quint32(file.size() - header));

    quint32 largest = 0;
    QSet<quint16> functions;
    QList<QByteArray> texts;
    qsizetype at = header + 18;
    quint16 function = 0xFFFF;
    int objects = 0;
    QSet<quint32> brushColors;
    while (at < file.size()) {
        const quint32 words = u32(file, at);
        QVERIFY2(words >= 3 && at + words * 2 <= file.size(), qPrintable(u"bad record at %1"_s.arg(at)));
        function = u16(file, at + 4);
        functions.insert(function);
        largest = std::max(largest, words);
        if (function == Wmf::ExtTextOut)
            texts << file.mid(at + 14, u16(file, at + 10));
        if (function == Wmf::CreateBrushIndirect)
            brushColors.insert(u32(file, at + 8));
        if (function == Wmf::SelectObject)
            objects = std::max(objects, int(u16(file, at + 6)) + 1);
        at += words * 2;
        if (function == Wmf::Eof)
            break;
    }
    QCOMPARE(function, quint16(Wmf::Eof));
    QCOMPARE(at, file.size());
    QCOMPARE(u32(file, header + 12), largest);
    QVERIFY(u16(file, header + 10) >= objects);
    for (quint16 expected : {Wmf::CreatePenIndirect, Wmf::CreateBrushIndirect, Wmf::CreateFontIndirect,
                             Wmf::PolyPolygon, Wmf::ExtTextOut, Wmf::SelectObject})
        QVERIFY2(functions.contains(expected), qPrintable(u"no record 0x%1"_s.arg(expected, 0, 16)));
    for (quint32 color : sliceColors())
        QVERIFY2(brushColors.contains(color), "every slice is filled in its colour");
    // Text is in code page 1252: ü is one byte.
    QVERIFY(texts.contains(QByteArray("Konten\xFC" "bersicht")));
}

void TstMetafile::zoomedPieIsClippedToItsArea()
{
    using Emf = kb::EmfPaintEngine;
    Chart chart;
    fill(chart, Series::Kind::Pie, true);
    chart.zoomPercent(140);
    const QByteArray file = ChartPicture::encode(chart, pictureSize, PictureFormat::Emf);
    int depth = 0;
    QList<QRect> clips;
    for (qsizetype at = 0; at < file.size(); at += u32(file, at + 4)) {
        switch (u32(file, at)) {
        case Emf::SaveDc: ++depth; break;
        case Emf::RestoreDc: QVERIFY(--depth >= 0); break;
        case Emf::IntersectClipRect:
            clips << QRect(QPoint(u32(file, at + 8), u32(file, at + 12)), QPoint(u32(file, at + 16) - 1, u32(file, at + 20) - 1));
            break;
        }
    }
    QCOMPARE(depth, 0);
    QVERIFY(!clips.isEmpty());
    for (const QRect &clip : clips)
        QVERIFY(QRect(QPoint(0, 0), pictureSize).contains(clip) && clip.top() > 0);
}

void TstMetafile::svgAndPdfAreReadBack()
{
    Chart chart;
    fill(chart, Series::Kind::Pie, true);
    QSvgRenderer renderer(ChartPicture::encode(chart, pictureSize, PictureFormat::Svg));
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBox(), QRect(QPoint(0, 0), pictureSize));
    QVERIFY(ChartPicture::encode(chart, pictureSize, PictureFormat::Pdf).startsWith("%PDF-"));
}

void TstMetafile::bitmapHasAWhiteGround()
{
    Chart chart;
    fill(chart, Series::Kind::Pie, true);
    chart.frameVisible = false;
    QImage image;
    QVERIFY(image.loadFromData(ChartPicture::encode(chart, pictureSize, PictureFormat::Bmp), "BMP"));
    QCOMPARE(image.size(), pictureSize);
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
    QCOMPARE(image.pixelColor(pictureSize.width() - 1, pictureSize.height() - 1), QColor(Qt::white));
}

void TstMetafile::saveWritesTheFormatWhateverTheName()
{
    QTemporaryDir dir;
    Chart chart;
    fill(chart, Series::Kind::Pie, true);
    const QString path = dir.filePath(u"chart.bmp"_s);
    ChartPicture::save(chart, pictureSize, PictureFormat::Emf, path);
    QCOMPARE(u32(kb::testfiles::readBytes(path), 40), quint32(0x464D4520));
}

void TstMetafile::unwritablePathLeavesNoFile()
{
    QTemporaryDir dir;
    Chart chart;
    fill(chart, Series::Kind::Pie, true);
    const QString path = dir.filePath(u"missing/chart.emf"_s);
    try {
        ChartPicture::save(chart, pictureSize, PictureFormat::Emf, path);
        QFAIL("no error for a path that cannot be created");
    } catch (const kb::FileError &error) {
        QCOMPARE(error.text(), u"Datei %1 kann nicht erstellt werden"_s.arg(path));
    }
    QCOMPARE(kb::testfiles::tree(dir.path()), QStringList());
}

QTEST_MAIN(TstMetafile)
#include "tst_metafile.moc"
