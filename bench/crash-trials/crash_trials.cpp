// Kills a program that stores, changes and deletes bookings through KasseTable at random moments
// and checks the file after every kill: SQLite's integrity check, the journal of every company
// right after the kill and after the next start of the data module, and that every operation the
// driver reported done is in the file.
// crash_trials [--trials N] [--bookings N] [--seed N]
// crash_trials --driver <program directory> <log file> <seed>   (started by the trials)

#include "DataDirectorySetup.h"
#include "Database.h"
#include "Errors.h"
#include "ScriptedUiServices.h"
#include "Statement.h"
#include "SyntheticLedger.h"
#include "TDataForm.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <optional>

using namespace kb;
using namespace Qt::StringLiterals;

namespace {

// The driver: endless random operations, each written to the log as "B <op> <Nr> <units>" before
// it starts and "D <Nr>" once post or delete returned. Ops: N new (Nr 0 until done), C amount
// changed, X deleted.
class Driver
{
public:
    Driver(const QString &programDirectory, const QString &logPath, quint32 seed)
        : m_data(programDirectory, m_ui), m_log(logPath), m_random(seed)
    {
        if (!m_log.open(QIODevice::WriteOnly | QIODevice::Append))
            throw Error(u"log not writable: "_s + logPath);
        Statement range = m_data.database()->prepare(u"SELECT min(\"Datum\"), max(\"Datum\") FROM \"KASSE\""_s);
        range.step();
        m_first = QDate::fromString(range.text(0), Qt::ISODate);
        m_days = int(m_first.daysTo(QDate::fromString(range.text(1), Qt::ISODate))) + 30;
    }

    [[noreturn]] void run()
    {
        for (int step = 0;; ++step) {
            const int what = m_random.bounded(10);
            Table &kasse = m_data.KasseTable;
            if (what < 5 || kasse.recordCount() == 0)
                storeNew(step);
            else if (what < 8)
                changeAmount();
            else
                remove();
        }
    }

private:
    qint64 someUnits() { return 100 + m_random.bounded(5000000); }

    void storeNew(int step)
    {
        Table &kasse = m_data.KasseTable;
        const qint64 units = someUnits();
        write(u"B N 0 %1"_s.arg(units));
        kasse.append();
        kasse.fieldByName(u"BelegNr"_s).setAsString(u"T-%1"_s.arg(step));
        kasse.fieldByName(u"Datum"_s).setAsDate(m_first.addDays(m_random.bounded(m_days)));
        kasse.fieldByName(u"Buchungsbetrag"_s).setAsMoney(Money::fromUnits(units));
        kasse.fieldByName(u"KontoID"_s).setAsInteger(m_random.bounded(2) == 0 ? 2 : 4);
        kasse.post();
        write(u"D %1"_s.arg(kasse.fieldByName(u"Nr"_s).asInteger()));
    }

    void changeAmount()
    {
        Table &kasse = m_data.KasseTable;
        kasse.moveTo(m_random.bounded(kasse.recordCount()));
        const qint64 nr = kasse.fieldByName(u"Nr"_s).asInteger();
        const qint64 units = someUnits();
        write(u"B C %1 %2"_s.arg(nr).arg(units));
        kasse.edit();
        kasse.fieldByName(u"Buchungsbetrag"_s).setAsMoney(Money::fromUnits(units));
        kasse.post();
        write(u"D %1"_s.arg(nr));
    }

    void remove()
    {
        Table &kasse = m_data.KasseTable;
        kasse.moveTo(m_random.bounded(kasse.recordCount()));
        const qint64 nr = kasse.fieldByName(u"Nr"_s).asInteger();
        write(u"B X %1 0"_s.arg(nr));
        kasse.deleteRecord();
        write(u"D %1"_s.arg(nr));
    }

    // Written through to the system at once: a killed process loses nothing it wrote.
    void write(const QString &line)
    {
        m_log.write(line.toLatin1() + '\n');
        m_log.flush();
    }

