#pragma once

#include "FormatSettings.h"
#include "Value.h"

namespace kb::report {

// The text of a value under a format string:
//   ""               the value's own form: money in the currency format, dates dd.mm.yyyy,
//                    other numbers in the plain form
//   "money"          currency format with the program's symbol ("1.234,50 €")
//   "number"         the plain form (up to 15 significant digits, decimal comma)
//   "number:N"       N decimals, thousands separator, decimal comma ("1.234,50")
//   "date"           dd.mm.yyyy; "date:PATTERN" a Qt date pattern ("MMMM yyyy")
//   "text"           as text, unchanged
// An empty value gives empty text under every format.
class ValueFormat
{
public:
    // Throws kb::Error for an unknown format.
    static QString format(const Value &value, const QString &format, const FormatSettings &formats);
    static QString plain(const Value &value, const FormatSettings &formats) { return format(value, {}, formats); }
};

} // namespace kb::report
