// The journal's figures at 1,000 / 10,000 / 100,000 bookings of one company (and 1,000,000 with
// --max 1000000), each beside the raw SQLite floor of the same run: opening KasseTable, moving
// through every booking, a walk writing two fields of every booking through a second cursor, the
// two balance sums, and storing one booking at the end and one at the start through KasseTable
// with every rule, the walk and the refresh. Also the memory a cursor over the journal takes.
// bench_ledger [--max N]

#include "DataDirectorySetup.h"
#include "Database.h"
#include "ScriptedUiServices.h"
#include "Statement.h"
#include "SyntheticLedger.h"
#include "TDataForm.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace kb;
using namespace Qt::StringLiterals;

namespace {

struct Figure
{
    QString name;
    int bookings;
    double ms;
    double floorMs;
};

double milliseconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Heap bytes in use: unlike the resident size, not hidden by memory freed earlier and reused.
qint64 heapBytesInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

const QString JournalOrder = u" FROM \"KASSE\" WHERE \"Firma_ID\" = 1 ORDER BY \"Datum\", \"Nr\""_s;

// The floor of opening: the ordered row ids of the company.
void rawIds(const Database &db)
{
    Statement ids = db.prepare(u"SELECT rowid"_s + JournalOrder);
    while (ids.step())
        ids.integer(0);
}

// The floor of a scan: every column of every booking in journal order.
void rawScan(const Database &db)
{
    Statement rows = db.prepare(u"SELECT *"_s + JournalOrder);
    while (rows.step()) {
        for (int column = 0; column < rows.columnCount(); ++column)
            rows.value(column);
    }
}

// The floor of a walk: one transaction that reads the journal and writes lfdNr and
// Zeilenbestand of every booking by row id; offset shifts both so that every row really changes.
void rawWalk(Database &db, int offset)
{
    struct Booking { qint64 id; qint64 units; };
    std::vector<Booking> bookings;
    Statement rows = db.prepare(u"SELECT rowid, \"Buchungsbetrag\", \"Minuskonto\""_s + JournalOrder);
    while (rows.step()) {
        const qint64 units = Money::fromDouble(rows.real(1)).units();
        bookings.push_back({rows.integer(0), rows.integer(2) == 1 ? -units : units});
    }
    Transaction transaction(db);
    Statement update = db.prepare(u"UPDATE \"KASSE\" SET \"lfdNr\" = ?1, \"Zeilenbestand\" = ?2 WHERE rowid = ?3"_s);
    qint64 balance = offset;
    for (size_t k = 0; k < bookings.size(); ++k) {
        balance += bookings[k].units;
        update.reset();
        update.bindInteger(1, qint64(k) + 1 + offset);
        update.bindDouble(2, Money::fromUnits(balance).toDouble());
        update.bindInteger(3, bookings[k].id);
        update.run();
    }
    transaction.commit();
}

// The floor of the sums: the two statements of a store, straight to SQLite.
void rawSums(const Database &db)
{
    for (const QString &flag : {u"= 1"_s, u"<> 1"_s}) {
        Statement sum = db.prepare(
            u"SELECT sum(\"Buchungsbetrag\") FROM \"KASSE\" WHERE \"Minuskonto\" %1 AND \"Firma_ID\" = 1"_s.arg(flag));
        sum.step();
    }
}

void scan(Table &table)
{
    const Field &amount = table.fieldByName(u"Buchungsbetrag"_s);
    for (table.first(); !table.eof(); table.next())
        amount.asMoney();
}

// The benchmark's own walk: two fields of every booking through EditKasseTable, one transaction.
void cursorWalk(TDataForm &data, int offset)
{
    Table &journal = data.EditKasseTable;
    Field &lfdNr = journal.fieldByName(u"lfdNr"_s);
    Field &balance = journal.fieldByName(u"Zeilenbestand"_s);
    Transaction transaction(*data.database());
    int k = 0;
    for (journal.first(); !journal.eof(); journal.next()) {
        journal.edit();
        lfdNr.setAsInteger(++k + offset);
        balance.setAsMoney(balance.asMoney() + Money::fromInteger(offset));
        journal.post();
    }
    transaction.commit();
}

void store(TDataForm &data, const QDate &date, int serial)
{
    Table &kasse = data.KasseTable;
    kasse.append();
    kasse.fieldByName(u"Datum"_s).setAsDate(date);
    kasse.fieldByName(u"BelegNr"_s).setAsString(u"Z-%1"_s.arg(serial));
    kasse.fieldByName(u"Buchungsbetrag"_s).setAsString(u"12,34"_s);
    kasse.fieldByName(u"KontoID"_s).setAsInteger(2);
    kasse.fieldByName(u"Text"_s).setAsString(u"Tageseinnahmen"_s);
    kasse.post();
}

// A cursor of its own over the company's journal, opened and moved through: what it holds.
double cursorMegabytes(TDataForm &data)
{
    const qint64 before = heapBytesInUse();
    Table cursor(data.database());
    cursor.setTableName(u"KASSE.ADT"_s);
    cursor.setIndexName(u"FIRMA_ID"_s);
    cursor.setMasterSource(&data.FirmaSource, {u"ID"_s}, {u"Firma_ID"_s});
    cursor.open();
    scan(cursor);
    return double(heapBytesInUse() - before) / (1024.0 * 1024.0);
}

// Samples of a figure and of its floor, taken in turn so that both see the same load.
struct Samples
{
    std::vector<double> ms;
    std::vector<double> floorMs;
};

Figure figure(const QString &name, int n, const Samples &samples, const std::vector<double> &floorMs)
{
    return {name, n, median(samples.ms), floorMs.empty() ? 0.0 : median(floorMs)};
}

Figure alternating(const QString &name, int n, int runs, const std::function<void()> &work,
                   const std::function<void()> &floor)
{
    Samples samples;
    for (int i = 0; i < runs; ++i) {
        samples.ms.push_back(milliseconds(work));
        samples.floorMs.push_back(milliseconds(floor));
    }
    return figure(name, n, samples, samples.floorMs);
}

std::vector<Figure> measure(int n, double &cursorMb)
{
    QTemporaryDir directory;
    DataDirectorySetup::create(directory.path());
    {
        Database db(DataDirectorySetup::databasePath(directory.path()));
        SyntheticLedger::fill(db, n, true);
    }
    ScriptedUiServices ui;
    TDataForm data(directory.path(), ui);
    Database &db = *data.database();
    const int runs = n >= 1000000 ? 3 : 5;
    std::vector<Figure> figures;

    figures.push_back(alternating(u"open"_s, n, runs, [&] {
        data.KasseTable.close();
        data.KasseTable.open();
    }, [&] { rawIds(db); }));
    figures.push_back(alternating(u"scan"_s, n, runs, [&] { scan(data.KasseTable); }, [&] { rawScan(db); }));
    figures.push_back(alternating(u"sums"_s, n, runs, [&] { data.BalanceBefore(QString()); }, [&] { rawSums(db); }));

    // Every raw walk writes changed values; the one with offset 0 leaves the journal right again.
    std::vector<double> walkFloor;
    const auto sampleFloor = [&] {
        walkFloor.push_back(milliseconds([&] { rawWalk(db, 1); }));
        walkFloor.push_back(milliseconds([&] { rawWalk(db, 0); }));
    };
    Samples walk;
    Samples rebalance;
    for (int i = 0; i < runs; ++i) {
        data.EditKasseTable.refresh();
        walk.ms.push_back(milliseconds([&] { cursorWalk(data, 1); }));
        rebalance.ms.push_back(milliseconds([&] { data.RenumberAndRebalance(); }));
        sampleFloor();
    }

    const QDate last = QDate(2000, 1, 1).addDays((n - 1) / 8);
    int serial = 0;
    data.KasseTable.last();
    Samples storeEnd;
    Samples storeStart;
    for (int i = 0; i < runs; ++i) {
        storeEnd.ms.push_back(milliseconds([&] { store(data, last.addDays(1), ++serial); }));
        storeStart.ms.push_back(milliseconds([&] { store(data, QDate(1999, 12, 31), ++serial); }));
        sampleFloor();
    }
    figures.push_back(figure(u"walk"_s, n, walk, walkFloor));
    figures.push_back(figure(u"rebalance"_s, n, rebalance, walkFloor));
    figures.push_back(figure(u"store_end"_s, n, storeEnd, walkFloor));
    figures.push_back(figure(u"store_start"_s, n, storeStart, walkFloor));

    cursorMb = cursorMegabytes(data);
    return figures;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int max = 100000;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"--max"_s)
            max = args[i + 1].toInt();
    }

    std::printf("%-12s %9s %10s %10s %7s\n", "figure", "bookings", "ms", "floor_ms", "ratio");
    std::vector<Figure> all;
    for (int n : {1000, 10000, 100000, 1000000}) {
        if (n > max)
            break;
        double cursorMb = 0;
        const std::vector<Figure> figures = measure(n, cursorMb);
        for (const Figure &f : figures) {
            std::printf("%-12s %9d %10.2f %10.2f %7.2f\n", qPrintable(f.name), f.bookings, f.ms, f.floorMs,
                        f.floorMs > 0 ? f.ms / f.floorMs : 0.0);
            all.push_back(f);
        }
        std::printf("%-12s %9d %9.1f MB\n", "cursor", n, cursorMb);
        std::fflush(stdout);
    }
    for (const Figure &f : all)
        std::printf("BENCH %s n=%d ms=%.2f floor_ms=%.2f\n", qPrintable(f.name), f.bookings, f.ms, f.floorMs);
    return 0;
}
