#pragma once

#include "DataSource.h"
#include "Database.h"
#include "SchemaCatalogue.h"
#include "ScriptedUiServices.h"
#include "Table.h"

#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

// A fresh database with a few bookings and accounts, the booking cursor KasseTable on it in
// journal order, its data source, the scripted user and a shown window for the controls.
struct LedgerFixture
{
    LedgerFixture()
    {
        kb::SchemaCatalogue::createAll(db);
        addAccount(u"Bürobedarf", 19, false);
        addAccount(u"Anfangsbestand", 0, false);
        addAccount(u"Porto", 0, true);
        addBooking(u"2007-03-01", u"B-0001", 12.5, false);
        addBooking(u"2007-03-02", u"B-0002", 1234.56, true);
        addBooking(u"2007-03-03", u"B-0003", 7, false);
        kasse.setTableName(QStringLiteral("Kasse.adt"));
        kasse.setIndexName(QStringLiteral("FIRMA_ID"));
        kasse.open();
        window.resize(600, 400);
    }

    void addBooking(QStringView isoDate, QStringView belegNr, double amount, bool minus)
    {
        db.execute(QStringLiteral("INSERT INTO KASSE (Firma_ID, Datum, BelegNr, Buchungsbetrag, Text, KontoID, "
                                    "Minuskonto) VALUES (1, '%1', '%2', %3, 'Papier', 1, %4)")
                         .arg(isoDate, belegNr, QString::number(amount, 'f', 4), minus ? u"1" : u"0"));
    }

    void addAccount(QStringView name, int percent, bool minus)
    {
        db.execute(QStringLiteral("INSERT INTO KONTEN (Kontoname, KontoProzentSatz, Minuskonto) VALUES ('%1', %2, %3)")
                         .arg(name, QString::number(percent), minus ? u"1" : u"0"));
    }

    // Shows the window and waits until it is active, so that focus changes reach the controls.
    bool showWindow()
    {
        window.show();
        return QTest::qWaitForWindowActive(&window);
    }

    kb::Field &field(const QString &name) { return kasse.fieldByName(name); }

    QTemporaryDir dir;
    kb::Database db{dir.filePath(kb::Database::fileName()), true};
    kb::Table kasse{&db};
    kb::DataSource source{&kasse};
    kb::ScriptedUiServices ui;
    QWidget window;
};
