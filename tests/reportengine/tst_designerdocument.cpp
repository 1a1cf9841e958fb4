#include "DesignerDocument.h"
#include "TemplateFile.h"

#include <QTest>

using namespace kb::report;

// The designer's changes on a small template: a page header with two texts and a detail band
// with one.
class tst_DesignerDocument : public QObject
{
    Q_OBJECT

private:
    static ReportObject text(const QString &name, QRectF geometry)
    {
        ReportObject o;
        o.name = name;
        o.geometry = geometry;
        o.text = name;
        return o;
    }

    static ReportObject line()
    {
        ReportObject o;
        o.kind = ObjectKind::Line;
        return o;
    }

    static ReportTemplate smallTemplate()
    {
        ReportTemplate t;
        t.pageHeader = Band{20.0, {text(QStringLiteral("A"), {10, 2, 30, 5}), text(QStringLiteral("B"), {50, 8, 20, 5})}};
        t.data.push_back(DataSection{});
        t.data[0].detail = Band{6.0, {text(QStringLiteral("C"), {0, 0, 40, 5})}};
        return t;
    }

    const ObjectRef a{{BandRef::PageHeader}, 0};
    const ObjectRef b{{BandRef::PageHeader}, 1};

private slots:
    void bandsInPrintOrder()
    {
        ReportTemplate t = smallTemplate();
        t.summary = Band{};
        t.data[0].groups.push_back(Group{QStringLiteral("[KontoName]"), false, false, Band{}, Band{}});
        DesignerDocument doc(t);
        QStringList names;
        for (const BandRef &ref : doc.bands())
            names << doc.bandName(ref);
        QCOMPARE(names, QStringList({QStringLiteral("Page header"), QStringLiteral("Group header 1"), QStringLiteral("Detail"),
                                     QStringLiteral("Group footer 1"), QStringLiteral("Summary")}));
    }

    void multiObjectMoveIsOneUndoStep()
    {
        ReportTemplate t = smallTemplate();
        const ReportTemplate original = t;
        DesignerDocument doc(t);
        doc.moveObjects({a, b}, {5, 1});
        QCOMPARE(doc.undoStack().count(), 1);
        QCOMPARE(t.pageHeader->objects[0].geometry, QRectF(15, 3, 30, 5));
        QCOMPARE(t.pageHeader->objects[1].geometry, QRectF(55, 9, 20, 5));
        QVERIFY(doc.isModified());
        doc.undoStack().undo();
        QCOMPARE(t, original);
        QVERIFY(!doc.isModified());
        doc.undoStack().redo();
        QCOMPARE(t.pageHeader->objects[1].geometry, QRectF(55, 9, 20, 5));
    }

    void changesAndTheirUndo_data()
    {
        QTest::addColumn<std::function<void(DesignerDocument &)>>("step");
        QTest::addColumn<std::function<bool(const ReportTemplate &)>>("done");
        using Step = std::function<void(DesignerDocument &)>;
        using Check = std::function<bool(const ReportTemplate &)>;
        const ObjectRef a{{BandRef::PageHeader}, 0};
        const ObjectRef b{{BandRef::PageHeader}, 1};
        QTest::newRow("resize") << Step([=](DesignerDocument &d) { d.setGeometry(a, {10, 2, 45, 7}); })
                                << Check([](const ReportTemplate &t) { return t.pageHeader->objects[0].geometry == QRectF(10, 2, 45, 7); });
        QTest::newRow("align left to the first") << Step([=](DesignerDocument &d) { d.align({a, b}, Alignment::Left); })
                                                 << Check([](const ReportTemplate &t) { return t.pageHeader->objects[1].geometry.left() == 10; });
        QTest::newRow("align bottom") << Step([=](DesignerDocument &d) { d.align({a, b}, Alignment::Bottom); })
                                      << Check([](const ReportTemplate &t) { return t.pageHeader->objects[1].geometry.bottom() == 7; });
        QTest::newRow("band resize") << Step([](DesignerDocument &d) { d.resizeBand({BandRef::Detail, 0}, 9.5); })
                                     << Check([](const ReportTemplate &t) { return t.data[0].detail.height == 9.5; });
        QTest::newRow("band never negative") << Step([](DesignerDocument &d) { d.resizeBand({BandRef::Detail, 0}, -3); })
                                             << Check([](const ReportTemplate &t) { return t.data[0].detail.height == 0; });
        QTest::newRow("add") << Step([](DesignerDocument &d) { d.addObject({BandRef::Detail, 0}, line()); })
                             << Check([](const ReportTemplate &t) {
                                    return t.data[0].detail.objects.size() == 2 && t.data[0].detail.objects[1].kind == ObjectKind::Line;
                                });
        QTest::newRow("delete two, the later first") << Step([=](DesignerDocument &d) { d.deleteObjects({a, b}); })
                                                     << Check([](const ReportTemplate &t) { return t.pageHeader->objects.empty(); });
        QTest::newRow("delete one keeps the other") << Step([=](DesignerDocument &d) { d.deleteObjects({a}); })
                                                    << Check([](const ReportTemplate &t) {
                                                           return t.pageHeader->objects.size() == 1 && t.pageHeader->objects[0].name == QLatin1String("B");
                                                       });
        QTest::newRow("property on both") << Step([=](DesignerDocument &d) { d.setProperty({a, b}, *ObjectProperties::find(QStringLiteral("Bold")), true); })
                                          << Check([](const ReportTemplate &t) {
                                                 return t.pageHeader->objects[0].font.bold && t.pageHeader->objects[1].font.bold;
                                             });
        QTest::newRow("width property keeps the left") << Step([=](DesignerDocument &d) { d.setProperty({a}, *ObjectProperties::find(QStringLiteral("Width")), 12.5); })
                                                       << Check([](const ReportTemplate &t) { return t.pageHeader->objects[0].geometry == QRectF(10, 2, 12.5, 5); });
        QTest::newRow("alignment choice") << Step([=](DesignerDocument &d) { d.setProperty({a}, *ObjectProperties::find(QStringLiteral("Horizontal alignment")), 2); })
                                          << Check([](const ReportTemplate &t) { return t.pageHeader->objects[0].hAlign == HAlign::Right; });
    }

