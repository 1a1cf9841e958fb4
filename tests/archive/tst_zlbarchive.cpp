#include "ArchiveBytes.h"
#include "ArchiveError.h"
#include "ErrorOf.h"
#include "TZLBArchive.h"

#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"

#include <memory>

using namespace Qt::StringLiterals;
using namespace kb;
using kb::test::errorOf;

namespace {

const QString DataDir = QStringLiteral(KB_ARCHIVE_TESTDATA);
const QStringList GoldenMembers = {u"kasse.txt"_s, u"empty.dat"_s, u"noise.bin"_s};

QString input(const QString &name)
{
    return DataDir + u"/input/"_s + name;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, '\0');
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

QByteArray withTrailerField(QByteArray archive, int fieldOffset, qint32 value)
{
    qToLittleEndian<qint32>(value, archive.data() + archive.size() - TZLBTrailer::Size + fieldOffset);
    return archive;
}

// Records every progress report as "message|percentage".
void recordProgress(TZLBArchive &archive, QStringList &reports)
{
    archive.OnProgress = [&reports](const QString &message, int percentage) {
        reports << u"%1|%2"_s.arg(message).arg(percentage);
    };
}

} // namespace

class TstZlbArchive : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void writesGoldenBytes_data();
    void writesGoldenBytes();
    void readsGoldenArchives_data();
    void readsGoldenArchives();
    void entryDescribesMember_data();
    void entryDescribesMember();
    void appendsToExistingArchive();
    void archiveGetsOrdinaryPermissions_data();
    void archiveGetsOrdinaryPermissions();

    void duplicateCheckFoldsOnlyAToZ_data();
    void duplicateCheckFoldsOnlyAToZ();
    void laterDuplicateWinsOnExtraction();
    void replaceHandlerDecides_data();
    void replaceHandlerDecides();
    void directoryExpansion_data();
    void directoryExpansion();
    void addFilesLogsFilesLeftOut_data();
    void addFilesLogsFilesLeftOut();
    void failedWriteLeavesArchiveAsItWas_data();
    void failedWriteLeavesArchiveAsItWas();

    void changedByteIsDetected_data();
    void changedByteIsDetected();
    void emptyAndShortFiles_data();
    void emptyAndShortFiles();
    void openFailures_data();
    void openFailures();

    void extractionPaths_data();
    void extractionPaths();
    void untrustedPathsStayInside_data();
    void untrustedPathsStayInside();
    void extractFailures_data();
    void extractFailures();
    void brokenMembers_data();
    void brokenMembers();

    void progressOfExtraction_data();
    void progressOfExtraction();
    void progressOfOpening();
    void progressOfAdding();

    void closedArchiveRefuses_data();
    void closedArchiveRefuses();
    void entryIndexOutOfBounds_data();
    void entryIndexOutOfBounds();
    void createRefusesExistingFile();

private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }
    QString writeFile(const QString &relative, const QByteArray &content) const;
    QString writeArchive(const QByteArray &bytes) const { return writeFile(u"archive.zlb"_s, bytes); }
    // Every file and directory below the temporary directory, relative to it.
    QStringList tree() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstZlbArchive::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TstZlbArchive::writeFile(const QString &relative, const QByteArray &content) const
{
    return kb::testfiles::writeBytes(path(relative), content);
}

QStringList TstZlbArchive::tree() const
{
    return kb::testfiles::tree(m_dir->path());
}

void TstZlbArchive::writesGoldenBytes_data()
{
    QTest::addColumn<TFileCompressionLevel>("level");
    QTest::addColumn<QStringList>("members");
    QTest::addColumn<QString>("golden");
    const QList<std::pair<TFileCompressionLevel, QString>> levels = {
        {TFileCompressionLevel::fcNone, u"none"_s},
        {TFileCompressionLevel::fcFastest, u"fastest"_s},
        {TFileCompressionLevel::fcDefault, u"default"_s},
        {TFileCompressionLevel::fcMaximum, u"maximum"_s}};
    for (const auto &[level, label] : levels) {
        QTest::addRow("no members at %s", qPrintable(label)) << level << QStringList() << u"empty-%1.zlb"_s.arg(label);
        QTest::addRow("text, empty and incompressible member at %s", qPrintable(label))
            << level << GoldenMembers << u"members-%1.zlb"_s.arg(label);
    }
}

