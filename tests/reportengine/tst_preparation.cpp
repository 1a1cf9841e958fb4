#include "MemoryDataset.h"

#include "Errors.h"

#include <QTest>

using namespace kb;
using namespace kb::report;
using namespace kb::test;
using namespace Qt::StringLiterals;

namespace {

std::vector<std::vector<Value>> bookings(int count)
{
    std::vector<std::vector<Value>> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({Value(qint64(i + 1)), Value(Money::fromUnits(11000 + i * 100)), Value(i < count / 2 ? u"A"_s : u"B"_s)});
    return rows;
}

// A ledger-like list: numbered rows with amounts, running totals carried from page to page.
ReportTemplate carriedTemplate()
{
    ReportTemplate t;
    t.columnHeader = Band{6, {textObject({}, 0, 20, u"Nr"_s)}};
    t.broughtForward = Band{5, {textObject(u"Vortrag"_s, 0, 40, u"[SUM(Betrag, running)]"_s)}};
    DataSection section;
    section.detail = Band{5, {textObject(u"Nr"_s, 0, 20, u"[Nr]"_s), textObject(u"Betrag"_s, 20, 30, u"[Betrag]"_s)}};
    t.data.push_back(section);
    t.carriedForward = Band{5, {textObject(u"Uebertrag"_s, 0, 40, u"[SUM(Betrag, running)]"_s)}};
    t.pageFooter = Band{6, {textObject({}, 0, 60, u"Seite [PAGE] von [PAGES]"_s)}};
    return t;
}

Money detailSum(const PreparedPage &page)
{
    Money sum;
    for (const Primitive &p : page.items) {
        if (p.band == BandKind::Detail && p.tag >= 0 && p.raw.type() == Value::Type::Money)
            sum += p.raw.toMoney();
    }
    return sum;
}

} // namespace

class TstPreparation : public QObject
{
    Q_OBJECT

private slots:
    void carriedTotalOfAPageIsBroughtForwardOnTheNext()
    {
        MemoryDataset rows({u"Nr"_s, u"Betrag"_s, u"Gruppe"_s}, bookings(150));
        DatasetRegistry datasets;
        datasets.add(u"D"_s, rows);
        const PreparedReport r = prepare(carriedTemplate(), datasets, u"D"_s);
        QVERIFY(r.pageCount() >= 3);
        Money running;
        for (int page = 0; page < r.pageCount(); ++page) {
            const PreparedPage &p = r.pages[size_t(page)];
            const QStringList brought = texts(p, BandKind::BroughtForward);
            const QStringList carried = texts(p, BandKind::CarriedForward);
            QCOMPARE(brought.size(), page == 0 ? 0 : 1);
            if (page > 0)
                QCOMPARE(brought.first(), FormatSettings().formatCurrency(running));
            running += detailSum(p);
            QCOMPARE(carried.size(), page == r.pageCount() - 1 ? 0 : 1);
            if (!carried.isEmpty())
                QCOMPARE(carried.first(), FormatSettings().formatCurrency(running));
            QCOMPARE(texts(p, BandKind::PageFooter), QStringList{u"Seite %1 von %2"_s.arg(page + 1).arg(r.pageCount())});
        }
    }

    void rowsNeverReachIntoTheReservedFooter()
    {
        MemoryDataset rows({u"Nr"_s, u"Betrag"_s, u"Gruppe"_s}, bookings(150));
        DatasetRegistry datasets;
        datasets.add(u"D"_s, rows);
        const ReportTemplate t = carriedTemplate();
        const PreparedReport r = prepare(t, datasets, u"D"_s);
        const double reserved = t.page.height - t.page.marginBottom - 5 - 6;
        for (const PreparedPage &page : r.pages) {
            for (const Primitive &p : page.items) {
                if (p.band == BandKind::Detail)
                    QVERIFY(p.y + p.height <= reserved + 0.001);
            }
        }
    }

    void dataBandWithoutDatasetPrintsTheMainDataset()
    {
        MemoryDataset two({u"Nr"_s}, {{Value(qint64(1))}, {Value(qint64(2))}});
        MemoryDataset three({u"Nr"_s}, {{Value(qint64(7))}, {Value(qint64(8))}, {Value(qint64(9))}});
        DatasetRegistry datasets;
        datasets.add(u"frDBDataSet1"_s, two);
        datasets.add(u"frDBDataSet3"_s, three);
        ReportTemplate t;
        DataSection section;
        section.detail = Band{5, {textObject(u"Nr"_s, 0, 20, u"[Nr]"_s)}};
        t.data.push_back(section);
        const PreparedReport r = prepare(t, datasets, u"frDBDataSet3"_s);
        QCOMPARE(texts(r.pages[0], BandKind::Detail), (QStringList{u"7"_s, u"8"_s, u"9"_s}));
        QCOMPARE(two.walks, 0);
    }

