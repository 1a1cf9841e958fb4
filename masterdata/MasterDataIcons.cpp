#include "MasterDataIcons.h"

// Resources of a static library must be registered by name, outside any namespace.
static void registerMasterDataIcons()
{
    Q_INIT_RESOURCE(masterdata);
}

namespace kb {

QIcon MasterDataIcons::icon(const QString &name)
{
    registerMasterDataIcons();
    return QIcon(QStringLiteral(":/masterdata/%1.svg").arg(name));
}

} // namespace kb
