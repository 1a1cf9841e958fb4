#include "ArchiveBytes.h"
#include "ArchiveTool.h"
#include "TZLBArchive.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"

#include <memory>

using namespace Qt::StringLiterals;
using namespace kb;

namespace {

const QString DataDir = QStringLiteral(KB_ARCHIVE_TESTDATA);

QString input(const QString &name)
{
    return DataDir + u"/input/"_s + name;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run
{
    int exitCode = 0;
    QString out;
    QString err;
};

Run runTool(const QStringList &arguments)
{
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.exitCode = ArchiveTool(out, err).run(arguments);
    out.flush();
    err.flush();
    return run;
}

} // namespace

class TstArchiveTool : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void listShowsEveryField_data();
    void listShowsEveryField();
    void testChecksWithoutWriting_data();
    void testChecksWithoutWriting();
    void extractChecksCrc_data();
    void extractChecksCrc();
    void createStoresBareNamesAtLevel_data();
    void createStoresBareNamesAtLevel();
    void createReportsFilesLeftOut_data();
    void createReportsFilesLeftOut();
    void wrongCallShowsUsage_data();
    void wrongCallShowsUsage();

private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }
    QString writeFile(const QString &relative, const QByteArray &content) const;
    QStringList tree() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstArchiveTool::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TstArchiveTool::writeFile(const QString &relative, const QByteArray &content) const
{
    return kb::testfiles::writeBytes(path(relative), content);
}

QStringList TstArchiveTool::tree() const
{
    return kb::testfiles::tree(m_dir->path());
}

void TstArchiveTool::listShowsEveryField_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QString>("listing");
    QTest::newRow("zlib, empty and stored member") << readAll(DataDir + u"/members-default.zlb"_s)
                                                   << u"0\tkasse.txt\t\t2978\t954\t0\t8f98ccba\t0\t2\n"
                                                      u"1\tempty.dat\t\t0\t0\t954\t00000000\t1\t0\n"
                                                      u"2\tnoise.bin\t\t1000\t1000\t954\t97b5d445\t1\t0\n"_s;
    QTest::newRow("stored directory and code page 1252 name")
        << ArchiveBytes::build({{u"Übersicht €.txt"_s, u"/Daten/"_s, "abc", false}})
        << u"0\tÜbersicht €.txt\t/Daten/\t3\t3\t0\t352441c2\t1\t0\n"_s;
}

void TstArchiveTool::listShowsEveryField()
{
    QFETCH(QByteArray, archive);
    QFETCH(QString, listing);
    const Run run = runTool({u"list"_s, writeFile(u"a.zlb"_s, archive)});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.out, listing);
    QCOMPARE(run.exitCode, 0);
}

void TstArchiveTool::testChecksWithoutWriting_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QByteArray sound = readAll(DataDir + u"/members-default.zlb"_s);
    QByteArray changedMember = sound;
    changedMember[954 + 500] = char(changedMember.at(954 + 500) ^ 0x01);
    ArchiveBytes::refreshTrailerCrc(changedMember);
    QByteArray changedArchive = sound;
    changedArchive[10] = char(changedArchive.at(10) ^ 0x01);

    QTest::newRow("sound archive") << sound << 0 << u"Archiv in Ordnung: 3 Dateien\n"_s << QString();
    QTest::newRow("member content changed, archive CRC made right")
        << changedMember << 1 << QString() << u"File (2) is corrupt\n"_s;
    QTest::newRow("archive changed") << changedArchive << 1 << QString()
                                     << u"The archive file appears to be corrupted\n"_s;
}

void TstArchiveTool::testChecksWithoutWriting()
{
    QFETCH(QByteArray, archive);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const QString archivePath = writeFile(u"a.zlb"_s, archive);
    const QString workingDirectory = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    const Run run = runTool({u"test"_s, archivePath});
    QDir::setCurrent(workingDirectory);
    QCOMPARE(run.out, out);
    QCOMPARE(run.err, err);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(tree(), QStringList{u"a.zlb"_s});
}

void TstArchiveTool::extractChecksCrc_data()
{
    QTest::addColumn<bool>("changed");
    QTest::newRow("sound archive") << false;
    QTest::newRow("stored member changed, archive CRC made right") << true;
}