    ScriptedUiServices m_ui;
    TDataForm m_data;
    QFile m_log;
    QRandomGenerator m_random;
    QDate m_first;
    int m_days = 0;
};

// What the log says the file must hold: every booking an operation reported done touched, by Nr,
// with its amount or deleted; the one operation under way may or may not have happened.
struct Expectation
{
    QHash<qint64, std::optional<qint64>> done;
    int operationsDone = 0;
    qint64 countChange = 0;
    // The operation under way when the driver died, if any.
    QChar pendingOp;
    qint64 pendingNr = 0;
    qint64 pendingUnits = 0;

    static Expectation fromLog(const QString &path)
    {
        Expectation e;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return e;
        for (const QByteArray &raw : file.readAll().split('\n')) {
            const QList<QByteArray> parts = raw.split(' ');
            if (parts.size() == 4 && parts[0] == "B") {
                e.pendingOp = QChar::fromLatin1(parts[1].at(0));
                e.pendingNr = parts[2].toLongLong();
                e.pendingUnits = parts[3].toLongLong();
            } else if (parts.size() == 2 && parts[0] == "D" && !e.pendingOp.isNull()) {
                const qint64 nr = parts[1].toLongLong();
                ++e.operationsDone;
                if (e.pendingOp == u'X') {
                    e.done[nr] = std::nullopt;
                    --e.countChange;
                } else {
                    e.done[nr] = e.pendingUnits;
                    e.countChange += e.pendingOp == u'N' ? 1 : 0;
                }
                e.pendingOp = QChar();
            }
        }
        return e;
    }
};

// Whether every company's journal holds lfdNr 1 … n and the running balance, computed here from
// the stored amounts alone.
bool everyJournalRight(const Database &db)
{
    Statement rows = db.prepare(
        u"SELECT \"Firma_ID\", \"lfdNr\", \"Zeilenbestand\", \"Buchungsbetrag\", \"Minuskonto\" FROM \"KASSE\""
        " ORDER BY \"Firma_ID\", \"Datum\", \"Nr\""_s);
    qint64 company = -1;
    qint64 k = 0;
    Money balance;
    while (rows.step()) {
        if (rows.integer(0) != company) {
            company = rows.integer(0);
            k = 0;
            balance = Money();
        }
        ++k;
        const Money amount = rows.isNull(3) ? Money() : Money::fromDouble(rows.real(3));
        balance += rows.integer(4) == 1 ? -amount : amount;
        if (rows.isNull(1) || rows.integer(1) != k || rows.isNull(2) || Money::fromDouble(rows.real(2)) != balance)
            return false;
    }
    return true;
}

bool intact(const Database &db)
{
    Statement check = db.prepare(u"PRAGMA integrity_check"_s);
    return check.step() && check.text(0) == u"ok"_s;
}

std::optional<qint64> storedUnits(const Database &db, qint64 nr)
{
    Statement row = db.prepare(u"SELECT \"Buchungsbetrag\" FROM \"KASSE\" WHERE \"Nr\" = ?1"_s);
    row.bindInteger(1, nr);
    if (!row.step())
        return std::nullopt;
    return Money::fromDouble(row.real(0)).units();
}

qint64 bookingCount(const Database &db)
{
    Statement count = db.prepare(u"SELECT count(*) FROM \"KASSE\""_s);
    count.step();
    return count.integer(0);
}

// Whether an operation reported done is missing or undone.
bool lostSomething(const Database &db, const Expectation &e, qint64 countBefore)
{
    for (auto it = e.done.constBegin(); it != e.done.constEnd(); ++it) {
        const std::optional<qint64> stored = storedUnits(db, it.key());
        if (stored == *it)
            continue;
        const bool underWay = it.key() == e.pendingNr && e.pendingOp != u'N';
        const std::optional<qint64> pendingState =
            e.pendingOp == u'X' ? std::nullopt : std::optional<qint64>(e.pendingUnits);
        if (!underWay || stored != pendingState)
            return true;
    }
    const qint64 count = bookingCount(db) - countBefore - e.countChange;
    const qint64 allowed = e.pendingOp == u'N' ? 1 : e.pendingOp == u'X' ? -1 : 0;
    return count != 0 && count != allowed;
}

int driverMain(char *argv[])
{
    try {
        Driver(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), quint32(std::atoll(argv[4]))).run();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "driver: %s\n", error.what());
        return 1;
    }
}

