#include "delivery/workgroupcomputers.h"

#include "platform/networkprovider.h"

std::optional<QStringList> workgroupComputers(NetworkProvider &network, const QString &workgroup,
                                              const QString &self)
{
    NetRecord domain;
    domain.scope = NetScope::GlobalNet;
    domain.type = NetType::Any;
    domain.displayType = NetDisplay::Domain;
    domain.usage = NetUsage::Container;
    domain.remoteName = workgroup;
    const auto children = network.list(&domain);
    if (!children)
        return std::nullopt;
    QStringList names;
    for (const NetRecord &child : *children) {
        if (child.displayType != NetDisplay::Server)
            continue;
        QString name = child.remoteName;
        while (name.startsWith(QLatin1Char('\\')))
            name.remove(0, 1);
        if (!name.isEmpty() && name.compare(self, Qt::CaseInsensitive) != 0 &&
            !names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}
