#include "DataDirectorySetup.h"
#include "StandardTemplates.h"
#include "TemplateFile.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace kb;
using namespace Qt::StringLiterals;

class TstStandardTemplates : public QObject
{
    Q_OBJECT

private slots:
    void freshDataHoldsTheFourTemplatesAsReadableFiles()
    {
        QTemporaryDir dir;
        DataDirectorySetup::create(dir.path());
        const QString data = DataDirectorySetup::dataDirectory(dir.path());
        for (const QString &name : StandardTemplates::fileNames())
            QVERIFY(report::TemplateFile::load(QDir(data).filePath(name)) == StandardTemplates::make(name));
    }

    void onlyMissingTemplatesAreAddedAndAChangedOneStays()
    {
        QTemporaryDir dir;
        const QString changed = testfiles::writeBytes(dir.filePath(u"Kassenbuch.frf"_s), "mein eigenes Layout");
        QCOMPARE(StandardTemplates::writeMissing(dir.path()), (QStringList{u"Konten.frf"_s, u"Gruppen.frf"_s, u"BarKasse.frf"_s}));
        QCOMPARE(testfiles::readBytes(changed), QByteArray("mein eigenes Layout"));
        QCOMPARE(StandardTemplates::writeMissing(dir.path()), QStringList());
    }
};

QTEST_MAIN(TstStandardTemplates)
#include "tst_standardtemplates.moc"