void TstZlbArchive::writesGoldenBytes()
{
    QFETCH(TFileCompressionLevel, level);
    QFETCH(QStringList, members);
    QFETCH(QString, golden);
    const QString goldenPath = DataDir + u'/' + golden;
    if (!QFileInfo::exists(goldenPath))
        QFAIL(qPrintable(u"%1 is missing: python3 tests/archive/data/make_golden.py writes it"_s.arg(goldenPath)));

    TZLBArchive archive;
    archive.setCompressionLevel(level);
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList files;
    for (const QString &member : std::as_const(members))
        files << input(member);
    QVERIFY(archive.AddFiles(files));
    QVERIFY(files.isEmpty());

    const QByteArray expected = readAll(goldenPath);
    const QByteArray written = readAll(path(u"out.zlb"_s));
    QCOMPARE(written.size(), expected.size());
    QCOMPARE(written.toHex(' '), expected.toHex(' '));
}

void TstZlbArchive::readsGoldenArchives_data()
{
    QTest::addColumn<QString>("golden");
    QTest::newRow("stored and zlib members at fcNone") << u"members-none.zlb"_s;
    QTest::newRow("zlib members at fcFastest") << u"members-fastest.zlb"_s;
    QTest::newRow("zlib members at fcMaximum") << u"members-maximum.zlb"_s;
    QTest::newRow("uncompressed registry") << u"members-plain-registry.zlb"_s;
}

void TstZlbArchive::readsGoldenArchives()
{
    QFETCH(QString, golden);
    TZLBArchive archive;
    archive.setCheckCRC(true);
    QVERIFY(archive.OpenArchive(DataDir + u'/' + golden));
    QCOMPARE(archive.FileCount(), int(GoldenMembers.size()));
    archive.ExtractFiles(path(u"out"_s));
    for (int i = 0; i < GoldenMembers.size(); ++i) {
        QCOMPARE(archive.GetFileEntry(i).fileName, GoldenMembers.at(i));
        QCOMPARE(readAll(path(u"out/"_s + GoldenMembers.at(i))), readAll(input(GoldenMembers.at(i))));
    }
}

void TstZlbArchive::entryDescribesMember_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<TFileCompressionLevel>("level");
    QTest::addColumn<bool>("storedUnchanged");
    QTest::addColumn<int>("levelOrdinal");
    QTest::newRow("empty file stored unchanged") << u"empty.dat"_s << TFileCompressionLevel::fcDefault << true << 0;
    QTest::newRow("incompressible file stored unchanged")
        << u"noise.bin"_s << TFileCompressionLevel::fcMaximum << true << 0;
    QTest::newRow("text at fcNone grows, so stored unchanged")
        << u"kasse.txt"_s << TFileCompressionLevel::fcNone << true << 0;
    QTest::newRow("text at fcFastest") << u"kasse.txt"_s << TFileCompressionLevel::fcFastest << false << 1;
    QTest::newRow("text at fcDefault") << u"kasse.txt"_s << TFileCompressionLevel::fcDefault << false << 2;
    QTest::newRow("text at fcMaximum") << u"kasse.txt"_s << TFileCompressionLevel::fcMaximum << false << 3;
}

void TstZlbArchive::entryDescribesMember()
{
    QFETCH(QString, member);
    QFETCH(TFileCompressionLevel, level);
    QFETCH(bool, storedUnchanged);
    QFETCH(int, levelOrdinal);
    const QByteArray content = readAll(input(member));

    TZLBArchive archive;
    archive.setCompressionLevel(level);
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList files = {input(member)};
    QVERIFY(archive.AddFiles(files));
    QCOMPARE(archive.FileCount(), 1);
    const TZLBEntry entry = archive.GetFileEntry(0);
    QCOMPARE(entry.fileName, member);
    QCOMPARE(entry.directory, QString());
    QCOMPARE(entry.uncompressedSize, content.size());
    QCOMPARE(entry.crc, ArchiveBytes::crcOf(content));
    QCOMPARE(entry.dataOffset, 0);
    QCOMPARE(entry.storedUnchanged, storedUnchanged);
    QCOMPARE(int(entry.level), levelOrdinal);
    if (storedUnchanged)
        QCOMPARE(entry.storedSize, content.size());
    else
        QCOMPARE_LT(entry.storedSize, content.size());
}

