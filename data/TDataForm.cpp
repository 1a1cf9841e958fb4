#include "TDataForm.h"

#include "CashCount.h"
#include "DataDirectorySetup.h"
#include "Database.h"
#include "Errors.h"
#include "ReportComponents.h"
#include "UiServices.h"
#include "Vat.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <utility>

namespace kb {

namespace {

const QString ParagraphBreak = QStringLiteral("\n\n");

// Re-reads a cursor after a failed walk without hiding the walk's error behind a second one.
void refreshQuietly(Table &table) noexcept
{
    try {
        table.cancel();
        table.refresh();
    } catch (...) {
    }
}

} // namespace

TDataForm::TDataForm(const QString &programDirectory, UiServices &ui, Progress *progress)
    : FirmaSource(&FirmaTable), KasseSource(&KasseTable), KontenSource(&KontenTable), TexteSource(&TexteTable),
      GruppenSource(&GruppenTable), GrpLinkSource(&GrpLinkTable), BKasseSource(&BKasseTable),
      MailSource(&MailTable), SQLSource(&Query), m_programDirectory(programDirectory), m_ui(ui),
      m_progress(progress ? progress : &m_noProgress)
{
    bindCursors();
    attachHandlers();
    // After the detail tables: they have followed a company change when the journal is verified.
    FirmaSource.addObserver(this);
    try {
        OpenTables();
        KasseTable.last();
        RememberLastEntry();
    } catch (...) {
        CloseTables();
        throw;
    }
}

TDataForm::~TDataForm()
{
    CloseTables();
    FirmaSource.removeObserver(this);
}

void TDataForm::setProgress(Progress *progress)
{
    m_progress = progress ? progress : &m_noProgress;
}

QString TDataForm::dataDirectory() const
{
    return DataDirectorySetup::dataDirectory(m_programDirectory);
}

void TDataForm::bindCursors()
{
    const auto bind = [](Table &table, const char *name, const char *index) {
        table.setTableName(QString::fromLatin1(name));
        table.setIndexName(QString::fromLatin1(index));
    };
    bind(FirmaTable, "FIRMA.ADT", "FIRMA");
    bind(KasseTable, "KASSE.ADT", "FIRMA_ID");
    bind(EditKasseTable, "KASSE.ADT", "FIRMA_ID");
    bind(KontenTable, "KONTEN.ADT", "KONTONAME");
    bind(TexteTable, "TEXTE.ADT", "TEXT");
    bind(GruppenTable, "GRUPPEN.ADT", "");
    bind(GrpLinkTable, "GRPLINK.ADT", "GRUPPENID");
    bind(BKasseTable, "BKASSE.ADT", "DATUM");
    bind(MailTable, "MAIL.ADT", "");
    const QStringList companyKey{QStringLiteral("ID")};
    const QStringList bookingCompany{QStringLiteral("Firma_ID")};
    KasseTable.setMasterSource(&FirmaSource, companyKey, bookingCompany);
    EditKasseTable.setMasterSource(&FirmaSource, companyKey, bookingCompany);
    GrpLinkTable.setMasterSource(&GruppenSource, {QStringLiteral("GruppenNr")}, {QStringLiteral("GruppenID")});
}

void TDataForm::attachHandlers()
{
    FirmaTable.beforeDelete = [this](Table &t) { FirmaTableBeforeDelete(t); };
    KasseTable.afterInsert = [this](Table &t) { KasseTableAfterInsert(t); };
    KasseTable.beforePost = [this](Table &t) { KasseTableBeforePost(t); };
    KasseTable.afterPost = [this](Table &t) { KasseTableAfterPost(t); };
    KasseTable.afterDelete = [this](Table &t) { KasseTableAfterDelete(t); };
    KontenTable.afterInsert = [this](Table &t) { KontenTableAfterInsert(t); };
    KontenTable.beforePost = [this](Table &t) { KontenTableBeforePost(t); };
    GrpLinkTable.beforePost = [this](Table &t) { GrpLinkTableBeforePost(t); };
    BKasseTable.beforePost = [this](Table &t) { BKasseTableBeforePost(t); };
    KontenTable.beforeDelete = [this](Table &t) { KontenTableBeforeDelete(t); };
    GruppenTable.beforeDelete = [this](Table &t) { GruppenTableBeforeDelete(t); };
}

QList<Table *> TDataForm::tablesInOpeningOrder()
{
    return {&MailTable, &FirmaTable, &KasseTable, &KontenTable, &TexteTable,
            &GruppenTable, &GrpLinkTable, &BKasseTable, &EditKasseTable};
}

void TDataForm::OpenTables()
{
    if (!m_db)
        m_db = std::make_unique<Database>(DataDirectorySetup::databasePath(m_programDirectory));
    const QList<Table *> tables = tablesInOpeningOrder();
    for (Table *table : tables) {
        if (!table->isOpen())
            table->setDatabase(m_db.get());
    }
    UpgradeKasseTable();
    for (Table *table : tables) {
        if (!table->isOpen())
            table->open();
    }
    if (!Query.isOpen())
        Query.setDatabase(m_db.get());
    followCompany();
}

void TDataForm::CloseTables()
{
    // Details first: a master that closes first would make its details store their pending rows.
    const QList<Table *> tables = tablesInOpeningOrder();
    for (auto table = tables.rbegin(); table != tables.rend(); ++table)
        (*table)->setDatabase(nullptr);
    Query.setDatabase(nullptr);
    m_db.reset();
    m_balancedCompanies.clear();
    m_followedCompany.reset();
}

void TDataForm::RememberLastEntry()
{
    const auto text = [this](const char *name) { return KasseTable.fieldByName(QString::fromLatin1(name)).asString(); };
    m_lastEntry = {text("Datum"), text("BelegNr"), text("Buchungsbetrag"),
                   text("Kontoname"), text("KontoID"), text("Text")};
}

void TDataForm::KasseTableAfterInsert(Table &table)
{
    table.fieldByName(QStringLiteral("Minuskonto")).setAsBoolean(false);
}

void TDataForm::KasseTableBeforePost(Table &table)
{
    m_positionBeforeStore.reset();
    m_changeDiscarded = false;
    if (table.state() == CursorState::Edit)
        m_positionBeforeStore = journalPosition();
    if (table.fieldByName(QStringLiteral("Buchungsbetrag")).isNull()) {
        table.cancel();
        m_changeDiscarded = true;
        return;
    }
    refuseWithoutCompany();
    ApplyAccountToBooking();
    ApplyVatToBooking();
    setProvisionalBalance();
    resolveAccount();
    RememberLastEntry();
}

void TDataForm::KasseTableAfterPost(Table &)
{
    const std::optional<int> before = std::exchange(m_positionBeforeStore, std::nullopt);
    if (std::exchange(m_changeDiscarded, false))
        walkFrom([this] { return JournalWalk::Change{EditKasseTable.recordCount(), 0}; }); // nothing written
    else
        rebalanceAfterChange(before);
}

void TDataForm::KasseTableAfterDelete(Table &)
{
    // The cursor has landed on the booking after the deleted one (or on the last one), which now
    // holds the deleted booking's place.
    rebalanceAfterChange(std::nullopt);
}

void TDataForm::refuseWithoutCompany() const
{
    if (FirmaTable.position() < 0)
        throw Error(QStringLiteral("Die Buchung kann nicht gespeichert werden, weil keine Firma angelegt ist. "
                                   "Bitte legen Sie zuerst eine Firma an."));
}

bool TDataForm::locateAccount(const Field &kontoId)
{
    return !kontoId.isNull() && KontenTable.locate(QStringLiteral("KontoNr"), kontoId.asInteger());
}

void TDataForm::ApplyAccountToBooking()
{
    if (!locateAccount(KasseTable.fieldByName(QStringLiteral("KontoID"))))
        return;
    Field &percent = KasseTable.fieldByName(QStringLiteral("UMSTinProzent"));
    const Money accountPercent = KontenTable.fieldByName(QStringLiteral("KontoProzentSatz")).asMoney();
    if (percent.asMoney() != accountPercent) {
        KasseTable.edit();
        percent.setAsMoney(accountPercent);
    }
    Field &minus = KasseTable.fieldByName(QStringLiteral("Minuskonto"));
    const bool accountMinus = KontenTable.fieldByName(QStringLiteral("Minuskonto")).asBoolean();
    if (minus.asBoolean() != accountMinus) {
        KasseTable.edit();
        minus.setAsBoolean(accountMinus);
    }
}

void TDataForm::ApplyVatToBooking()
{
    const Money gross = KasseTable.fieldByName(QStringLiteral("Buchungsbetrag")).asMoney();
    const Money percent = KasseTable.fieldByName(QStringLiteral("UMSTinProzent")).asMoney();
    const Money vat = Vat::contained(gross, percent);
    const Money net = gross - vat;
    Field &vatField = KasseTable.fieldByName(QStringLiteral("UMSTinEURO"));
    Field &netField = KasseTable.fieldByName(QStringLiteral("Nettobuchungsbetrag"));
    if (vatField.asMoney() != vat || netField.asMoney() != net) {
        KasseTable.edit();
        vatField.setAsMoney(vat);
        netField.setAsMoney(net);
    }
}

void TDataForm::setProvisionalBalance()
{
    const Money gross = KasseTable.fieldByName(QStringLiteral("Buchungsbetrag")).asMoney();
    const bool minus = KasseTable.fieldByName(QStringLiteral("Minuskonto")).asBoolean();
    const Money before = BalanceBefore(KasseTable.fieldByName(QStringLiteral("lfdNr")).asString());
    KasseTable.fieldByName(QStringLiteral("Zeilenbestand")).setAsMoney(minus ? before - gross : before + gross);
    numberAtTheEnd();
}

void TDataForm::numberAtTheEnd()
{
    Field &lfdNr = KasseTable.fieldByName(QStringLiteral("lfdNr"));
    const QDate date = KasseTable.fieldByName(QStringLiteral("Datum")).asDate();
    if (KasseTable.state() != CursorState::Insert || !lfdNr.isNull() || !date.isValid())
        return;
    const int count = EditKasseTable.recordCount();
    if (count > 0) {
        EditKasseTable.last();
        if (EditKasseTable.fieldByName(QStringLiteral("Datum")).asDate() > date)
            return;
    }
    lfdNr.setAsInteger(count + 1);
}

void TDataForm::resolveAccount()
{
    Field &kontoId = KasseTable.fieldByName(QStringLiteral("KontoID"));
    Field &kontoname = KasseTable.fieldByName(QStringLiteral("Kontoname"));
    if (!kontoId.isNull()) {
        if (locateAccount(kontoId))
            kontoname.setAsString(KontenTable.fieldByName(QStringLiteral("Kontoname")).asString());
        return;
    }
    const QString typed = kontoname.asString();
    if (typed.isEmpty())
        return;
    if (!KontenTable.locate(QStringLiteral("Kontoname"), typed, LocateOption::CaseInsensitivePrefix)) {
        m_ui.message(QStringLiteral("Das Konto ") + typed + QStringLiteral(" konnte nicht gefunden werden.")
                     + ParagraphBreak + QStringLiteral("Bitte legen Sie es neu an oder beachten Sie dessen Schreibweise."));
        return;
    }
    kontoId.setAsInteger(KontenTable.fieldByName(QStringLiteral("KontoNr")).asInteger());
    const QString accountName = KontenTable.fieldByName(QStringLiteral("Kontoname")).asString();
    if (typed != accountName)
        kontoname.setAsString(accountName);
}

Money TDataForm::BalanceBefore(const QString &lfdNr)
{
    const QString company = FirmaTable.fieldByName(QStringLiteral("ID")).asString();
    const QString head = QStringLiteral("Select sum(Buchungsbetrag) as buchgsum from \"Kasse.adt\" where ");
    const QString range = lfdNr.isEmpty() ? QString() : QStringLiteral("lfdNr<") + lfdNr + QStringLiteral(" and ");
    const QString tail = QStringLiteral(" and Firma_ID=") + company;
    Money result = -openSum(head + range + QStringLiteral("Minuskonto=True") + tail);
    const QString second = head + range + QStringLiteral("Minuskonto<>True") + tail;
    try {
        result += openSum(second);
    } catch (const Error &) {
        m_ui.message(QStringLiteral("Fehler beim Ermitteln der Buchungssumme."));
        writeFailedStatement(second);
        throw;
    }
    return result;
}

Money TDataForm::openSum(const QString &statement)
{
    Query.setSql({statement});
    Query.open();
    // The REAL sum is taken onto the grid before it is used, so float drift never reaches a balance.
    const Money sum = Query.fieldByName(QStringLiteral("buchgsum")).asMoney();
    Query.close();
    return sum;
}

void TDataForm::writeFailedStatement(const QString &statement) const
{
    // For diagnosis only: a file that cannot be written must not hide the error being reported.
    QFile file(QDir(m_programDirectory).filePath(QStringLiteral("_sql.txt")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(statement.toUtf8() + "\r\n");
}

void TDataForm::KontenTableAfterInsert(Table &table)
{
    table.fieldByName(QStringLiteral("Minuskonto")).setAsBoolean(false);
}

void TDataForm::KontenTableBeforePost(Table &table)
{
    if (table.fieldByName(QStringLiteral("Kontoname")).asString().isEmpty())
        m_ui.message(QStringLiteral("Geben Sie bitte unbedingt einen Kontonamen ein, bevor Sie den Datensatz speichern "
                                    "oder löschen Sie diesen leeren Datensatz wieder."));
}

void TDataForm::GrpLinkTableBeforePost(Table &table)
{
    if (locateAccount(table.fieldByName(QStringLiteral("KontoID"))))
        table.fieldByName(QStringLiteral("Kontoname"))
            .setAsString(KontenTable.fieldByName(QStringLiteral("Kontoname")).asString());
}

void TDataForm::BKasseTableBeforePost(Table &table)
{
    CashCount::completeBeforePost(table);
}

// Reports, overviews, charts and the export join bookings with their account: deleting an account
// in use would make its bookings drop out of all of them without a word.
void TDataForm::KontenTableBeforeDelete(Table &table)
{
    const int bookings = bookingsOfAccount(table.fieldByName(QStringLiteral("KontoNr")).asInteger());
    if (bookings > 0)
        throw Error(QStringLiteral("Das Konto %1 kann nicht gelöscht werden, weil es noch in %2 Buchung(en) verwendet wird.")
                        .arg(table.fieldByName(QStringLiteral("Kontoname")).asString())
                        .arg(bookings));
}

int TDataForm::bookingsOfAccount(qint64 kontoNr)
{
    Query.setSql({QStringLiteral("Select count(*) as anzahl from \"Kasse.adt\" where KontoID=%1").arg(kontoNr)});
    Query.open();
    const int count = Query.fieldByName(QStringLiteral("anzahl")).asInteger();
    Query.close();
    return count;
}

// A group goes with its links, and only with its own: the link cursor follows the group.
void TDataForm::GruppenTableBeforeDelete(Table &)
{
    GrpLinkTable.last();
    while (GrpLinkTable.recordCount() > 0)
        GrpLinkTable.deleteRecord();
}

void TDataForm::FirmaTableBeforeDelete(Table &)
{
    EditKasseTable.refresh();
    const int bookings = EditKasseTable.recordCount();
    if (bookings == 0)
        return;
    if (!m_ui.confirm(QStringLiteral("Es liegen %1 Buchung(en) für die zu löschende Firma vor.").arg(bookings)
                      + ParagraphBreak + QStringLiteral("Wollen Sie dennoch löschen?")))
        throw Abort();
    {
        Transaction transaction(*m_db);
        EditKasseTable.last();
        while (EditKasseTable.recordCount() > 0)
            EditKasseTable.deleteRecord();
        transaction.commit();
    }
    KasseTable.refresh();
}

int TDataForm::journalPosition()
{
    const Field *nr = KasseTable.position() >= 0 ? KasseTable.findField(QStringLiteral("Nr")) : nullptr;
    if (!nr || nr->isNull() || !EditKasseTable.locate(QStringLiteral("Nr"), nr->asInteger()))
        return 0;
    return EditKasseTable.position();
}

void TDataForm::RenumberAndRebalance()
{
    walkFrom([] { return JournalWalk::everything(); });
}

void TDataForm::rebalanceAfterChange(std::optional<int> positionBefore)
{
    walkFrom([this, positionBefore] {
        // A filtered KasseTable may stand on a booking far from the one that changed.
        if (KasseTable.isFiltered())
            return JournalWalk::everything();
        const int now = journalPosition();
        const int before = positionBefore.value_or(now);
        return JournalWalk::Change{std::min(now, before), std::max(now, before)};
    });
}

void TDataForm::walkFrom(const std::function<JournalWalk::Change()> &changed)
{
    const std::optional<qint64> company = currentCompany();
    if (!company)
        return;
    const bool verified = isBalanced(*company);
    m_balancedCompanies.remove(*company);
    int written = 0;
    try {
        std::optional<JournalWalk::Change> change;
        if (verified) {
            EditKasseTable.refresh();
            change = changed();
        } else if (const std::optional<int> wrong = JournalWalk::firstWrongBooking(*m_db, *company)) {
            EditKasseTable.refresh();
            change = JournalWalk::Change{*wrong, JournalWalk::everything().last};
        }
        if (change)
            written = JournalWalk(*m_db, EditKasseTable, *m_progress).run(*change);
    } catch (...) {
        refreshQuietly(EditKasseTable);
        refreshQuietly(KasseTable);
        throw;
    }
    m_balancedCompanies.insert(*company, m_db->rollbackCount());
    // Without a row written KasseTable already shows every value; its refresh would only read
    // the whole range again.
    if (written > 0)
        KasseTable.refresh();
}

std::optional<qint64> TDataForm::currentCompany() const
{
    if (!FirmaTable.isOpen() || FirmaTable.position() < 0)
        return std::nullopt;
    const Field &id = FirmaTable.fieldByName(QStringLiteral("ID"));
    return id.isNull() ? std::nullopt : std::optional<qint64>(id.asInteger());
}

bool TDataForm::isBalanced(qint64 company) const
{
    const auto found = m_balancedCompanies.constFind(company);
    return found != m_balancedCompanies.constEnd() && *found == m_db->rollbackCount();
}

void TDataForm::verifyJournal()
{
    if (const std::optional<qint64> company = currentCompany())
        m_balancedCompanies.remove(*company);
    walkFrom([] { return JournalWalk::Change{0, 0}; });
}

void TDataForm::followCompany()
{
    // Until the last table is open (OpenTables calls again) nothing can be walked.
    if (!EditKasseTable.isOpen())
        return;
    const std::optional<qint64> company = currentCompany();
    if (!company || company == m_followedCompany)
        return;
    m_followedCompany = company;
    verifyJournal();
}

void TDataForm::EnsureLfdNr()
{
    if (const std::optional<qint64> company = currentCompany(); company && !isBalanced(*company))
        verifyJournal();
    if (KasseTable.recordCount() > 0)
        KasseTable.first();
}

void TDataForm::UpgradeKasseTable()
{
    AddFieldIfMissing(KasseTable, QStringLiteral("lfdNr"), QStringLiteral("ALTER TABLE \"KASSE.ADT\" ADD LFDNR INTEGER"),
                      true);
}

void TDataForm::AddFieldIfMissing(Table &table, const QString &fieldName, const QString &statement, bool showMessage)
{
    const bool wasOpen = table.isOpen();
    table.open();
    if (!table.findField(fieldName)) {
        if (showMessage)
            m_ui.message(QStringLiteral("Eine Aktualisierung wird durchgeführt.") + ParagraphBreak
                         + QStringLiteral("Abhängig von der Datenmenge kann dieser Vorgang einige Minuten in Anspruch nehmen."));
        table.close();
        Query.setDatabase(table.database());
        Query.setSql({statement});
        Query.execSql();
        Query.close();
    }
    if (wasOpen)
        table.open();
    else
        table.close();
}

QString TDataForm::NextBelegNr(const QString &belegNr)
{
    qsizetype start = belegNr.size();
    while (start > 0 && belegNr.at(start - 1) >= QLatin1Char('0') && belegNr.at(start - 1) <= QLatin1Char('9'))
        --start;
    if (start == belegNr.size())
        return belegNr;
    // Counted up as decimal text, so a run of any length works: 20071231000099 is a common form.
    QString number = belegNr.mid(start);
    qsizetype digit = number.size() - 1;
    while (digit >= 0 && number.at(digit) == QLatin1Char('9'))
        number[digit--] = QLatin1Char('0');
    if (digit >= 0)
        number[digit] = QChar(number.at(digit).unicode() + 1);
    else
        number.prepend(QLatin1Char('1'));
    return belegNr.left(start) + number;
}

} // namespace kb
