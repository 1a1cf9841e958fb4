#pragma once

#include <QString>

namespace kb {

class Database;

// A program directory in a temporary place with one company of n bookings spread over the days
// of a few years, a third of them on minus accounts, plus a small second company.
class SyntheticLedger
{
public:
    static constexpr qint64 CompanyId = 1;
    static constexpr qint64 OtherCompanyId = 2;

    // Fills an already set-up program directory; numbered=true gives every booking its lfdNr and
    // balance as a finished walk would.
    static void fill(Database &db, int bookings, bool numbered);
};

} // namespace kb