void TstZlbArchive::appendsToExistingArchive()
{
    TZLBArchive first;
    first.CreateArchive(path(u"out.zlb"_s));
    QStringList files = {input(u"kasse.txt"_s)};
    QVERIFY(first.AddFiles(files));
    const TZLBEntry kept = first.GetFileEntry(0);

    TZLBArchive archive;
    int openedEvents = 0;
    archive.OnArchiveOpened = [&openedEvents] { ++openedEvents; };
    QVERIFY(archive.OpenArchive(path(u"out.zlb"_s)));
    files = {input(u"noise.bin"_s)};
    QVERIFY(archive.AddFiles(files));
    QCOMPARE(openedEvents, 2);

    TZLBArchive reread;
    reread.setCheckCRC(true);
    QVERIFY(reread.OpenArchive(path(u"out.zlb"_s)));
    QCOMPARE(reread.FileCount(), 2);
    QCOMPARE(reread.GetFileEntry(0).dataOffset, kept.dataOffset);
    QCOMPARE(reread.GetFileEntry(0).crc, kept.crc);
    QCOMPARE(reread.GetFileEntry(1).dataOffset, kept.storedSize);
    reread.ExtractFiles(path(u"out"_s));
    QCOMPARE(readAll(path(u"out/kasse.txt"_s)), readAll(input(u"kasse.txt"_s)));
    QCOMPARE(readAll(path(u"out/noise.bin"_s)), readAll(input(u"noise.bin"_s)));
}

void TstZlbArchive::archiveGetsOrdinaryPermissions_data()
{
    QTest::addColumn<bool>("existing");
    QTest::newRow("new archive as any new file") << false;
    QTest::newRow("appended archive keeps its own") << true;
}

void TstZlbArchive::archiveGetsOrdinaryPermissions()
{
    QFETCH(bool, existing);
    const QString archivePath = path(u"out.zlb"_s);
    const QString reference = writeFile(u"reference.txt"_s, "x");
    const QFileDevice::Permissions own = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    TZLBArchive archive;
    archive.CreateArchive(archivePath);
    QStringList files = {input(u"kasse.txt"_s)};
    QVERIFY(archive.AddFiles(files));
    if (existing) {
        QVERIFY(QFile::setPermissions(archivePath, own));
        QVERIFY(QFile::setPermissions(reference, own));
        files = {input(u"noise.bin"_s)};
        QVERIFY(archive.AddFiles(files));
    }
    QCOMPARE(QFileInfo(archivePath).permissions(), QFileInfo(reference).permissions());
}

void TstZlbArchive::duplicateCheckFoldsOnlyAToZ_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("savePaths");
    QTest::addColumn<bool>("duplicate");
    QTest::newRow("same name") << u"a/KASSE.ADT"_s << u"b/KASSE.ADT"_s << false << true;
    QTest::newRow("A to Z in the other case") << u"a/KASSE.ADT"_s << u"b/kasse.adt"_s << false << true;
    QTest::newRow("umlaut in the other case") << u"a/Äpfel.txt"_s << u"b/äpfel.txt"_s << false << false;
    QTest::newRow("other name") << u"a/KASSE.ADT"_s << u"b/KONTEN.ADT"_s << false << false;
    QTest::newRow("same name in other directories, paths saved")
        << u"a/KASSE.ADT"_s << u"b/KASSE.ADT"_s << true << false;
    QTest::newRow("same file twice, paths saved") << u"a/KASSE.ADT"_s << u"a/KASSE.ADT"_s << true << true;
}

void TstZlbArchive::duplicateCheckFoldsOnlyAToZ()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, savePaths);
    QFETCH(bool, duplicate);
    writeFile(first, "first");
    writeFile(second, "second");

    TZLBArchive archive;
    archive.setSavePaths(savePaths);
    QStringList logged;
    archive.OnErrorLogged = [&logged](const QString &message) { logged << message; };
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList files = {path(first), path(second)};
    QVERIFY(archive.AddFiles(files));

    QCOMPARE(archive.FileCount(), 2);
    const QStringList expected = duplicate ? QStringList{path(second) + u" already exists in the archive"_s}
                                           : QStringList();
    QCOMPARE(logged, expected);
    QCOMPARE(archive.IndexOfFile(path(second)), duplicate ? 0 : 1);
}

void TstZlbArchive::laterDuplicateWinsOnExtraction()
{
    TZLBArchive archive;
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList files = {writeFile(u"a/KASSE.ADT"_s, "earlier"), writeFile(u"b/KASSE.ADT"_s, "later")};
    QVERIFY(archive.AddFiles(files));
    QStringList extracted;
    archive.OnFileExtracted = [&extracted](const QString &file) { extracted << file; };

    archive.ExtractFiles(path(u"out"_s));

    QCOMPARE(extracted, QStringList(2, path(u"out/KASSE.ADT"_s)));
    QCOMPARE(readAll(path(u"out/KASSE.ADT"_s)), QByteArray("later"));
}

void TstZlbArchive::replaceHandlerDecides_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("handler keeps the file") << false;
    QTest::newRow("handler lets it be replaced") << true;
}

