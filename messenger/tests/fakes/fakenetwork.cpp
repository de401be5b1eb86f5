// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakenetwork.h"

NetRecord &FakeNetwork::add(const QString &parent, const QString &remoteName, quint32 displayType,
                            const QString &comment)
{
    NetRecord r;
    r.scope = NetScope::GlobalNet;
    r.type = displayType == NetDisplay::Share ? NetType::Disk : NetType::Any;
    r.displayType = displayType;
    r.usage = NetUsage::Container;
    r.remoteName = remoteName;
    r.comment = comment;
    r.provider = QStringLiteral("Fake");
    auto &list = m_children[parent];
    list.append(r);
    return list.last();
}

NetListing FakeNetwork::enumerate(const NetRecord *parent)
{
    const QString key = parent ? parent->remoteName : QString();
    ++m_total;
    ++m_listings[key];
    if (auto failures = m_failures.find(key); failures != m_failures.end() && !failures->isEmpty())
        return {failures->takeFirst(), {}};
    return NetListing::listed(m_children.value(key));
}

namespace
{
// Takes each listing asked for, once, from the fake when it is taken.
struct FakeBatch : ListingBatch {
    FakeBatch(FakeNetwork &net, const QStringList &keys) : net(net), keys(keys) {}
    std::optional<NetListing> take(const NetRecord *parent) override
    {
        if (!keys.removeOne(parent ? parent->remoteName : QString()))
            return std::nullopt;
        return net.enumerate(parent);
    }
    FakeNetwork &net;
    QStringList keys;
};
} // namespace

std::unique_ptr<ListingBatch> FakeNetwork::listAhead(const QList<const NetRecord *> &parents)
{
    QStringList keys;
    for (const NetRecord *parent : parents)
        keys.append(parent ? parent->remoteName : QString());
    aheadCalls.append(keys);
    return std::make_unique<FakeBatch>(*this, keys);
}

bool FakeNetwork::opensAsDirectory(const QString &remoteName)
{
    return m_reachable.contains(remoteName);
}
