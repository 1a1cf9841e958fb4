// Adding to and extracting from a backup archive of 50 MB of mixed files (a SQLite database and
// text), each against the raw floor of a plain zlib loop over the same bytes with 64 KiB buffers.
// bench_archive [--mb N] [--max N]; --max belongs to the other benchmarks and is ignored.

#include "TZLBArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <zlib.h>

#include <cstdio>
#include <functional>
#include <limits>
#include <stdexcept>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 BufferSize = 64 * 1024;
constexpr int Runs = 5;

const QStringList Texts = {u"Bürobedarf"_s, u"Porto"_s, u"Tankquittung"_s, u"Bewirtung Kunde"_s,
                           u"Reinigungsmittel"_s, u"Kaffee für Büro"_s, u"Parkgebühr"_s, u"Zeitschriften"_s};

void check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

void exec(sqlite3 *db, const char *sql)
{
    check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK, sqlite3_errmsg(db));
}

qint64 fileSize(const QString &path)
{
    return QFileInfo(path).size();
}

// A journal table with its index, grown until the database file reaches the wanted size.
void makeDatabase(const QString &path, qint64 wantedBytes, QRandomGenerator &random)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK, "cannot create the database");
    exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
             "CREATE TABLE KASSE (Nr INTEGER PRIMARY KEY, Firma_ID INTEGER, Datum TEXT, BelegNr TEXT,"
             " Konto TEXT, Buchungsbetrag REAL, MwSt REAL, Text TEXT, Zeilenbestand REAL);"
             "CREATE INDEX KASSE_DATUM ON KASSE (Firma_ID, Datum, Nr);");
    sqlite3_stmt *insert = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO KASSE VALUES (NULL, 1, ?, ?, ?, ?, 19, ?, ?)", -1, &insert, nullptr)
              == SQLITE_OK,
          sqlite3_errmsg(db));
    double balance = 0;
    for (int row = 0; fileSize(path) < wantedBytes;) {
        exec(db, "BEGIN");
        for (const int end = row + 20000; row < end; ++row) {
            const double amount = random.bounded(100000) / 100.0;
            balance += amount;
            const QByteArray date = u"%1-%2-%3"_s.arg(2020 + row / 100000).arg(1 + row / 8000 % 12, 2, 10, QChar(u'0'))
                                        .arg(1 + row % 28, 2, 10, QChar(u'0')).toUtf8();
            const QByteArray receipt = u"B-%1"_s.arg(row, 7, 10, QChar(u'0')).toUtf8();
            const QByteArray account = u"Konto %1"_s.arg(4000 + random.bounded(60)).toUtf8();
            const QByteArray text = Texts.at(random.bounded(int(Texts.size()))).toUtf8();
            sqlite3_bind_text(insert, 1, date.constData(), int(date.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, receipt.constData(), int(receipt.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, account.constData(), int(account.size()), SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 4, amount);
            sqlite3_bind_text(insert, 5, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 6, balance);
            check(sqlite3_step(insert) == SQLITE_DONE, sqlite3_errmsg(db));
            sqlite3_reset(insert);
        }
        exec(db, "COMMIT");
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

// Export-like lines of bookings, semicolon separated, CR LF.
void makeText(const QString &path, qint64 wantedBytes, QRandomGenerator &random)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly), "cannot create a text file");
    for (qint64 written = 0, row = 0; written < wantedBytes; ++row) {
        const QByteArray line = u"%1.%2.2024;B-%3;%4;%5,%6;19;%7\r\n"_s.arg(1 + row % 28, 2, 10, QChar(u'0'))
                                    .arg(1 + row / 3000 % 12, 2, 10, QChar(u'0')).arg(row, 6, 10, QChar(u'0'))
                                    .arg(Texts.at(random.bounded(int(Texts.size()))))
                                    .arg(random.bounded(1000)).arg(random.bounded(100), 2, 10, QChar(u'0'))
                                    .arg(random.bounded(10000)).toUtf8();
        check(file.write(line) == line.size(), "cannot write a text file");
        written += line.size();
    }
}

QStringList makeMixedFiles(const QString &directory, qint64 totalBytes)
{
    QDir().mkpath(directory);
    QRandomGenerator random(2024);
    const QString database = directory + u"/kassenbuch.db"_s;
    makeDatabase(database, totalBytes * 3 / 5, random);
    QStringList files = {database};
    const qint64 textBytes = (totalBytes - fileSize(database)) / 4;
    for (int i = 1; i <= 4; ++i) {
        files << directory + u"/export%1.csv"_s.arg(i);
        makeText(files.constLast(), textBytes, random);
    }
    return files;
}

struct Timing
{
    double ms = std::numeric_limits<double>::max();
    double floorMs = std::numeric_limits<double>::max();
};

double elapsedMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// The best of several rounds, floor and work taking turns so that a load from elsewhere on the
// machine hits both alike. Each round's output is removed untimed, before its unwritten pages
// pile up and the kernel starts to hold writers back.
Timing measure(const std::function<void(int round)> &floor, const std::function<void(int round)> &work,
               const std::function<void(int round)> &cleanUp)
{
    Timing timing;
    for (int round = 0; round < Runs; ++round) {
        timing.floorMs = std::min(timing.floorMs, elapsedMs([&] { floor(round); }));
        timing.ms = std::min(timing.ms, elapsedMs([&] { work(round); }));
        cleanUp(round);
    }
    return timing;
}

