#pragma once

#include <QIcon>
#include <QString>

namespace kb {

// The icons beside the headings of the master-data dialogs.
class MasterDataIcons
{
public:
    // name: companies, accounts, groups or texts.
    static QIcon icon(const QString &name);
};

} // namespace kb
