#pragma once

#include <QString>
#include <QStringList>

namespace kb {

// What the user typed into the four criteria of the booking search. A field of blanks counts.
struct SearchCriteria
{
    QString beleg;
    QString kontoname;
    QString datum;
    QString text;

    bool isEmpty() const { return beleg.isEmpty() && kontoname.isEmpty() && datum.isEmpty() && text.isEmpty(); }
};

// The statement of the booking search: the company's bookings that hold every criterion given,
// in the order of entry. Receipt, account name and text are found anywhere in their field,
// without regard to case; the date compares with the booking date.
class SearchStatement
{
public:
    static QStringList lines(qint64 companyId, const SearchCriteria &criteria);
    // The text between apostrophes with each apostrophe doubled, so that it stays one literal
    // whatever was typed.
    static QString literal(const QString &text);
};

} // namespace kb
