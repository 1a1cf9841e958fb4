#include "DataDirectoryReplacement.h"
#include "Errors.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kb;
using namespace kb::testfiles;
using namespace Qt::StringLiterals;

class TstDataDirectoryReplacement : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void stagedFilesReplaceTheirNamesAndEverythingElseStays();
    void leftoverOfAnInterruptedRunIsRemovedFirst();
    void failureLeavesTheDataDirectoryAsItWas_data();
    void failureLeavesTheDataDirectoryAsItWas();

private:
    QString path(const QString &name) const { return m_root->filePath(name); }
    void replace() { DataDirectoryReplacement::replace(path(u"Data"_s), path(u"_Temp"_s), path(u"_Work"_s)); }

    std::unique_ptr<QTemporaryDir> m_root;
};

void TstDataDirectoryReplacement::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    writeBytes(path(u"Data/kassenbuch.db"_s), "old database");
    writeBytes(path(u"Data/Kassenbuch.frf"_s), "old template");
    writeBytes(path(u"Data/Eigene.frf"_s), "own template");
    writeBytes(path(u"Data/Archiv/2019.txt"_s), "kept below");
    writeBytes(path(u"_Temp/kassenbuch.db"_s), "new database");
    writeBytes(path(u"_Temp/Kassenbuch.frf"_s), "new template");
}

void TstDataDirectoryReplacement::stagedFilesReplaceTheirNamesAndEverythingElseStays()
{
    replace();
    QCOMPARE(readBytes(path(u"Data/kassenbuch.db"_s)), "new database");
    QCOMPARE(readBytes(path(u"Data/Kassenbuch.frf"_s)), "new template");
    QCOMPARE(readBytes(path(u"Data/Eigene.frf"_s)), "own template");
    QCOMPARE(readBytes(path(u"Data/Archiv/2019.txt"_s)), "kept below");
    QCOMPARE(tree(path(u"_Temp"_s)), QStringList());
    QCOMPARE(tree(m_root->path()), (QStringList{u"Data"_s, u"Data/Archiv"_s, u"Data/Archiv/2019.txt"_s,
                                                u"Data/Eigene.frf"_s, u"Data/Kassenbuch.frf"_s,
                                                u"Data/kassenbuch.db"_s, u"_Temp"_s}));
}

void TstDataDirectoryReplacement::leftoverOfAnInterruptedRunIsRemovedFirst()
{
    writeBytes(path(u"_Work/kassenbuch.db"_s), "half built");
    writeBytes(path(u"_Work/Fremd.txt"_s), "from the run that was killed");
    replace();
    QCOMPARE(readBytes(path(u"Data/kassenbuch.db"_s)), "new database");
    QVERIFY(!QFileInfo::exists(path(u"Data/Fremd.txt"_s)));
    QVERIFY(!QFileInfo::exists(path(u"_Work"_s)));
}

void TstDataDirectoryReplacement::failureLeavesTheDataDirectoryAsItWas_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::newRow("a staged file would replace a directory") << u"_Temp/Archiv"_s;
    QTest::newRow("a staged entry is no file") << u"_Temp/Unterordner/x"_s;
}

void TstDataDirectoryReplacement::failureLeavesTheDataDirectoryAsItWas()
{
    QFETCH(QString, blocker);
    writeBytes(path(blocker), "in the way");
    const QStringList before = tree(path(u"Data"_s));
    QVERIFY_THROWS_EXCEPTION(Error, replace());
    QCOMPARE(tree(path(u"Data"_s)), before);
    QCOMPARE(readBytes(path(u"Data/kassenbuch.db"_s)), "old database");
    QVERIFY(!QFileInfo::exists(path(u"_Work"_s)));
}

QTEST_GUILESS_MAIN(TstDataDirectoryReplacement)
#include "tst_datadirectoryreplacement.moc"