int argument(int argc, char *argv[], const char *name, int fallback)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0)
            return std::max(1, std::atoi(argv[i + 1]));
    }
    return fallback;
}

void copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        throw Error(u"cannot copy "_s + from);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 5 && std::strcmp(argv[1], "--driver") == 0)
        return driverMain(argv);
    QCoreApplication application(argc, argv);
    const int trials = argument(argc, argv, "--trials", 200);
    const int bookings = argument(argc, argv, "--bookings", 20000);
    QRandomGenerator random(quint32(argument(argc, argv, "--seed", 20261210)));
    try {
        QTemporaryDir dir;
        const QString program = dir.filePath(u"Kassenbuch"_s);
        DataDirectorySetup::create(program);
        const QString database = DataDirectorySetup::databasePath(program);
        const QString pristine = dir.filePath(u"pristine.db"_s);
        {
            Database db(database);
            SyntheticLedger::fill(db, bookings, true);
        }
        copyFile(database, pristine);
        const qint64 countBefore = [&] { Database db(database); return bookingCount(db); }();

        int corrupt = 0, broken = 0, brokenAfterStart = 0, lost = 0, failed = 0;
        int operations = 0, killedUnderWay = 0;
        for (int trial = 0; trial < trials; ++trial) {
            copyFile(pristine, database);
            QFile::remove(database + u"-journal"_s);
            const QString log = dir.filePath(u"trial.log"_s);
            QFile::remove(log);
            QProcess driver;
            driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            driver.start(QCoreApplication::applicationFilePath(),
                         {u"--driver"_s, program, log, QString::number(random.generate())});
            if (!driver.waitForStarted())
                throw Error(u"the driver does not start"_s);
            // From the opening of the tables into the middle of long walks.
            QThread::msleep(50 + random.bounded(2500));
            if (driver.state() != QProcess::Running)
                ++failed;
            driver.kill();
            driver.waitForFinished();

            const Expectation expected = Expectation::fromLog(log);
            operations += expected.operationsDone;
            killedUnderWay += expected.pendingOp.isNull() ? 0 : 1;
            {
                Database db(database);
                const bool ok = intact(db);
                corrupt += ok ? 0 : 1;
                if (ok) {
                    broken += everyJournalRight(db) ? 0 : 1;
                    lost += lostSomething(db, expected, countBefore) ? 1 : 0;
                }
            }
            try {
                ScriptedUiServices ui;
                TDataForm started(program, ui);
            } catch (const Error &) {
                ++brokenAfterStart;
                continue;
            }
            Database db(database);
            brokenAfterStart += everyJournalRight(db) ? 0 : 1;
        }
        std::printf("%d Versuche: %d Operationen gemeldet, %d Abbrüche mitten in einer Operation\n", trials,
                    operations, killedUnderWay);
        std::printf("BENCH crash_trials trials=%d corrupt=%d broken=%d broken_after_start=%d lost=%d\n", trials,
                    corrupt, broken, brokenAfterStart, lost);
        if (failed > 0)
            std::fprintf(stderr, "crash_trials: the driver ended by itself in %d trials\n", failed);
        return corrupt + broken + brokenAfterStart + lost + failed == 0 ? 0 : 1;
    } catch (const Error &error) {
        std::fprintf(stderr, "crash_trials: %s\n", error.what());
        return 2;
    }
}
