#include "PreparedReport.h"

namespace kb::report {

int PreparedReport::styleIndex(const Style &style)
{
    for (size_t i = 0; i < styles.size(); ++i) {
        if (styles[i] == style)
            return int(i);
    }
    styles.push_back(style);
    return int(styles.size() - 1);
}

int PreparedReport::tagIndex(const QString &tag)
{
    const int found = int(tags.indexOf(tag));
    if (found >= 0)
        return found;
    tags.append(tag);
    return int(tags.size() - 1);
}

} // namespace kb::report
