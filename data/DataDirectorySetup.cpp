#include "DataDirectorySetup.h"

#include "Database.h"
#include "Errors.h"
#include "SchemaCatalogue.h"
#include "StandardTemplates.h"
#include "Statement.h"

#include <QDir>
#include <QFileInfo>

namespace kb {

namespace {

struct StandardAccount
{
    const char *number;
    const char *name;
    double percent;
    bool minus;
};

// Accounts a German shop books through its till, with their SKR03 numbers.
constexpr StandardAccount StandardAccounts[] = {
    {"9000", "Anfangsbestand", 0.0, false},
    {"8400", "Erlöse 19 % USt", 19.0, false},
    {"8300", "Erlöse 7 % USt", 7.0, false},
    {"4930", "Bürobedarf", 19.0, true},
    {"4910", "Porto", 0.0, true},
    {"4650", "Bewirtungskosten", 19.0, true},
    {"1800", "Privatentnahme", 0.0, true},
    {"1890", "Privateinlage", 0.0, false},
    {"1360", "Geldtransit an Bank", 0.0, true},
    {"2150", "Kassendifferenz", 0.0, true},
};

constexpr const char *StandardTexts[] = {
    "Tageseinnahmen",
    "Büromaterial",
    "Briefmarken",
    "Bewirtung von Geschäftsfreunden",
    "Privatentnahme",
    "Bareinzahlung auf das Bankkonto",
};

void insertSampleRows(Database &db)
{
    Statement company = db.prepare(QStringLiteral("INSERT INTO \"FIRMA\" (\"Firma\") VALUES (?1)"));
    company.bindText(1, QStringLiteral("Beispielfirma"));
    company.run();

    Statement account = db.prepare(QStringLiteral(
        "INSERT INTO \"KONTEN\" (\"Konto\", \"Kontoname\", \"KontoProzentSatz\", \"Minuskonto\") VALUES (?1, ?2, ?3, ?4)"));
    for (const StandardAccount &a : StandardAccounts) {
        account.reset();
        account.bindText(1, QString::fromUtf8(a.number));
        account.bindText(2, QString::fromUtf8(a.name));
        account.bindDouble(3, a.percent);
        account.bindInteger(4, a.minus ? 1 : 0);
        account.run();
    }

    Statement text = db.prepare(QStringLiteral("INSERT INTO \"TEXTE\" (\"Text\") VALUES (?1)"));
    for (const char *t : StandardTexts) {
        text.reset();
        text.bindText(1, QString::fromUtf8(t));
        text.run();
    }
}

} // namespace

QString DataDirectorySetup::dataDirectory(const QString &programDirectory)
{
    return QDir(programDirectory).filePath(QStringLiteral("Data"));
}

QString DataDirectorySetup::databasePath(const QString &programDirectory)
{
    return QDir(dataDirectory(programDirectory)).filePath(Database::fileName());
}

void DataDirectorySetup::create(const QString &programDirectory)
{
    const QString data = dataDirectory(programDirectory);
    if (QFileInfo::exists(data))
        throw Error(QStringLiteral("Das Datenverzeichnis %1 besteht bereits und wird nicht verändert").arg(data));
    // Built beside the target and renamed at the end, so a failure never leaves a half-made Data/.
    const QString staging = data + QStringLiteral(".neu");
    QDir(staging).removeRecursively();
    if (!QDir().mkpath(staging))
        throw FileError::cannotCreate(staging);
    try {
        Database db(QDir(staging).filePath(Database::fileName()), true);
        SchemaCatalogue::createAll(db);
        Transaction transaction(db);
        insertSampleRows(db);
        transaction.commit();
        StandardTemplates::writeMissing(staging);
    } catch (...) {
        QDir(staging).removeRecursively();
        throw;
    }
    if (!QDir().rename(staging, data)) {
        QDir(staging).removeRecursively();
        throw FileError::cannotCreate(data);
    }
}

} // namespace kb
