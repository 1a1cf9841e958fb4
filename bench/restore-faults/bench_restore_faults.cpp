// Restores that must never lose data: restores from damaged archives (flipped bytes, truncation,
// a member missing, a foreign file named daten.zlb), and restores of a good archive whose process
// is killed at a random moment while the data directory is replaced. After each, the data
// directory must hold byte for byte either what it held before or what the archive holds in
// place of its files of the same name; a trial where it holds anything else counts as lost.
// bench_restore_faults [--trials N] [--max N]; --max belongs to the other benchmarks and is ignored.

#include "BackupDirectories.h"
#include "DataDirectorySetup.h"
#include "DataRestore.h"
#include "Database.h"
#include "Errors.h"
#include "Statement.h"
#include "SyntheticLedger.h"
#include "TZLBArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include <csignal>

using namespace kb;
using namespace Qt::StringLiterals;

namespace {

// Every file and directory below a directory, by relative path; a directory maps to "<dir>".
using Tree = QMap<QString, QByteArray>;

const QByteArray DirectoryMark = "<dir>";

void check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(what);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "cannot read a file");
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "cannot write a file");
}

Tree readTree(const QString &root)
{
    Tree tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        tree.insert(QDir(root).relativeFilePath(entry.filePath()),
                    entry.isDir() ? DirectoryMark : readFile(entry.filePath()));
    }
    return tree;
}

void writeTree(const QString &root, const Tree &tree)
{
    QDir(root).removeRecursively();
    QDir().mkpath(root);
    for (auto entry = tree.begin(); entry != tree.end(); ++entry) {
        if (entry.value() == DirectoryMark)
            QDir(root).mkpath(entry.key());
        else
            writeFile(QDir(root).filePath(entry.key()), entry.value());
    }
}

// What the data directory holds after a restore of these members.
Tree restored(Tree data, const Tree &members)
{
    for (auto member = members.begin(); member != members.end(); ++member)
        data.insert(member.key(), member.value());
    return data;
}