void TstZlbArchive::replaceHandlerDecides()
{
    QFETCH(bool, replace);
    TZLBArchive archive;
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList files = {writeFile(u"in/KASSE.ADT"_s, "archived"), writeFile(u"in/KONTEN.ADT"_s, "accounts")};
    QVERIFY(archive.AddFiles(files));
    writeFile(u"out/KASSE.ADT"_s, "present");
    QStringList asked;
    archive.OnReplaceFile = [&](const QString &file, bool &answer) {
        asked << file;
        answer = replace;
    };
    QStringList extracted;
    archive.OnFileExtracted = [&extracted](const QString &file) { extracted << file; };

    archive.ExtractFiles(path(u"out"_s));

    QCOMPARE(asked, QStringList{path(u"out/KASSE.ADT"_s)});
    QCOMPARE(readAll(path(u"out/KASSE.ADT"_s)), replace ? QByteArray("archived") : QByteArray("present"));
    QCOMPARE(readAll(path(u"out/KONTEN.ADT"_s)), QByteArray("accounts"));
    QCOMPARE(extracted.size(), replace ? 2 : 1);
}

void TstZlbArchive::directoryExpansion_data()
{
    QTest::addColumn<bool>("recursePaths");
    QTest::addColumn<bool>("savePaths");
    QTest::addColumn<QStringList>("members");
    QTest::newRow("directories dropped") << false << false << QStringList();
    QTest::newRow("directories dropped, paths saved") << false << true << QStringList();
    QTest::newRow("walked") << true << false << QStringList{u"a.txt"_s, u"b.txt"_s};
    QTest::newRow("walked, paths saved, each file once")
        << true << true << QStringList{u"<tmp>/d/a.txt"_s, u"<tmp>/d/sub/b.txt"_s};
}

void TstZlbArchive::directoryExpansion()
{
    QFETCH(bool, recursePaths);
    QFETCH(bool, savePaths);
    QFETCH(QStringList, members);
    writeFile(u"d/a.txt"_s, "a");
    writeFile(u"d/sub/b.txt"_s, "b");

    TZLBArchive archive;
    archive.setRecursePaths(recursePaths);
    archive.setSavePaths(savePaths);
    QStringList logged;
    archive.OnErrorLogged = [&logged](const QString &message) { logged << message; };
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList files = {path(u"d"_s)};
    QVERIFY(archive.AddFiles(files));

    QStringList stored;
    for (int i = 0; i < archive.FileCount(); ++i)
        stored << archive.GetFileEntry(i).directory + archive.GetFileEntry(i).fileName;
    stored.sort();
    members.replaceInStrings(u"<tmp>"_s, m_dir->path());
    QCOMPARE(stored, members);
    QCOMPARE(logged, QStringList());
}

void TstZlbArchive::addFilesLogsFilesLeftOut_data()
{
    QTest::addColumn<QString>("leftOut");
    QTest::newRow("missing file") << u"missing.txt"_s;
    QTest::newRow("file of 2 GiB") << u"huge.dat"_s;
    QTest::newRow("name with a backslash") << u"a\\b.txt"_s;
}

void TstZlbArchive::addFilesLogsFilesLeftOut()
{
    QFETCH(QString, leftOut);
    if (leftOut == u"huge.dat"_s) {
        // Sparse: takes no room, but its size does not fit the 32-bit fields.
        QFile huge(path(leftOut));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(qint64(1) << 31));
    } else if (leftOut != u"missing.txt"_s) {
        writeFile(leftOut, "content");
    }

    TZLBArchive archive;
    QStringList logged;
    archive.OnErrorLogged = [&logged](const QString &message) { logged << message; };
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList files = {path(leftOut), writeFile(u"good.txt"_s, "good")};
    QVERIFY(archive.AddFiles(files));

    QCOMPARE(logged, QStringList{u"Unable to open file (%1)"_s.arg(path(leftOut))});
    QCOMPARE(archive.FileCount(), 1);
    QCOMPARE(archive.GetFileEntry(0).fileName, u"good.txt"_s);
    QCOMPARE(archive.GetFileEntry(0).dataOffset, 0);
}

namespace {

// Its temporary file cannot be created, so writing the archive fails as a whole.
class UnwritableTempArchive : public TZLBArchive
{
public:
    explicit UnwritableTempArchive(QString tempName) : m_tempName(std::move(tempName)) {}
    QString MakeTempFileName() override { return m_tempName; }

private:
    QString m_tempName;
};

} // namespace

