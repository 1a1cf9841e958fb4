#pragma once

#include "Period.h"

#include <QStringList>

namespace kb {

// The SQL texts of the account and group overviews, as lines. Without a period the second and
// third lines (period and company) are left out: the data of the design commands.
class ReportSql
{
public:
    static QStringList accounts(const Period *period, qint64 company);
    static QStringList groups(const Period *period, qint64 company);
    // "Datum>='01.03.2007' and Datum<='31.03.2007'"
    static QString cashBookFilter(const Period &period);
    // "01.03.2007 bis 31.03.2007"
    static QString periodText(const Period &period);
};

} // namespace kb