QByteArray randomBytes(QRandomGenerator &random, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

void makeArchive(const QString &path, const QString &scratch, const Tree &members)
{
    QDir(scratch).removeRecursively();
    QStringList files;
    for (auto member = members.begin(); member != members.end(); ++member) {
        const QString file = QDir(scratch).filePath(member.key());
        writeFile(file, member.value());
        files << file;
    }
    QFile::remove(path);
    TZLBArchive archive;
    archive.CreateArchive(path);
    check(archive.AddFiles(files), "cannot write an archive");
    archive.CloseArchive();
}

// The program directory of the trials: Data/ with a ledger and the report templates as they were
// backed up, and then as they are when the restore runs: more bookings, a changed template and a
// template of the user's own that the backup lacks.
struct Scene
{
    QString program;
    QString goodArchive;
    Tree backedUp;
    Tree before;
};

Scene makeScene(const QString &root, QRandomGenerator &random)
{
    Scene scene;
    scene.program = QDir(root).filePath(u"Kassenbuch"_s);
    DataDirectorySetup::create(scene.program);
    const QString data = DataDirectorySetup::dataDirectory(scene.program);
    {
        Database db(DataDirectorySetup::databasePath(scene.program));
        SyntheticLedger::fill(db, 5000, true);
    }
    for (const QString &name : {u"Kassenbuch.frf"_s, u"Konten.frf"_s, u"Gruppen.frf"_s, u"BarKasse.frf"_s})
        writeFile(QDir(data).filePath(name), "<template>" + randomBytes(random, 20000).toBase64() + "</template>");
    scene.backedUp = readTree(data);
    scene.goodArchive = QDir(root).filePath(u"good/daten.zlb"_s);
    QDir().mkpath(QFileInfo(scene.goodArchive).path());
    makeArchive(scene.goodArchive, QDir(root).filePath(u"scratch"_s), scene.backedUp);
    {
        Database db(DataDirectorySetup::databasePath(scene.program));
        SyntheticLedger::fill(db, 300, true);
    }
    writeFile(QDir(data).filePath(u"Konten.frf"_s), "<template>changed since the backup</template>");
    writeFile(QDir(data).filePath(u"Eigene.frf"_s), "<template>the user's own</template>");
    scene.before = readTree(data);
    return scene;
}

enum class Damage { FlippedBytes, Truncated, MemberMissing, ForeignFile };

// Writes a damaged archive; yields the members a restore of it may put in place.
Tree damage(Damage kind, const Scene &scene, const QString &path, const QString &scratch, QRandomGenerator &random)
{
    const QByteArray good = readFile(scene.goodArchive);
    switch (kind) {
    case Damage::FlippedBytes: {
        QByteArray bytes = good;
        for (int flips = 1 + random.bounded(4); flips > 0; --flips)
            bytes[random.bounded(bytes.size())] ^= char(1 + random.bounded(255));
        writeFile(path, bytes);
        return scene.backedUp;
    }
    case Damage::Truncated:
        writeFile(path, good.left(random.bounded(good.size())));
        return scene.backedUp;
    case Damage::MemberMissing: {
        Tree members = scene.backedUp;
        members.remove(members.keys().at(random.bounded(int(members.size()))));
        makeArchive(path, scratch, members);
        return members;
    }
    case Damage::ForeignFile:
        switch (random.bounded(3)) {
        case 0: writeFile(path, randomBytes(random, random.bounded(200000))); break;
        case 1: writeFile(path, scene.backedUp.value(Database::fileName())); break;
        default: writeFile(path, {}); break;
        }
        return {};
    }
    return {};
}

void restore(const QString &program, const QString &archivePath)
{
    const BackupDirectories directories(program);
    TZLBArchive archive;
    DataRestore restore(directories, archive);
    restore.extract(archivePath);
    restore.replaceData();
}

bool intact(const Scene &scene, const Tree &members)
{
    const Tree now = readTree(DataDirectorySetup::dataDirectory(scene.program));
    return now == scene.before || (!members.isEmpty() && now == restored(scene.before, members));
}

int damagedTrials(const Scene &scene, const QString &root, int trials, QRandomGenerator &random)
{
    const QString path = QDir(root).filePath(u"damaged/daten.zlb"_s);
    int lost = 0;
    for (int trial = 0; trial < trials; ++trial) {
        writeTree(DataDirectorySetup::dataDirectory(scene.program), scene.before);
        const Tree members = damage(Damage(trial % 4), scene, path, QDir(root).filePath(u"scratch"_s), random);
        try {
            restore(scene.program, path);
        } catch (const Error &) {
        }
        if (!intact(scene, members))
            ++lost;
    }
    return lost;
}

// How long putting the staged files in place takes, so that the kills can be spread over it.
qint64 replacementMicroseconds(const Scene &scene)
{
    std::vector<qint64> times;
    for (int run = 0; run < 5; ++run) {
        writeTree(DataDirectorySetup::dataDirectory(scene.program), scene.before);
        const BackupDirectories directories(scene.program);
        TZLBArchive archive;
        DataRestore restore(directories, archive);
        restore.extract(scene.goodArchive);
        QElapsedTimer timer;
        timer.start();
        restore.replaceData();
        times.push_back(timer.nsecsElapsed() / 1000);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct KillFigures
{
    int lost = 0;
    int interrupted = 0;
};

KillFigures killedTrials(const Scene &scene, int trials, QRandomGenerator &random)
{
    const qint64 span = replacementMicroseconds(scene) * 6 / 5 + 1;
    KillFigures figures;
    for (int trial = 0; trial < trials; ++trial) {
        writeTree(DataDirectorySetup::dataDirectory(scene.program), scene.before);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {u"--child"_s, scene.program, scene.goodArchive});
        check(child.waitForStarted(), "cannot start the restoring process");
        check(child.waitForReadyRead(30000), "the restoring process did not get to the replacement");
        QThread::usleep(quint64(random.bounded(span)));
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished();
        if (child.exitStatus() == QProcess::CrashExit)
            ++figures.interrupted;
        if (!intact(scene, scene.backedUp))
            ++figures.lost;
    }
    return figures;
}

// The restoring process of a kill trial: tells the parent when the replacement begins.
int runChild(const QString &program, const QString &archivePath)
{
    const BackupDirectories directories(program);
    TZLBArchive archive;
    DataRestore restore(directories, archive);
    restore.extract(archivePath);
    std::fputs("replacing\n", stdout);
    std::fflush(stdout);
    restore.replaceData();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == u"--child"_s)
        return runChild(args.at(2), args.at(3));
    const qsizetype trialsAt = args.indexOf(u"--trials"_s);
    const int trials = trialsAt > 0 && trialsAt + 1 < args.size() ? args.at(trialsAt + 1).toInt() : 200;

    QTemporaryDir root;
    QRandomGenerator random(20261210);
    const Scene scene = makeScene(root.path(), random);
    const int damagedLost = damagedTrials(scene, root.path(), trials, random);
    const KillFigures killed = killedTrials(scene, trials, random);
    std::printf("restore faults: %d damaged archives, %d restores killed (%d before they ended), lost %d + %d\n",
                trials, trials, killed.interrupted, damagedLost, killed.lost);
    std::printf("BENCH restore_faults trials=%d lost=%d damaged=%d killed=%d interrupted=%d\n", 2 * trials,
                damagedLost + killed.lost, trials, trials, killed.interrupted);
    return damagedLost + killed.lost == 0 ? 0 : 1;
}
