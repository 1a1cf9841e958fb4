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

int JournalWalk::run(Change change, Leading leading)
{
    const int start = std::clamp(change.first, 0, m_journal.recordCount());
    int written = 0;
    try {
        if (leadingRowsAreRight(start, leading))
            written = walk(start, leading == Leading::Trusted ? change.last : everything().last);
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

bool JournalWalk::leadingRowsAreRight(int rows, Leading leading)
{
    if (rows == 0)
        return true;
    m_journal.moveTo(rows - 1);
    const Field &lfdNr = m_journal.fieldByName(QStringLiteral("lfdNr"));
    const Field &balance = m_journal.fieldByName(QStringLiteral("Zeilenbestand"));
    if (lfdNr.isNull() || lfdNr.asInteger() != rows || balance.isNull())
        return false;
    if (leading == Leading::Trusted)
        return true;
    // Whole ten-thousandths summed as integers: exact, and covered by the KASSE_BALANCE index.
    Statement sums = m_db.prepare(QStringLiteral(
        "SELECT count(*), sum(CASE WHEN \"Minuskonto\" = 1 THEN -units ELSE units END) FROM ("
        "SELECT \"Minuskonto\", CAST(round(coalesce(\"Buchungsbetrag\", 0) * 10000) AS INTEGER) AS units "
        "FROM \"KASSE\" WHERE \"Firma_ID\" = ?1 AND \"lfdNr\" <= ?2)"));
    sums.bindInteger(1, m_journal.fieldByName(QStringLiteral("Firma_ID")).asInteger());
    sums.bindInteger(2, rows);
    sums.step();
    return sums.integer(0) == rows && sums.integer(1) == balance.asMoney().units();
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
