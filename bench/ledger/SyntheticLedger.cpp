#include "SyntheticLedger.h"

#include "Database.h"
#include "Statement.h"

#include <QDate>

namespace kb {

namespace {

void insertBookings(Database &db, qint64 company, int bookings, bool numbered)
{
    Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO \"KASSE\" (\"Firma_ID\", \"Datum\", \"BelegNr\", \"Buchungsbetrag\", \"UMSTinProzent\","
        " \"UMSTinEURO\", \"Nettobuchungsbetrag\", \"Zeilenbestand\", \"Text\", \"Kontoname\", \"KontoID\","
        " \"Minuskonto\", \"lfdNr\") VALUES (?1, ?2, ?3, ?4, 19, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)"));
    const QDate start(2000, 1, 1);
    qint64 balanceUnits = 0;
    for (int i = 0; i < bookings; ++i) {
        const bool minus = i % 3 == 2;
        const qint64 grossUnits = 10000 * (1 + (i * 37) % 500) + (i % 100) * 100;
        const double gross = double(grossUnits) / 10000;
        balanceUnits += minus ? -grossUnits : grossUnits;
        insert.reset();
        insert.bindInteger(1, company);
        // Dates rise with the insert order, several bookings a day, as a real journal grows.
        insert.bindText(2, start.addDays(i / 8).toString(Qt::ISODate));
        insert.bindText(3, QStringLiteral("B-%1").arg(i + 1, 6, 10, QLatin1Char('0')));
        insert.bindDouble(4, gross);
        insert.bindDouble(5, gross * 19 / 119);
        insert.bindDouble(6, gross - gross * 19 / 119);
        if (numbered)
            insert.bindDouble(7, double(balanceUnits) / 10000);
        insert.bindText(8, minus ? QStringLiteral("Büromaterial") : QStringLiteral("Tageseinnahmen"));
        insert.bindText(9, minus ? QStringLiteral("Bürobedarf") : QStringLiteral("Erlöse 19 % USt"));
        insert.bindInteger(10, minus ? 4 : 2);
        insert.bindInteger(11, minus ? 1 : 0);
        if (numbered)
            insert.bindInteger(12, i + 1);
        insert.run();
    }
}

} // namespace

void SyntheticLedger::fill(Database &db, int bookings, bool numbered)
{
    Transaction transaction(db);
    db.execute(QStringLiteral("INSERT INTO \"FIRMA\" (\"Firma\") VALUES ('Zweitfirma')"));
    insertBookings(db, CompanyId, bookings, numbered);
    insertBookings(db, OtherCompanyId, 50, numbered);
    transaction.commit();
}

} // namespace kb
