#include "JournalWalk.h"

#include "Database.h"
#include "Progress.h"
#include "Statement.h"
#include "Table.h"

#include <algorithm>

namespace kb {

namespace {

Money signedAmount(const Field &amount, const Field &minus)
{
    return minus.asBoolean() ? -amount.asMoney() : amount.asMoney();
}

} // namespace

JournalWalk::JournalWalk(Database &db, Table &journal, Progress &progress)
    : m_db(db), m_journal(journal), m_progress(progress)
{
}

int JournalWalk::run(Change change)
{
    const int start = std::clamp(change.first, 0, m_journal.recordCount());
    int written = 0;
    try {
        if (leadingRowsEndRight(start))
            written = walk(start, change.last);
        else
            written = walk(0, everything().last);
    } catch (...) {
        m_journal.cancel();
        m_progress.reset();
        throw;
    }
    m_progress.reset();
    return written;
}

bool JournalWalk::leadingRowsEndRight(int rows)
{
    if (rows == 0)
        return true;
    m_journal.moveTo(rows - 1);
    const Field &lfdNr = m_journal.fieldByName(QStringLiteral("lfdNr"));
    const Field &balance = m_journal.fieldByName(QStringLiteral("Zeilenbestand"));
    return !lfdNr.isNull() && lfdNr.asInteger() == rows && !balance.isNull();
}

std::optional<int> JournalWalk::firstWrongBooking(const Database &db, qint64 company)
{
    // Amounts and balances compared as whole ten-thousandths, the way Money holds them; the
    // window runs in the journal's order, which the FIRMA_ID index gives without sorting.
    Statement first = db.prepare(QStringLiteral(
        "SELECT min(k) FROM ("
        " SELECT \"lfdNr\" AS nr, \"Zeilenbestand\" AS balance,"
        "  row_number() OVER journal AS k,"
        "  sum(CASE WHEN \"Minuskonto\" = 1 THEN -units ELSE units END) OVER journal AS expected"
        " FROM (SELECT \"Datum\", \"Nr\", \"lfdNr\", \"Zeilenbestand\", \"Minuskonto\","
        "        CAST(round(coalesce(\"Buchungsbetrag\", 0) * 10000) AS INTEGER) AS units"
        "       FROM \"KASSE\" WHERE \"Firma_ID\" = ?1)"
        " WINDOW journal AS (ORDER BY \"Datum\", \"Nr\" ROWS UNBOUNDED PRECEDING))"
        " WHERE nr IS NOT k OR balance IS NULL OR CAST(round(balance * 10000) AS INTEGER) <> expected"));
    first.bindInteger(1, company);
    first.step();
    if (first.isNull(0))
        return std::nullopt;
    return int(first.integer(0) - 1);
}

int JournalWalk::walk(int from, int settledAfter)
{
    const int count = m_journal.recordCount();
    m_progress.setMaximum(count);
    if (from >= count)
        return 0;
    Money balance;
    if (from > 0) {
        m_journal.moveTo(from - 1);
        balance = m_journal.fieldByName(QStringLiteral("Zeilenbestand")).asMoney();
    }
    Field &lfdNr = m_journal.fieldByName(QStringLiteral("lfdNr"));
    Field &rowBalance = m_journal.fieldByName(QStringLiteral("Zeilenbestand"));
    const Field &amount = m_journal.fieldByName(QStringLiteral("Buchungsbetrag"));
    const Field &minus = m_journal.fieldByName(QStringLiteral("Minuskonto"));
    int written = 0;
    Transaction transaction(m_db);
    m_journal.moveTo(from);
    for (int k = from + 1; k <= count; ++k) {
        if (k > from + 1)
            m_journal.next();
        balance += signedAmount(amount, minus);
        const bool right = !lfdNr.isNull() && lfdNr.asInteger() == k && !rowBalance.isNull()
                           && rowBalance.asMoney() == balance;
        if (right && k - 1 > settledAfter)
            break;
        if (!right) {
            m_journal.edit();
            lfdNr.setAsInteger(k);
            rowBalance.setAsMoney(balance);
            m_journal.post();
            ++written;
        }
        m_progress.setPosition(k);
    }
    transaction.commit();
    return written;
}

} // namespace kb