    void groupTotalsAreKnownInTheirHeaders()
    {
        MemoryDataset rows({u"Nr"_s, u"Betrag"_s, u"Gruppe"_s}, bookings(6));
        DatasetRegistry datasets;
        datasets.add(u"D"_s, rows);
        ReportTemplate t;
        DataSection section;
        const QString caption = u"[Gruppe]: [COUNT(group)] Zeilen, [SUM(Betrag, group)]"_s;
        section.groups.push_back(Group{u"Gruppe"_s, false, false, Band{5, {textObject({}, 0, 100, caption)}},
                                       Band{5, {textObject({}, 0, 100, caption)}}});
        section.detail = Band{5, {textObject(u"Nr"_s, 0, 20, u"[Nr]"_s)}};
        t.data.push_back(section);
        t.summary = Band{5, {textObject({}, 0, 100, u"[COUNT(report)] [MIN(Betrag, report)] [MAX(Betrag, report)] [AVG(Betrag, report)]"_s)}};
        const PreparedReport r = prepare(t, datasets, u"D"_s);
        const QStringList expected{u"A: 3 Zeilen, 3,33 €"_s, u"B: 3 Zeilen, 3,42 €"_s};
        QCOMPARE(texts(r.pages[0], BandKind::GroupHeader), expected);
        QCOMPARE(texts(r.pages[0], BandKind::GroupFooter), expected);
        QCOMPARE(texts(r.pages[0], BandKind::Summary), QStringList{u"6 1,10 € 1,15 € 1,13 €"_s});
    }

    void groupOnANewPageStartsOne()
    {
        MemoryDataset rows({u"Nr"_s, u"Betrag"_s, u"Gruppe"_s}, bookings(6));
        DatasetRegistry datasets;
        datasets.add(u"D"_s, rows);
        ReportTemplate t;
        DataSection section;
        section.groups.push_back(Group{u"Gruppe"_s, false, true, Band{5, {textObject({}, 0, 100, u"[Gruppe]"_s)}}, std::nullopt});
        section.detail = Band{5, {textObject(u"Nr"_s, 0, 20, u"[Nr]"_s)}};
        t.data.push_back(section);
        const PreparedReport r = prepare(t, datasets, u"D"_s);
        QCOMPARE(r.pageCount(), 2);
        QCOMPARE(texts(r.pages[1], BandKind::GroupHeader), QStringList{u"B"_s});
    }

    void groupKeptTogetherMovesWhole()
    {
        // 40 rows of group A fill most of the first page; B's 20 rows would be split.
        std::vector<std::vector<Value>> data;
        for (int i = 0; i < 60; ++i)
            data.push_back({Value(qint64(i + 1)), Value(Money()), Value(i < 40 ? u"A"_s : u"B"_s)});
        MemoryDataset rows({u"Nr"_s, u"Betrag"_s, u"Gruppe"_s}, data);
        DatasetRegistry datasets;
        datasets.add(u"D"_s, rows);
        ReportTemplate t;
        DataSection section;
        section.groups.push_back(Group{u"Gruppe"_s, true, false, Band{5, {textObject({}, 0, 100, u"[Gruppe]"_s)}}, std::nullopt});
        section.detail = Band{5, {textObject(u"Nr"_s, 0, 20, u"[Nr]"_s)}};
        t.data.push_back(section);
        const PreparedReport r = prepare(t, datasets, u"D"_s);
        QCOMPARE(r.pageCount(), 2);
        QCOMPARE(texts(r.pages[0], BandKind::Detail).size(), 40);
        QCOMPARE(texts(r.pages[1], BandKind::GroupHeader), QStringList{u"B"_s});
        QCOMPARE(texts(r.pages[1], BandKind::Detail).size(), 20);
    }

    void wrappedTextStretchesItsBand()
    {
        MemoryDataset rows({u"Text"_s}, {{Value(u"kurz"_s)}, {Value(QString(40, u'x').split(QString()).join(u' '))}, {Value(u"kurz"_s)}});
        DatasetRegistry datasets;
        datasets.add(u"D"_s, rows);
        ReportTemplate t;
        DataSection section;
        ReportObject text = textObject(u"Text"_s, 0, 30, u"[Text]"_s);
        text.wordWrap = true;
        text.stretch = true;
        section.detail = Band{5, {text, textObject(u"Rand"_s, 30, 10, u"[LINE]"_s)}};
        t.data.push_back(section);
        const PreparedReport r = prepare(t, datasets, u"D"_s);
        const auto &items = r.pages[0].items;
        QCOMPARE(items[0].height, 5.0f);
        QVERIFY(items[2].height > 10.0f);
        QCOMPARE(items[3].height, items[2].height); // the neighbour grows with its row
        QCOMPARE(items[4].y, items[2].y + items[2].height);
    }

    void templateWithoutBandsYieldsNoPage()
    {
        DatasetRegistry datasets;
        QVERIFY(prepare(ReportTemplate(), datasets, {}).isEmpty());
    }

    void cancelStopsThePreparation()
    {
        MemoryDataset rows({u"Nr"_s, u"Betrag"_s, u"Gruppe"_s}, bookings(150));
        DatasetRegistry datasets;
        datasets.add(u"D"_s, rows);
        QVERIFY_THROWS_EXCEPTION(Abort, prepare(carriedTemplate(), datasets, u"D"_s, [](int page) { return page < 2; }));
    }
};

QTEST_MAIN(TstPreparation)
#include "tst_preparation.moc"
