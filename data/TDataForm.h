#pragma once

#include "DataSource.h"
#include "JournalWalk.h"
#include "Money.h"
#include "Progress.h"
#include "Query.h"
#include "Table.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace kb {

class Database;
class ReportComponents;
class UiServices;

// The values of the last stored booking in the field text forms, offered as entry defaults.
struct LastEntryValues
{
    QString Datum;
    QString BelegNr;
    QString Buchungsbetrag;
    QString Kontoname;
    QString KontoID;
    QString Text;
};

// The data module: the database Data/kassenbuch.db, one cursor per table, the SQL cursor and the
// data sources windows bind to, and the rules that run whenever bookings, accounts, group links
// or companies are stored or deleted. Every window reaches the tables through it.
//
// Invariant kept after every store and delete of a booking through KasseTable: the bookings of
// the current company in the order Datum, Nr carry lfdNr 1 … n and the running balance
// Zeilenbestand, starting from 0. A store or delete and the walk that keeps the invariant are one
// transaction. The invariant of a company is verified in full, and repaired, when the tables open
// and whenever the current company changes; a walk trusts only rows of a company verified so.
class TDataForm : private DataSourceObserver
{
public:
    // Opens the tables (with the schema upgrade), puts KasseTable on its last booking and
    // remembers it as the entry defaults. A missing or unreadable table, or a failing upgrade,
    // throws the engine's error: the program must not run without its tables.
    TDataForm(const QString &programDirectory, UiServices &ui, Progress *progress = nullptr);
    ~TDataForm();
    TDataForm(const TDataForm &) = delete;
    TDataForm &operator=(const TDataForm &) = delete;

    void setProgress(Progress *progress);
    const QString &programDirectory() const { return m_programDirectory; }
    QString dataDirectory() const;
    // Null between CloseTables and OpenTables.
    Database *database() const { return m_db.get(); }

    void OpenTables();
    // Closes every cursor and the database: afterwards no file of Data/ is held open.
    void CloseTables();

    const LastEntryValues &LastEntry() const { return m_lastEntry; }
    void RememberLastEntry();

    // The balance of the current company before the booking with this lfdNr (empty text: a
    // booking without number, so before all stored bookings), from two sums through Query.
    Money BalanceBefore(const QString &lfdNr);
    // Walks the whole journal of the current company and rewrites lfdNr and Zeilenbestand where
    // they differ from the invariant, in one transaction: a failure leaves every booking as it
    // was and propagates.
    void RenumberAndRebalance();
    // Verifies lfdNr and Zeilenbestand of every booking of the current company unless that was
    // done since it became current, and repairs them when any is wrong (an old file, a restored
    // backup); leaves KasseTable on the first booking.
    void EnsureLfdNr();

    void UpgradeKasseTable();
    // Adds a field the table lacks (compared without regard to case) by running statement
    // through Query; the table is left open or closed as it was.
    void AddFieldIfMissing(Table &table, const QString &fieldName, const QString &statement, bool showMessage);

    // Gives KasseTable's booking the VAT percentage and minus flag of its account (located by
    // KontoID) where they differ; a booking without a known account keeps both. The booking is
    // put into editing only when a value changes, so a matching browsed booking stays untouched.
    void ApplyAccountToBooking();
    // Sets UMSTinEURO and Nettobuchungsbetrag of KasseTable's booking from its Buchungsbetrag and
    // UMSTinProzent as they stand, putting the booking into editing only when either differs.
    void ApplyVatToBooking();

    // The receipt number that follows: the trailing run of digits counted up, keeping its width.
    static QString NextBelegNr(const QString &belegNr);

    Table FirmaTable;
    Table KasseTable;
    Table EditKasseTable;
    Table KontenTable;
    Table TexteTable;
    Table GruppenTable;
    Table GrpLinkTable;
    Table BKasseTable;
    Table MailTable;
    kb::Query Query;

    DataSource FirmaSource;
    DataSource KasseSource;
    DataSource KontenSource;
    DataSource TexteSource;
    DataSource GruppenSource;
    DataSource GrpLinkSource;
    DataSource BKasseSource;
    DataSource MailSource;
    DataSource SQLSource;

    // frReport1 with its datasets and export formats; made on first use by the report commands,
    // since the report object needs the program's formats and printer.
    std::unique_ptr<ReportComponents> Reports;

private:
    void KasseTableAfterInsert(Table &table);
    void KasseTableBeforePost(Table &table);
    void KasseTableAfterPost(Table &table);
    void KasseTableAfterDelete(Table &table);
    void KontenTableAfterInsert(Table &table);
    void KontenTableBeforePost(Table &table);
    void GrpLinkTableBeforePost(Table &table);
    void BKasseTableBeforePost(Table &table);
    void KontenTableBeforeDelete(Table &table);
    void GruppenTableBeforeDelete(Table &table);
    void FirmaTableBeforeDelete(Table &table);

    // FirmaSource tells of a company change: the new company's journal is verified.
    void cursorRecordChanged() override { followCompany(); }
    void cursorRowsChanged() override { followCompany(); }
    void followCompany();
    void verifyJournal();
    std::optional<qint64> currentCompany() const;

    void bindCursors();
    void attachHandlers();
    QList<Table *> tablesInOpeningOrder();

    void refuseWithoutCompany() const;
    void setProvisionalBalance();
    // A new booking dated on or after the journal's last one goes to its end: its number is known
    // before it is written, and together with its provisional balance it leaves the walk nothing
    // to write.
    void numberAtTheEnd();
    void resolveAccount();
    bool locateAccount(const Field &kontoId);
    Money openSum(const QString &statement);
    // The number of bookings of every company that name the account.
    int bookingsOfAccount(qint64 kontoNr);
    void writeFailedStatement(const QString &statement) const;

    // The position in the journal of KasseTable's current booking; 0 when it cannot be told.
    int journalPosition();
    // Renumbers after a store or delete through KasseTable: the walk starts at the earlier of the
    // booking's places before and after, or where the deleted booking stood.
    void rebalanceAfterChange(std::optional<int> positionBefore);
    // Refreshes EditKasseTable, then walks over what changed says can have changed; a company not
    // verified in this session is verified instead and walked from its first wrong booking. Both
    // cursors are read again when the walk fails.
    void walkFrom(const std::function<JournalWalk::Change()> &changed);

    QString m_programDirectory;
    UiServices &m_ui;
    Progress *m_progress;
    NoProgress m_noProgress;
    std::unique_ptr<Database> m_db;
    LastEntryValues m_lastEntry;
    // Where the booking being stored stood in the journal before the store.
    std::optional<int> m_positionBeforeStore;
    // The store was an empty amount that discarded the change: nothing was written.
    bool m_changeDiscarded = false;
    // Companies whose journal was verified since they became current and kept right by every
    // walk after, with the connection's rollback count then: a later rollback may have taken
    // back a repair made inside a transaction that failed. Forgotten when a walk fails and when
    // the tables close, since a backup or restore may replace the file.
    QHash<qint64, qint64> m_balancedCompanies;
    bool isBalanced(qint64 company) const;
    // The company whose journal the last verification covered as the current one.
    std::optional<qint64> m_followedCompany;
};

} // namespace kb
