#pragma once

#include <QtGlobal>

#include <limits>
#include <optional>

namespace kb {

class Database;
class Progress;
class Table;

// The renumbering walk over the bookings a cursor shows, one company's journal in the order
// Datum, Nr: the k-th booking gets lfdNr k and Zeilenbestand the sum of the first k amounts, minus
// bookings subtracted, starting from 0. A row whose two values are already right is not written.
class JournalWalk
{
public:
    JournalWalk(Database &db, Table &journal, Progress &progress);

    // The positions (0-based) a store or delete can have changed: none before first; after last
    // the bookings are those that stood there before, so once one of them is right, the rest are.
    struct Change
    {
        int first;
        int last;
    };
    static Change everything() { return {0, std::numeric_limits<int>::max()}; }

    // Rewrites the rows from change.first on and ends at the first right row after change.last.
    // The rows before change.first are taken as right: the caller knows the journal was verified
    // or kept right by walks of this session. Only their last row's number is looked at; when it
    // does not fit, the whole journal is walked. The writes join the caller's transaction, or
    // form one of their own: a failure leaves every row as it was and propagates.
    // Returns the number of rows written.
    int run(Change change);

    // The position (0-based) of the first booking of the company whose lfdNr or Zeilenbestand is
    // not what the invariant gives; none when every booking is right. One pass of SQL.
    static std::optional<int> firstWrongBooking(const Database &db, qint64 company);

private:
    bool leadingRowsEndRight(int rows);
    int walk(int from, int settledAfter);

    Database &m_db;
    Table &m_journal;
    Progress &m_progress;
};

} // namespace kb
