#pragma once

#include "DataDirectorySetup.h"
#include "Database.h"
#include "Statement.h"
#include "TDataForm.h"
#include "TextForms.h"

#include <QStringList>
#include <QTemporaryDir>

namespace kb::test {

// The standard accounts of a fresh Data/ by key.
enum Account : int {
    Anfangsbestand = 1,  // 0 %, adds
    Erloese19 = 2,       // 19 %, adds
    Erloese7 = 3,        // 7 %, adds
    Buerobedarf = 4,     // 19 %, minus
    Porto = 5,           // 0 %, minus
    Kassendifferenz = 10 // 0 %, minus
};

constexpr qint64 Beispielfirma = 1;

// A program directory of its own with a Data/ made by the set-up code: the company
// "Beispielfirma" and the standard accounts.
class LedgerFixture
{
public:
    LedgerFixture() { DataDirectorySetup::create(path()); }

    QString path() const { return m_dir.path(); }

    // Runs statements on the file while no data module holds it.
    void execute(const QStringList &statements) const
    {
        Database db(DataDirectorySetup::databasePath(path()));
        for (const QString &statement : statements)
            db.execute(statement);
    }

private:
    QTemporaryDir m_dir;
};

// Appends a booking through KasseTable and stores it with every rule.
inline void book(TDataForm &data, const QString &belegNr, const QString &datum, const QString &amount, int account)
{
    data.KasseTable.append();
    data.KasseTable.fieldByName(QStringLiteral("BelegNr")).setAsString(belegNr);
    data.KasseTable.fieldByName(QStringLiteral("Datum")).setAsString(datum);
    data.KasseTable.fieldByName(QStringLiteral("Buchungsbetrag")).setAsString(amount);
    data.KasseTable.fieldByName(QStringLiteral("KontoID")).setAsInteger(account);
    data.KasseTable.post();
}

// The stored text of one column, read from the file; amounts in their plain form on the grid.
inline QString storedValue(const Statement &row, int column)
{
    if (row.isNull(column))
        return QStringLiteral("-");
    if (row.storageClass(column) == Statement::StorageClass::Real)
        return TextForms::plainNumber(Money::fromDouble(row.real(column)));
    return row.text(column);
}

// A company's journal as the file holds it, in the order Datum, Nr: "BelegNr lfdNr Zeilenbestand".
inline QStringList journal(const Database &db, qint64 company)
{
    Statement rows = db.prepare(QStringLiteral(
        "SELECT \"BelegNr\", \"lfdNr\", \"Zeilenbestand\" FROM \"KASSE\" WHERE \"Firma_ID\" = ?1 ORDER BY \"Datum\", \"Nr\""));
    rows.bindInteger(1, company);
    QStringList lines;
    while (rows.step())
        lines.append(QStringList{storedValue(rows, 0), storedValue(rows, 1), storedValue(rows, 2)}.join(QLatin1Char(' ')));
    return lines;
}

inline qint64 bookingCount(const Database &db)
{
    Statement count = db.prepare(QStringLiteral("SELECT count(*) FROM \"KASSE\""));
    count.step();
    return count.integer(0);
}

} // namespace kb::test