void TstZlbArchive::failedWriteLeavesArchiveAsItWas_data()
{
    QTest::addColumn<bool>("existing");
    QTest::newRow("new archive") << false;
    QTest::newRow("existing archive") << true;
}

void TstZlbArchive::failedWriteLeavesArchiveAsItWas()
{
    QFETCH(bool, existing);
    const QString archivePath = path(u"out.zlb"_s);
    if (existing) {
        TZLBArchive writer;
        writer.CreateArchive(archivePath);
        QStringList files = {input(u"kasse.txt"_s)};
        QVERIFY(writer.AddFiles(files));
    }
    const QByteArray before = readAll(archivePath);

    const QString tempName = path(u"missing/ZLB0001.tmp"_s);
    UnwritableTempArchive archive(tempName);
    if (existing)
        QVERIFY(archive.OpenArchive(archivePath));
    else
        archive.CreateArchive(archivePath);
    QStringList files = {input(u"noise.bin"_s)};

    QVERIFY(!archive.AddFiles(files));
    QCOMPARE(archive.lastWriteError(), u"Datei %1 kann nicht erstellt werden"_s.arg(tempName));
    QCOMPARE(archive.archiveName(), archivePath);
    QCOMPARE(archive.FileCount(), existing ? 1 : 0);
    QCOMPARE(QFileInfo::exists(archivePath), existing);
    QCOMPARE(readAll(archivePath), before);
}

void TstZlbArchive::changedByteIsDetected_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("first byte of the data area") << u"data start"_s;
    QTest::newRow("last byte of the data area") << u"data end"_s;
    QTest::newRow("byte of the registry") << u"registry"_s;
    QTest::newRow("byte of the trailer CRC") << u"trailer"_s;
}

void TstZlbArchive::changedByteIsDetected()
{
    QFETCH(QString, where);
    TZLBArchive archive;
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList files = {input(u"kasse.txt"_s), input(u"noise.bin"_s)};
    QVERIFY(archive.AddFiles(files));
    const qsizetype dataEnd = archive.GetFileEntry(1).dataOffset + archive.GetFileEntry(1).storedSize;
    QByteArray bytes = readAll(path(u"out.zlb"_s));
    const QMap<QString, qsizetype> positions = {{u"data start"_s, 0},
                                                {u"data end"_s, dataEnd - 1},
                                                {u"registry"_s, dataEnd + 2},
                                                {u"trailer"_s, bytes.size() - TZLBTrailer::Size}};
    bytes[positions.value(where)] = char(bytes.at(positions.value(where)) ^ 0x01);
    const QString changed = writeArchive(bytes);

    QCOMPARE(errorOf([&] { archive.OpenArchive(changed); }), u"The archive file appears to be corrupted"_s);
    QCOMPARE(archive.archiveName(), QString());
}

void TstZlbArchive::emptyAndShortFiles_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("error");
    QTest::newRow("0 bytes open without members") << 0 << QString();
    QTest::newRow("1 byte") << 1 << u"The archive file appears to be corrupted"_s;
    QTest::newRow("35 zero bytes") << 35 << u"The archive file appears to be corrupted"_s;
}

void TstZlbArchive::emptyAndShortFiles()
{
    QFETCH(int, length);
    QFETCH(QString, error);
    const QString archivePath = writeArchive(QByteArray(length, '\0'));
    TZLBArchive archive;
    QCOMPARE(errorOf([&] {
                 archive.OpenArchive(archivePath);
                 QCOMPARE(archive.FileCount(), 0);
                 archive.ExtractFiles(path(u"out"_s));
             }),
             error);
    QCOMPARE(tree(), QStringList{u"archive.zlb"_s});
}

void TstZlbArchive::openFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QString unreadable = u"Unable to read archive file list"_s;
    const QByteArray plain = ArchiveBytes::build({{u"a.txt"_s, {}, "content", true}}, false);
    const QByteArray compressed = ArchiveBytes::build({{u"a.txt"_s, {}, "content", true}});
    constexpr int Count = 4, Offset = 16, Flag = 20;
    QByteArray flaggedCompressed = plain;
    flaggedCompressed[flaggedCompressed.size() - TZLBTrailer::Size + Flag] = 1;

    QTest::newRow("missing file") << u"missing"_s << QByteArray() << u"Archive file not found"_s;
    QTest::newRow("directory") << u"directory"_s << QByteArray() << u"Unable to open file (<archive>)"_s;
    QTest::newRow("registry is no zlib stream") << u"bytes"_s << flaggedCompressed << unreadable;
    QTest::newRow("more entries than the registry holds")
        << u"bytes"_s << withTrailerField(plain, Count, 2) << unreadable;
    QTest::newRow("negative entry count") << u"bytes"_s << withTrailerField(plain, Count, -1) << unreadable;
    QTest::newRow("entry count no stream can inflate to")
        << u"bytes"_s << withTrailerField(compressed, Count, std::numeric_limits<qint32>::max()) << unreadable;
    QTest::newRow("registry offset beyond the file")
        << u"bytes"_s << withTrailerField(plain, Offset, 1 << 30) << unreadable;
    QTest::newRow("negative registry offset") << u"bytes"_s << withTrailerField(plain, Offset, -8) << unreadable;
}

