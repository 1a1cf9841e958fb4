#include "TemplateFile.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kb;
using namespace kb::report;
using namespace Qt::StringLiterals;

namespace {

// A template using every element and attribute the file knows.
ReportTemplate everything()
{
    ReportTemplate t;
    t.name = u"Alles"_s;
    t.page = PageSetup{297, 210, 10, 11, 12, 13};
    t.pageHeaderOnFirstPage = false;
    ReportObject text;
    text.name = u"Titel"_s;
    text.geometry = QRectF(1.5, 2, 80, 6);
    text.text = u"[Firma.Firma] <&> \"Übersicht\""_s;
    text.format = u"money"_s;
    text.font = TextFont{u"DejaVu Serif"_s, 11, true, true, true};
    text.color = QColor(0x11, 0x22, 0x33);
    text.fill = QColor(0xee, 0xee, 0xee);
    text.hAlign = HAlign::Center;
    text.vAlign = VAlign::Bottom;
    text.wordWrap = true;
    text.stretch = true;
    text.frame = Frame{true, false, true, true, 0.5, Qt::red};
    ReportObject line;
    line.kind = ObjectKind::Line;
    line.geometry = QRectF(0, 5, 100, 0);
    line.lineWidth = 0.4;
    ReportObject picture;
    picture.kind = ObjectKind::Picture;
    picture.geometry = QRectF(0, 0, 20, 10);
    picture.pictureType = u"svg"_s;
    picture.picture = QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
    ReportObject rect;
    rect.kind = ObjectKind::Rectangle;
    rect.geometry = QRectF(0, 0, 30, 8);
    t.pageHeader = Band{12, {text, line}};
    t.title = Band{8, {picture}};
    t.columnHeader = Band{6, {rect}};
    t.broughtForward = Band{5, {}};
    DataSection section;
    section.dataset = u"frDBDataSet3"_s;
    section.groups.push_back(Group{u"KontoNr"_s, true, true, Band{7, {}}, Band{8, {}}});
    section.groups.push_back(Group{u"Datum"_s, false, false, std::nullopt, Band{4, {}}});
    section.detail = Band{5, {text}};
    t.data.push_back(section);
    t.data.push_back(DataSection{});
    t.summary = Band{20, {}};
    t.carriedForward = Band{6, {}};
    t.pageFooter = Band{7, {}};
    return t;
}

} // namespace

class TstTemplateFile : public QObject
{
    Q_OBJECT

private slots:
    void everythingReadsBackAsWrittenAndWritesAgainTheSame()
    {
        const ReportTemplate t = everything();
        const QByteArray xml = TemplateFile::toXml(t);
        const ReportTemplate back = TemplateFile::fromXml(xml);
        QVERIFY(back == t);
        QCOMPARE(TemplateFile::toXml(back), xml);
    }

    void defaultsAreNotWritten()
    {
        ReportTemplate t;
        DataSection section;
        ReportObject o;
        o.geometry = QRectF(0, 0, 10, 5);
        o.text = u"[Datum]"_s;
        section.detail = Band{5, {o}};
        t.data.push_back(section);
        const QByteArray xml = TemplateFile::toXml(t);
        QCOMPARE(xml, QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<reportTemplate formatVersion=\"1\">\n"
                                 " <data>\n"
                                 "  <detail>\n"
                                 "   <text x=\"0\" y=\"0\" width=\"10\" height=\"5\">[Datum]</text>\n"
                                 "  </detail>\n"
                                 " </data>\n"
                                 "</reportTemplate>\n"));
    }

    void unreadableContentIsAnUnsupportedFormat_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("zero bytes") << QByteArray();
        QTest::newRow("binary") << QByteArray("\x00\x01TfrReport", 11);
        QTest::newRow("another root") << QByteArray("<report formatVersion=\"1\"/>");
        QTest::newRow("newer version") << QByteArray("<reportTemplate formatVersion=\"2\"/>");
        QTest::newRow("no version") << QByteArray("<reportTemplate/>");
        QTest::newRow("unknown band") << QByteArray("<reportTemplate formatVersion=\"1\"><footnote/></reportTemplate>");
        QTest::newRow("data without detail") << QByteArray("<reportTemplate formatVersion=\"1\"><data/></reportTemplate>");
        QTest::newRow("bad number") << QByteArray("<reportTemplate formatVersion=\"1\"><title height=\"x\"/></reportTemplate>");
        QTest::newRow("cut off") << QByteArray("<reportTemplate formatVersion=\"1\"><title height=\"5\">");
    }

    void unreadableContentIsAnUnsupportedFormat()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = testfiles::writeBytes(dir.filePath(u"x.frf"_s), content);
        try {
            TemplateFile::load(path);
            QFAIL("no error");
        } catch (const UnsupportedFormat &e) {
            QCOMPARE(e.text(), u"Unsupported FRF format"_s);
        }
    }

    void missingFileNamesThePath()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Data/Konten.frf"_s);
        try {
            TemplateFile::load(path);
            QFAIL("no error");
        } catch (const FileError &e) {
            QCOMPARE(e.text(), u"Datei %1 kann nicht geöffnet werden"_s.arg(path));
        }
    }
};

QTEST_MAIN(TstTemplateFile)
#include "tst_templatefile.moc"
