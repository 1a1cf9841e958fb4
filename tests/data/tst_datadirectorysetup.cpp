#include "DataDirectorySetup.h"
#include "Database.h"
#include "Errors.h"
#include "SchemaCatalogue.h"
#include "Statement.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace kb;

class TstDataDirectorySetup : public QObject
{
    Q_OBJECT

private slots:
    void createsEveryTableWithTheSampleRows();
    void refusesAnExistingDataDirectory();
};

namespace {

qint64 count(const Database &db, const QString &table)
{
    Statement s = db.prepare(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
    s.step();
    return s.integer(0);
}

} // namespace

void TstDataDirectorySetup::createsEveryTableWithTheSampleRows()
{
    QTemporaryDir dir;
    DataDirectorySetup::create(dir.path());

    Database db(DataDirectorySetup::databasePath(dir.path()));
    for (const TableDef &table : SchemaCatalogue::tables()) {
        QVERIFY2(db.hasTable(table.name), qPrintable(table.name));
        QCOMPARE(db.columns(table.name).size(), table.fields.size());
    }
    Statement company = db.prepare(QStringLiteral("SELECT \"Firma\" FROM \"FIRMA\""));
    QVERIFY(company.step());
    QCOMPARE(company.text(0), QStringLiteral("Beispielfirma"));
    QVERIFY(!company.step());
    QVERIFY(count(db, QStringLiteral("KONTEN")) >= 8);
    QVERIFY(count(db, QStringLiteral("TEXTE")) >= 3);
    QCOMPARE(count(db, QStringLiteral("KASSE")), 0);

    Statement minus = db.prepare(QStringLiteral("SELECT \"Minuskonto\", \"KontoProzentSatz\" FROM \"KONTEN\" WHERE \"Konto\"='4930'"));
    QVERIFY(minus.step());
    QCOMPARE(minus.integer(0), 1);
    QCOMPARE(minus.real(1), 19.0);
    QVERIFY(!QFileInfo::exists(DataDirectorySetup::dataDirectory(dir.path()) + QStringLiteral(".neu")));
}

void TstDataDirectorySetup::refusesAnExistingDataDirectory()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Data")));
    QFile marker(dir.filePath(QStringLiteral("Data/mine.txt")));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();

    QVERIFY_THROWS_EXCEPTION(Error, DataDirectorySetup::create(dir.path()));
    QCOMPARE(QDir(DataDirectorySetup::dataDirectory(dir.path())).entryList(QDir::Files),
             QStringList{QStringLiteral("mine.txt")});
}

QTEST_MAIN(TstDataDirectorySetup)
#include "tst_datadirectorysetup.moc"