void TstArchiveTool::extractChecksCrc()
{
    QFETCH(bool, changed);
    QByteArray archive = readAll(DataDir + u"/members-default.zlb"_s);
    if (changed) {
        archive[954 + 500] = char(archive.at(954 + 500) ^ 0x01);
        ArchiveBytes::refreshTrailerCrc(archive);
    }
    const Run run = runTool({u"extract"_s, writeFile(u"a.zlb"_s, archive), path(u"out"_s)});

    QCOMPARE(run.exitCode, changed ? 1 : 0);
    QCOMPARE(run.err, changed ? u"File (2) is corrupt\n"_s : QString());
    QCOMPARE(readAll(path(u"out/kasse.txt"_s)), readAll(input(u"kasse.txt"_s)));
    QCOMPARE(QFileInfo::exists(path(u"out/empty.dat"_s)), true);
    if (!changed)
        QCOMPARE(readAll(path(u"out/noise.bin"_s)), readAll(input(u"noise.bin"_s)));
}

void TstArchiveTool::createStoresBareNamesAtLevel_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("level");
    QTest::newRow("default level") << QStringList() << 2;
    QTest::newRow("level 0 stores unchanged") << QStringList{u"--level"_s, u"0"_s} << 0;
    QTest::newRow("level 1") << QStringList{u"--level"_s, u"1"_s} << 1;
    QTest::newRow("level 3") << QStringList{u"--level"_s, u"3"_s} << 3;
}

void TstArchiveTool::createStoresBareNamesAtLevel()
{
    QFETCH(QStringList, options);
    QFETCH(int, level);
    const QString archivePath = path(u"neu.zlb"_s);
    const Run run = runTool(QStringList{u"create"_s} + options + QStringList{archivePath, input(u"kasse.txt"_s),
                                                                            input(u"noise.bin"_s)});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);

    TZLBArchive archive;
    QVERIFY(archive.OpenArchive(archivePath));
    QCOMPARE(archive.FileCount(), 2);
    QCOMPARE(archive.GetFileEntry(0).fileName, u"kasse.txt"_s);
    QCOMPARE(archive.GetFileEntry(0).directory, QString());
    QCOMPARE(int(archive.GetFileEntry(0).level), level);
    QCOMPARE(archive.GetFileEntry(0).storedUnchanged, level == 0);
}

void TstArchiveTool::createReportsFilesLeftOut_data()
{
    QTest::addColumn<QString>("leftOut");
    QTest::addColumn<QString>("err");
    QTest::newRow("missing file") << u"missing.txt"_s << u"Unable to open file (<tmp>/missing.txt)\n"_s;
    QTest::newRow("directory") << u"sub"_s << u"Unable to open file (<tmp>/sub)\n"_s;
}

void TstArchiveTool::createReportsFilesLeftOut()
{
    QFETCH(QString, leftOut);
    QFETCH(QString, err);
    QVERIFY(QDir().mkpath(path(u"sub"_s)));
    const QString archivePath = path(u"neu.zlb"_s);
    const Run run = runTool({u"create"_s, archivePath, path(leftOut), input(u"kasse.txt"_s)});

    QCOMPARE(run.err, err.replace(u"<tmp>"_s, m_dir->path()));
    QCOMPARE(run.exitCode, 1);
    TZLBArchive archive;
    QVERIFY(archive.OpenArchive(archivePath));
    QCOMPARE(archive.FileCount(), 1);

    const Run again = runTool({u"create"_s, archivePath, input(u"kasse.txt"_s)});
    QCOMPARE(again.err, u"File already exists\n"_s);
    QCOMPARE(again.exitCode, 1);
}

void TstArchiveTool::wrongCallShowsUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no arguments") << QStringList();
    QTest::newRow("unknown command") << QStringList{u"pack"_s, u"a.zlb"_s};
    QTest::newRow("list without archive") << QStringList{u"list"_s};
    QTest::newRow("extract without directory") << QStringList{u"extract"_s, u"a.zlb"_s};
    QTest::newRow("level out of range") << QStringList{u"create"_s, u"--level"_s, u"4"_s, u"a.zlb"_s, u"f"_s};
    QTest::newRow("create without files") << QStringList{u"create"_s, u"a.zlb"_s};
}

void TstArchiveTool::wrongCallShowsUsage()
{
    QFETCH(QStringList, arguments);
    const Run run = runTool(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.startsWith(u"Aufruf:\n  kassenbuch-archive list ARCHIV\n"_s));
    QCOMPARE(run.out, QString());
    QCOMPARE(tree(), QStringList());
}

QTEST_GUILESS_MAIN(TstArchiveTool)
#include "tst_archivetool.moc"
