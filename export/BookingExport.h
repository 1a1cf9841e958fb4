#pragma once

#include "Period.h"

#include <QStringList>

namespace kb {

class TDataForm;

// The bookings of a period as semicolon-separated lines: Datum;BelegNr;Konto;Gegenkonto;
// Buchungsbetrag;UMSTinProzent;UMSTinEURO;Nettobuchungsbetrag;Bestand/Saldo;"Text". The cash
// book's own account 1000 is the other side of every booking: an expense is booked from its
// account against 1000, any other booking from 1000 against its account.
class BookingExport
{
public:
    static QString cashAccount() { return QStringLiteral("1000"); }
    static QString missingAccount() { return QStringLiteral("< Fehler >"); }

    static QStringList columnNames();
    // The current company's bookings of the period joined with their accounts, by booking number.
    static QStringList statement(const Period &period, qint64 companyId);
    // Runs the statement through the data module's Query, one line per booking in its order; the
    // account numbers come from KontenTable, which is left on the last booking's account.
    static QStringList bookingLines(TDataForm &data, const Period &period);

    // Writes every line with CR LF in code page 1252; characters the code page lacks become "?".
    // Returns how many lines held such characters. Throws FileError::cannotCreate.
    static int save(const QString &path, const QStringList &lines);
};

} // namespace kb
