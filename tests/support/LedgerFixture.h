#pragma once

#include "DataDirectorySetup.h"
#include "DataSource.h"
#include "Database.h"
#include "ScriptedUiServices.h"
#include "Statement.h"
#include "TDataForm.h"
#include "Table.h"
#include "TextForms.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

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
// "Beispielfirma" and the standard accounts. Tests of the data module open it with TDataForm;
// tests of controls open a small sample journal on a connection of the fixture's own.
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

    // Three accounts in place of the standard ones (keys 1 Bürobedarf 19 %, 2 Anfangsbestand,
    // 3 Porto subtracted) and three bookings of Beispielfirma on account 1, B-0001 12,5 on
    // 01.03.2007, B-0002 1234,56 subtracted on 02.03., B-0003 7 on 03.03.; kasse() stands on the
    // first of them.
    void openSampleJournal()
    {
        execute({QStringLiteral("DELETE FROM \"KONTEN\""), QStringLiteral("DELETE FROM sqlite_sequence WHERE name = 'KONTEN'")});
        addAccount(u"Bürobedarf", 19, false);
        addAccount(u"Anfangsbestand", 0, false);
        addAccount(u"Porto", 0, true);
        addBooking(u"2007-03-01", u"B-0001", 12.5, false);
        addBooking(u"2007-03-02", u"B-0002", 1234.56, true);
        addBooking(u"2007-03-03", u"B-0003", 7, false);
        kasse().setTableName(QStringLiteral("Kasse.adt"));
        kasse().setIndexName(QStringLiteral("FIRMA_ID"));
        kasse().open();
        window().resize(600, 400);
    }

    void addBooking(QStringView isoDate, QStringView belegNr, double amount, bool minus)
    {
        db().execute(QStringLiteral("INSERT INTO KASSE (Firma_ID, Datum, BelegNr, Buchungsbetrag, Text, KontoID, "
                                    "Minuskonto) VALUES (1, '%1', '%2', %3, 'Papier', 1, %4)")
                         .arg(isoDate, belegNr, QString::number(amount, 'f', 4), minus ? u"1" : u"0"));
    }

    void addAccount(QStringView name, int percent, bool minus)
    {
        db().execute(QStringLiteral("INSERT INTO KONTEN (Kontoname, KontoProzentSatz, Minuskonto) VALUES ('%1', %2, %3)")
                         .arg(name, QString::number(percent), minus ? u"1" : u"0"));
    }

    // The fixture's own connection and the journal cursor on it, made on first use.
    Database &db()
    {
        if (!m_db)
            m_db = std::make_unique<Database>(DataDirectorySetup::databasePath(path()));
        return *m_db;
    }
    Table &kasse()
    {
        if (!m_kasse)
            m_kasse = std::make_unique<Table>(&db());
        return *m_kasse;
    }
    DataSource &source()
    {
        if (!m_source)
            m_source = std::make_unique<DataSource>(&kasse());
        return *m_source;
    }
    Field &field(const QString &name) { return kasse().fieldByName(name); }

    // The window for the controls under test.
    QWidget &window()
    {
        if (!m_window)
            m_window = std::make_unique<QWidget>();
        return *m_window;
    }
    // Shows the window and waits until it is active, so that focus changes reach the controls.
    bool showWindow()
    {
        window().show();
        return QTest::qWaitForWindowActive(&window());
    }

    ScriptedUiServices ui;

private:
    QTemporaryDir m_dir;
    // Controls go before their data source, the cursor before its connection.
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Table> m_kasse;
    std::unique_ptr<DataSource> m_source;
    std::unique_ptr<QWidget> m_window;
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