    void changesAndTheirUndo()
    {
        QFETCH(std::function<void(DesignerDocument &)>, step);
        QFETCH(std::function<bool(const ReportTemplate &)>, done);
        ReportTemplate t = smallTemplate();
        const ReportTemplate original = t;
        DesignerDocument doc(t);
        step(doc);
        QVERIFY(done(t));
        QCOMPARE(doc.undoStack().count(), 1);
        doc.undoStack().undo();
        QCOMPARE(t, original);
        doc.undoStack().redo();
        QVERIFY(done(t));
    }

    void aChangeThatChangesNothingIsNoStep()
    {
        ReportTemplate t = smallTemplate();
        DesignerDocument doc(t);
        doc.moveObjects({a}, {0, 0});
        doc.align({a}, Alignment::Left);
        QCOMPARE(doc.undoStack().count(), 0);
        QVERIFY(!doc.isModified());
    }

    void snapping_data()
    {
        QTest::addColumn<QPointF>("delta");
        QTest::addColumn<QRectF>("expected");
        QTest::addColumn<int>("guides");
        // A (10,2 30x5) is moved; B sits at 50..70 x 8..13.
        QTest::newRow("to the grid") << QPointF(1.1, -1.2) << QRectF(10, 0, 30, 5) << 0;
        QTest::newRow("right edge onto B's left") << QPointF(10.6, -1.0) << QRectF(20, 0, 30, 5) << 1;
        QTest::newRow("top onto B's bottom and left onto B's left") << QPointF(40.4, 10.7) << QRectF(50, 13, 30, 5) << 2;
    }

    void snapping()
    {
        QFETCH(QPointF, delta);
        QFETCH(QRectF, expected);
        QFETCH(int, guides);
        ReportTemplate t = smallTemplate();
        DesignerDocument doc(t);
        QCOMPARE(int(doc.snapMove({a}, delta).guides.size()), guides);
        doc.moveObjects({a}, delta, true);
        const QRectF g = t.pageHeader->objects[0].geometry;
        QVERIFY2(qAbs(g.left() - expected.left()) < 1e-9 && qAbs(g.top() - expected.top()) < 1e-9,
                 qPrintable(QStringLiteral("%1,%2").arg(g.left()).arg(g.top())));
    }

    void undoAfterDeleteRestoresTheFileForm()
    {
        ReportTemplate t = smallTemplate();
        const QByteArray before = TemplateFile::toXml(t);
        DesignerDocument doc(t);
        doc.deleteObjects({b});
        doc.resizeBand({BandRef::PageHeader}, 30);
        doc.undoStack().undo();
        doc.undoStack().undo();
        QCOMPARE(TemplateFile::toXml(t), before);
    }
};

QTEST_MAIN(tst_DesignerDocument)
#include "tst_designerdocument.moc"
