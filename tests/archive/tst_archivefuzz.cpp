#include "ArchiveBytes.h"
#include "TZLBArchive.h"

#include "Errors.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;
using namespace kb;

namespace {

constexpr int Iterations = 800;
// Deep enough that a member climbing a few levels out still lands inside the temporary directory,
// where the check below sees it.
const QString Destination = u"1/2/3/4/5/6/7/8/out"_s;

const QList<QByteArray> HostileNames = {"..", ".", "/", "\\", "../x", "..\\x", "/../../", "C:\\", ""};

class Mutator
{
public:
    explicit Mutator(quint32 seed) : m_random(seed) {}

    int below(int bound) { return bound > 0 ? int(m_random.bounded(bound)) : 0; }
    bool chance(int percent) { return below(100) < percent; }

    void mutate(QByteArray &bytes)
    {
        for (int count = 1 + below(4); count > 0; --count) {
            switch (below(5)) {
            case 0: flipBit(bytes); break;
            case 1: setInterestingInteger(bytes); break;
            case 2: bytes.insert(below(int(bytes.size()) + 1), QByteArray(1 + below(16), char(below(256)))); break;
            case 3: bytes.remove(below(int(bytes.size()) + 1), below(32)); break;
            default: bytes.truncate(below(int(bytes.size()) + 1)); break;
            }
        }
    }

    // Puts a name that must never leave the destination into a random name or directory field.
    void plantHostileName(QByteArray &records)
    {
        const int entries = int(records.size() / TZLBEntry::RecordSize);
        if (entries == 0)
            return;
        const QByteArray name = HostileNames.at(below(int(HostileNames.size())));
        char *field = records.data() + below(entries) * TZLBEntry::RecordSize + (chance(50) ? 0 : 256);
        field[0] = char(name.size());
        std::copy(name.begin(), name.end(), field + 1);
    }

private:
    void flipBit(QByteArray &bytes)
    {
        if (!bytes.isEmpty())
            bytes[below(int(bytes.size()))] ^= char(1 << below(8));
    }

    void setInterestingInteger(QByteArray &bytes)
    {
        const qint32 values[] = {0, 1, -1, 36, 532, 4096, std::numeric_limits<qint32>::max(),
                                 std::numeric_limits<qint32>::min(), qint32(bytes.size())};
        if (bytes.size() >= 4)
            qToLittleEndian<qint32>(values[below(std::size(values))], bytes.data() + below(int(bytes.size()) - 3));
    }

    QRandomGenerator m_random;
};

} // namespace

class TstArchiveFuzz : public QObject
{
    Q_OBJECT

private slots:
    void mutatedArchivesStayInside_data();
    void mutatedArchivesStayInside();
};

void TstArchiveFuzz::mutatedArchivesStayInside_data()
{
    QTest::addColumn<bool>("compressedRegistry");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("compressed registry") << true << 20240601u;
    QTest::newRow("uncompressed registry") << false << 20240602u;
}

// Random changes to the data area, to the registry records before they are packed, and to the
// packed file, mostly with the trailer CRC made right again so that they get past the check.
void TstArchiveFuzz::mutatedArchivesStayInside()
{
    QFETCH(bool, compressedRegistry);
    QFETCH(quint32, seed);
    const QList<ArchiveBytes::Member> members = {
        {u"KASSE.ADT"_s, u"/Daten/Kasse/"_s, QByteArray("01.03.2024;B-0001;Porto;2,70\r\n").repeated(40), true},
        {u"noise.bin"_s, u"\\Daten\\"_s, QByteArray(300, '\x5a'), false},
        {u"leer.txt"_s, {}, {}, false},
        {u"Konten.frf"_s, u"/Vorlagen/"_s, QByteArray("<band/>").repeated(90), true}};
    const auto [area, records] = ArchiveBytes::layOut(members);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString archivePath = root.filePath(u"in.zlb"_s);
    const QString destination = root.filePath(Destination);
    Mutator mutator(seed);

    for (int iteration = 0; iteration < Iterations; ++iteration) {
        QByteArray mutatedArea = area;
        QByteArray mutatedRecords = records;
        if (mutator.chance(40))
            mutator.mutate(mutatedArea);
        if (mutator.chance(60))
            mutator.mutate(mutatedRecords);
        if (mutator.chance(30))
            mutator.plantHostileName(mutatedRecords);
        QByteArray bytes = ArchiveBytes::assemble(mutatedArea, mutatedRecords, compressedRegistry);
        if (mutator.chance(30)) {
            mutator.mutate(bytes);
            if (mutator.chance(80) && bytes.size() >= TZLBTrailer::Size)
                ArchiveBytes::refreshTrailerCrc(bytes);
        }
        // A fresh file each time: truncating one makes the file system write it out at close.
        QFile::remove(archivePath);
        QFile file(archivePath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();

        TZLBArchive archive;
        archive.setExtractWithPath(mutator.chance(50));
        archive.setCheckCRC(mutator.chance(50));
        try {
            if (archive.OpenArchive(archivePath))
                archive.ExtractFiles(destination);
        } catch (const Error &) {
            // Refusing a broken archive is the expected outcome.
        }

        QDirIterator it(root.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry = it.nextFileInfo();
            const QString relative = QDir(root.path()).relativeFilePath(entry.filePath());
            if (relative != u"in.zlb"_s && !Destination.startsWith(relative) && !relative.startsWith(Destination + u'/'))
                QFAIL(qPrintable(u"iteration %1 wrote %2 outside the destination"_s.arg(iteration).arg(relative)));
            // Directories stay for the next rounds: removing them is slow on some file systems.
            if (relative != u"in.zlb"_s && !entry.isDir())
                QVERIFY(QFile::remove(entry.filePath()));
        }
    }
}

QTEST_GUILESS_MAIN(TstArchiveFuzz)
#include "tst_archivefuzz.moc"
