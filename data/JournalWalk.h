#pragma once

#include <limits>

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

    // How far the rows before the start of a walk are believed.
    enum class Leading {
        Checked, // the last of them must agree with the sums of the stored amounts
        Trusted  // a walk of this session left them right; only its number is looked at
    };

    // The positions (0-based) a store or delete can have changed: none before first; after last
    // the bookings are those that stood there before, so once one of them is right, the rest are.
    struct Change
    {
        int first;
        int last;
    };
    static Change everything() { return {0, std::numeric_limits<int>::max()}; }

    // Rewrites the rows from change.first on, in one transaction: a failure leaves every row as
    // it was and propagates. The rows before change.first are kept only when the one just before
    // it passes the check; otherwise the whole journal is walked. Only a trusted journal ends the
    // walk early, at the first right row after change.last.
    // Returns the number of rows written.
    int run(Change change, Leading leading);

private:
    // Whether the first `rows` bookings end on lfdNr `rows` and, when checked, the last of them
    // holds the balance the stored amounts give and no other booking has a number up to it.
    bool leadingRowsAreRight(int rows, Leading leading);
    int walk(int from, int settledAfter);

    Database &m_db;
    Table &m_journal;
    Progress &m_progress;
};

} // namespace kb