// Reads every file in 64 KiB chunks and deflates it into one output file through a 64 KiB buffer.
void deflateFloor(const QStringList &files, const QString &outputPath)
{
    QFile output(outputPath);
    check(output.open(QIODevice::WriteOnly | QIODevice::Unbuffered), "cannot create the floor output");
    std::vector<char> in(BufferSize);
    std::vector<Bytef> out(BufferSize);
    for (const QString &path : files) {
        QFile file(path);
        check(file.open(QIODevice::ReadOnly | QIODevice::Unbuffered), "cannot read an input file");
        z_stream stream{};
        deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
        int flush = Z_NO_FLUSH;
        while (flush != Z_FINISH) {
            const qint64 got = file.read(in.data(), BufferSize);
            flush = got < BufferSize ? Z_FINISH : Z_NO_FLUSH;
            stream.next_in = reinterpret_cast<Bytef *>(in.data());
            stream.avail_in = uInt(std::max<qint64>(got, 0));
            do {
                stream.next_out = out.data();
                stream.avail_out = BufferSize;
                deflate(&stream, flush);
                output.write(reinterpret_cast<char *>(out.data()), BufferSize - stream.avail_out);
            } while (stream.avail_out == 0);
        }
        deflateEnd(&stream);
    }
}

// Inflates every member's stream from the archive into a file of its own through 64 KiB buffers.
void inflateFloor(const QString &archivePath, const QList<kb::TZLBEntry> &entries, const QString &directory)
{
    QDir().mkpath(directory);
    QFile archive(archivePath);
    check(archive.open(QIODevice::ReadOnly | QIODevice::Unbuffered), "cannot read the archive");
    std::vector<char> in(BufferSize);
    std::vector<Bytef> out(BufferSize);
    for (const kb::TZLBEntry &entry : entries) {
        QFile output(directory + u'/' + entry.fileName);
        check(output.open(QIODevice::WriteOnly | QIODevice::Unbuffered), "cannot create a floor output");
        archive.seek(entry.dataOffset);
        z_stream stream{};
        inflateInit(&stream);
        int status = Z_OK;
        while (status == Z_OK) {
            const qint64 got = archive.read(in.data(), BufferSize);
            check(got > 0, "archive ends inside a stream");
            stream.next_in = reinterpret_cast<Bytef *>(in.data());
            stream.avail_in = uInt(got);
            do {
                stream.next_out = out.data();
                stream.avail_out = BufferSize;
                status = inflate(&stream, Z_NO_FLUSH);
                output.write(reinterpret_cast<char *>(out.data()), BufferSize - stream.avail_out);
            } while (status == Z_OK && stream.avail_out == 0);
        }
        check(status == Z_STREAM_END, "broken stream");
        inflateEnd(&stream);
    }
}

qint64 parseMegabytes(const QStringList &arguments)
{
    const qsizetype option = arguments.indexOf(u"--mb"_s);
    return option >= 0 ? arguments.value(option + 1).toLongLong() : 50;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const qint64 megabytes = parseMegabytes(QCoreApplication::arguments());
    try {
        QTemporaryDir work;
        check(work.isValid(), "no temporary directory");
        const QStringList files = makeMixedFiles(work.filePath(u"Data"_s), megabytes * 1000 * 1000);
        qint64 bytes = 0;
        for (const QString &file : files)
            bytes += fileSize(file);
        const auto archiveName = [&](int run) { return work.filePath(u"daten%1.zlb"_s.arg(run)); };

        const Timing add = measure([&](int round) { deflateFloor(files, work.filePath(u"floor%1.z"_s.arg(round))); },
                                   [&](int round) {
                                       kb::TZLBArchive archive;
                                       archive.CreateArchive(archiveName(round));
                                       QStringList list = files;
                                       check(archive.AddFiles(list), "adding failed");
                                   },
                                   [&](int round) {
                                       QFile::remove(work.filePath(u"floor%1.z"_s.arg(round)));
                                       // The first archive is kept for the extraction.
                                       if (round > 0)
                                           QFile::remove(archiveName(round));
                                   });

        kb::TZLBArchive reader;
        reader.OpenArchive(archiveName(0));
        QList<kb::TZLBEntry> entries;
        for (int i = 0; i < reader.FileCount(); ++i)
            entries << reader.GetFileEntry(i);
        const Timing extract = measure(
            [&](int round) { inflateFloor(archiveName(0), entries, work.filePath(u"floor-out%1"_s.arg(round))); },
            [&](int round) {
                kb::TZLBArchive archive;
                archive.OpenArchive(archiveName(0));
                archive.ExtractFiles(work.filePath(u"out%1"_s.arg(round)));
            },
            [&](int round) {
                QDir(work.filePath(u"floor-out%1"_s.arg(round))).removeRecursively();
                QDir(work.filePath(u"out%1"_s.arg(round))).removeRecursively();
            });

        std::printf("%-16s %12s %10s %10s %7s\n", "figure", "bytes", "ms", "floor_ms", "ratio");
        for (const auto &[name, timing] : {std::pair{"archive_add", add}, std::pair{"archive_extract", extract}})
            std::printf("%-16s %12lld %10.1f %10.1f %7.2f\n", name, bytes, timing.ms, timing.floorMs,
                        timing.ms / timing.floorMs);
        for (const auto &[name, timing] : {std::pair{"archive_add", add}, std::pair{"archive_extract", extract}})
            std::printf("BENCH %s n=%lld ms=%.1f floor_ms=%.1f\n", name, bytes, timing.ms, timing.floorMs);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "bench_archive: %s\n", error.what());
        return 1;
    }
    return 0;
}