void TstZlbArchive::openFailures()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const QString archivePath = path(u"archive.zlb"_s);
    if (kind == u"directory"_s)
        QVERIFY(QDir().mkpath(archivePath));
    else if (kind == u"bytes"_s)
        writeArchive(bytes);

    TZLBArchive archive;
    archive.CreateArchive(path(u"other.zlb"_s));
    QCOMPARE(errorOf([&] { archive.OpenArchive(archivePath); }), error.replace(u"<archive>"_s, archivePath));
    QCOMPARE(archive.archiveName(), QString());
}

void TstZlbArchive::extractionPaths_data()
{
    QTest::addColumn<bool>("extractWithPath");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("written");
    QTest::newRow("flat into a missing directory") << false << u"Ziel"_s << u"Ziel/KASSE.ADT"_s;
    QTest::newRow("flat, destination with separator") << false << u"Ziel/"_s << u"Ziel/KASSE.ADT"_s;
    QTest::newRow("with path") << true << u"Rueck"_s << u"Rueck<tmp>/Daten/Kasse/KASSE.ADT"_s;
    QTest::newRow("with path, doubled separator collapsed")
        << true << u"Rueck/"_s << u"Rueck<tmp>/Daten/Kasse/KASSE.ADT"_s;
}

void TstZlbArchive::extractionPaths()
{
    QFETCH(bool, extractWithPath);
    QFETCH(QString, destination);
    QFETCH(QString, written);
    TZLBArchive archive;
    archive.setSavePaths(true);
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList files = {writeFile(u"Daten/Kasse/KASSE.ADT"_s, "bookings")};
    QVERIFY(archive.AddFiles(files));
    QCOMPARE(archive.GetFileEntry(0).directory, m_dir->path() + u"/Daten/Kasse/"_s);

    archive.setExtractWithPath(extractWithPath);
    QStringList extracted;
    archive.OnFileExtracted = [&extracted](const QString &file) { extracted << file; };
    archive.ExtractFiles(path(destination));

    const QString target = path(written.replace(u"<tmp>"_s, m_dir->path()));
    QCOMPARE(extracted, QStringList{target});
    QCOMPARE(readAll(target), QByteArray("bookings"));
}

void TstZlbArchive::untrustedPathsStayInside_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<bool>("extractWithPath");
    QTest::addColumn<QString>("written");
    const QString refused;
    QTest::newRow("directory written on the other platform")
        << u"KASSE.ADT"_s << u"\\Daten\\Kasse\\"_s << true << u"Daten/Kasse/KASSE.ADT"_s;
    QTest::newRow("directory without leading separator stays below")
        << u"KASSE.ADT"_s << u"Daten\\"_s << true << u"Daten/KASSE.ADT"_s;
    QTest::newRow("climbing directory unused when extracting flat")
        << u"KASSE.ADT"_s << u"/../../"_s << false << u"KASSE.ADT"_s;
    QTest::newRow("parent as name") << u".."_s << QString() << false << refused;
    QTest::newRow("current directory as name") << u"."_s << QString() << false << refused;
    QTest::newRow("empty name") << QString() << QString() << false << refused;
    QTest::newRow("name with slash") << u"../evil.txt"_s << QString() << false << refused;
    QTest::newRow("name with backslash") << u"..\\evil.txt"_s << QString() << false << refused;
    QTest::newRow("name with NUL") << u"evil"_s + QChar(0) + u"/../x"_s << QString() << false << refused;
    QTest::newRow("climbing directory") << u"evil.txt"_s << u"/../../"_s << true << refused;
    QTest::newRow("climbing directory with backslashes") << u"evil.txt"_s << u"..\\..\\"_s << true << refused;
    QTest::newRow("climbing in the middle") << u"evil.txt"_s << u"/a/../../b/"_s << true << refused;
    QTest::newRow("directory with a drive") << u"evil.txt"_s << u"C:\\Windows\\"_s << true << refused;
}

