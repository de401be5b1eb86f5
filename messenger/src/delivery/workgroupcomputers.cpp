// SPDX-License-Identifier: GPL-3.0-or-later
#include "delivery/workgroupcomputers.h"

#include "platform/networkprovider.h"

namespace
{

// The last part of a remote name: "\\PC-01" and "Spisak računara\G\\PC-01"
// both name PC-01.
QString bareName(const QString &remoteName)
{
    return remoteName.mid(remoteName.lastIndexOf(QLatin1Char('\\')) + 1);
}

void addComputers(NetworkProvider &network, const NetRecord &group, const QString &self,
                  WorkgroupComputers &found)
{
    const auto children = network.list(&group);
    if (!children) {
        found.incomplete = true;
        return;
    }
    for (const NetRecord &child : *children) {
        const QString name = bareName(child.remoteName);
        if (child.displayType == NetDisplay::Server && !name.isEmpty() &&
            name.compare(self, Qt::CaseInsensitive) != 0 &&
            !found.names.contains(name, Qt::CaseInsensitive))
            found.names.append(name);
    }
}

// Looks for the workgroup among `records`, and one level below each
// provider among them.
void search(NetworkProvider &network, const QList<NetRecord> &records, const QString &workgroup,
            const QString &self, bool descend, WorkgroupComputers &found)
{
    for (const NetRecord &record : records) {
        if (record.displayType == NetDisplay::Domain &&
            bareName(record.remoteName).compare(workgroup, Qt::CaseInsensitive) == 0) {
            addComputers(network, record, self, found);
        } else if (descend && record.displayType == NetDisplay::Network) {
            const auto groups = network.list(&record);
            if (groups)
                search(network, *groups, workgroup, self, false, found);
            else
                found.incomplete = true;
        }
    }
}

} // namespace

WorkgroupComputers workgroupComputers(NetworkProvider &network, const QString &workgroup,
                                      const QString &self)
{
    WorkgroupComputers found;
    if (const auto top = network.list(nullptr))
        search(network, *top, workgroup, self, true, found);
    else
        found.incomplete = true;
    return found;
}
