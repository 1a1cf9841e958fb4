#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace kb {

// A date typed in the short date form: day, month and year separated by ".", blanks around the
// numbers ignored, an optional "." at the end. A year of one or two digits is completed to the
// year within today's year - 50 to + 49; three or four digits are taken as written.
class ShortDateText
{
public:
    // None when the text is no valid date.
    static std::optional<QDate> read(const QString &text, const QDate &today);
};

} // namespace kb