void TstZlbArchive::untrustedPathsStayInside()
{
    QFETCH(QString, name);
    QFETCH(QString, directory);
    QFETCH(bool, extractWithPath);
    QFETCH(QString, written);
    writeArchive(ArchiveBytes::build({{name, directory, "hostile", true}}));
    QVERIFY(QDir().mkpath(path(u"dest"_s)));
    TZLBArchive archive;
    archive.setExtractWithPath(extractWithPath);
    QVERIFY(archive.OpenArchive(path(u"archive.zlb"_s)));

    const QString error = errorOf([&] { archive.ExtractFiles(path(u"dest"_s)); });

    if (written.isEmpty()) {
        QCOMPARE(error, u"File (0) is corrupt"_s);
        QCOMPARE(tree(), (QStringList{u"archive.zlb"_s, u"dest"_s}));
    } else {
        QCOMPARE(error, QString());
        QCOMPARE(readAll(path(u"dest/"_s + written)), QByteArray("hostile"));
    }
}

void TstZlbArchive::extractFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error");
    QTest::newRow("archive removed after opening") << u"removed"_s << u"Unable to open file (<tmp>/out.zlb)"_s;
    QTest::newRow("destination below a file") << u"below file"_s << u"Unable to create destination path"_s;
    QTest::newRow("target is a directory")
        << u"target directory"_s << u"Datei <tmp>/dest/KASSE.ADT kann nicht erstellt werden"_s;
    QTest::newRow("empty destination") << u"empty"_s << u"Das Verzeichnis kann nicht erstellt werden"_s;
}

void TstZlbArchive::extractFailures()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    TZLBArchive archive;
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList files = {writeFile(u"in/KASSE.ADT"_s, "bookings")};
    QVERIFY(archive.AddFiles(files));
    QString destination = path(u"dest"_s);
    if (kind == u"removed"_s)
        QVERIFY(QFile::remove(path(u"out.zlb"_s)));
    else if (kind == u"below file"_s)
        destination = writeFile(u"plain.txt"_s, "x") + u"/sub"_s;
    else if (kind == u"target directory"_s)
        QVERIFY(QDir().mkpath(path(u"dest/KASSE.ADT"_s)));
    else if (kind == u"empty"_s)
        destination.clear();
    QStringList progress;
    recordProgress(archive, progress);

    QCOMPARE(errorOf([&] { archive.ExtractFiles(destination); }), error.replace(u"<tmp>"_s, m_dir->path()));
    if (kind != u"removed"_s)
        QCOMPARE(progress.constLast(), path(u"out.zlb"_s) + u"|0"_s);
}

void TstZlbArchive::brokenMembers_data()
{
    QTest::addColumn<bool>("compressed");
    QTest::addColumn<bool>("checkCRC");
    QTest::addColumn<QString>("error");
    QTest::newRow("broken zlib stream") << true << false << u"File (1) is corrupt"_s;
    QTest::newRow("changed stored byte, CRC checked") << false << true << u"File (1) is corrupt"_s;
    QTest::newRow("changed stored byte, CRC unchecked") << false << false << QString();
}

void TstZlbArchive::brokenMembers()
{
    QFETCH(bool, compressed);
    QFETCH(bool, checkCRC);
    QFETCH(QString, error);
    const QByteArray second = QByteArray("second member ").repeated(50);
    QByteArray bytes = ArchiveBytes::build({{u"first.txt"_s, {}, "first", false},
                                            {u"second.txt"_s, {}, second, compressed}});
    // Inside the second member's block: past its zlib header, or any byte of the plain content.
    bytes[5 + 10] = char(bytes.at(5 + 10) ^ 0x55);
    ArchiveBytes::refreshTrailerCrc(bytes);
    writeArchive(bytes);
    TZLBArchive archive;
    archive.setCheckCRC(checkCRC);
    QVERIFY(archive.OpenArchive(path(u"archive.zlb"_s)));

    QCOMPARE(errorOf([&] { archive.ExtractFiles(path(u"dest"_s)); }), error);
    QCOMPARE(readAll(path(u"dest/first.txt"_s)), QByteArray("first"));
}

void TstZlbArchive::progressOfExtraction_data()
{
    QTest::addColumn<bool>("compressed");
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("percentages");
    QTest::newRow("10000 bytes stored unchanged") << false << 10000 << QList<int>{41, 82, 100};
    QTest::newRow("10000 bytes as zlib stream") << true << 10000 << QList<int>{41, 82, 100};
    QTest::newRow("eighths: halves to even") << false << 32768 << QList<int>{12, 25, 38, 50, 62, 75, 88, 100};
}

void TstZlbArchive::progressOfExtraction()
{
    QFETCH(bool, compressed);
    QFETCH(int, size);
    QFETCH(QList<int>, percentages);
    const QString archivePath = writeArchive(ArchiveBytes::build({{u"m.dat"_s, {}, randomBytes(size, 3), compressed}}));
    TZLBArchive archive;
    QVERIFY(archive.OpenArchive(archivePath));
    QStringList progress;
    recordProgress(archive, progress);

    archive.ExtractFiles(path(u"dest"_s));

    QStringList expected;
    for (int percentage : std::as_const(percentages))
        expected << u"Extracting m.dat|%1"_s.arg(percentage);
    QCOMPARE(progress, expected << archivePath + u"|0"_s);
}

void TstZlbArchive::progressOfOpening()
{
    const QList<ArchiveBytes::Member> members(10, {u"e.txt"_s, {}, {}, false});
    const QString archivePath = writeArchive(ArchiveBytes::build(members));
    TZLBArchive archive;
    QStringList progress;
    recordProgress(archive, progress);

    QVERIFY(archive.OpenArchive(archivePath));

    // 5320 registry bytes in pieces of 4096 and 1224.
    QCOMPARE(progress, (QStringList{u"|0"_s, u"Extracting archive registry|77"_s,
                                    u"Extracting archive registry|100"_s, archivePath + u"|0"_s}));
}

void TstZlbArchive::progressOfAdding()
{
    const QString file = writeFile(u"noise.dat"_s, randomBytes(200000, 9));
    TZLBArchive archive;
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList progress;
    recordProgress(archive, progress);
    QStringList files = {file};
    QVERIFY(archive.AddFiles(files));

    // The stream of incompressible data is a little longer than the data: three full buffers.
    const QStringList updating = progress.filter(u"Updating "_s);
    QCOMPARE(updating.size(), 3);
    int previous = 0;
    for (const QString &report : updating) {
        QVERIFY(report.startsWith(u"Updating %1|"_s.arg(file)));
        const int percentage = report.section(u'|', -1).toInt();
        QCOMPARE_GT(percentage, previous);
        QCOMPARE_LE(percentage, 100);
        previous = percentage;
    }
    QCOMPARE(progress.constLast(), path(u"out.zlb"_s) + u"|0"_s);
}

void TstZlbArchive::closedArchiveRefuses_data()
{
    QTest::addColumn<QString>("operation");
    for (const char *operation : {"AddFiles", "ExtractFiles", "VerifyFiles", "FileCount", "IndexOfFile"})
        QTest::newRow(operation) << QString::fromLatin1(operation);
}

void TstZlbArchive::closedArchiveRefuses()
{
    QFETCH(QString, operation);
    TZLBArchive archive;
    archive.CreateArchive(path(u"out.zlb"_s));
    archive.CloseArchive();
    QStringList files = {input(u"kasse.txt"_s)};
    const QMap<QString, std::function<void()>> operations = {
        {u"AddFiles"_s, [&] { archive.AddFiles(files); }},
        {u"ExtractFiles"_s, [&] { archive.ExtractFiles(path(u"dest"_s)); }},
        {u"VerifyFiles"_s, [&] { archive.VerifyFiles(); }},
        {u"FileCount"_s, [&] { archive.FileCount(); }},
        {u"IndexOfFile"_s, [&] { archive.IndexOfFile(u"kasse.txt"_s); }}};

    QCOMPARE(errorOf(operations.value(operation)), u"No archive is currently open"_s);
    QCOMPARE(tree(), QStringList());
}

void TstZlbArchive::entryIndexOutOfBounds_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("below 0") << -1;
    QTest::newRow("the count") << 1;
}

void TstZlbArchive::entryIndexOutOfBounds()
{
    QFETCH(int, index);
    TZLBArchive archive;
    archive.CreateArchive(path(u"out.zlb"_s));
    QStringList files = {input(u"kasse.txt"_s)};
    QVERIFY(archive.AddFiles(files));
    QCOMPARE(errorOf([&] { archive.GetFileEntry(index); }), u"Index out of bounds"_s);
}

void TstZlbArchive::createRefusesExistingFile()
{
    TZLBArchive archive;
    archive.CreateArchive(path(u"first.zlb"_s));
    const QString existing = writeFile(u"existing.zlb"_s, "x");
    QCOMPARE(errorOf([&] { archive.CreateArchive(existing); }), u"File already exists"_s);
    QCOMPARE(archive.archiveName(), QString());
    QCOMPARE(readAll(existing), QByteArray("x"));
}

QTEST_GUILESS_MAIN(TstZlbArchive)
#include "tst_zlbarchive.moc"
