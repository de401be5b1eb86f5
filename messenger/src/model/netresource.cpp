// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/netresource.h"

#include "platform/networkprovider.h"

#include <algorithm>

namespace
{
// Listings that reached the network so far, to order those asked ahead.
quint64 listingsAsked = 0;

// Providers that add nothing a message can reach; matched exactly.
bool isFilteredOut(const QString &remoteName)
{
    return remoteName == QLatin1String("Web Client Network") ||
           remoteName == QLatin1String("Microsoft Terminal Services");
}
} // namespace

NetResource::NetResource(NetworkProvider *network) : m_network(network) {}

NetResource::~NetResource() = default;

NetResources &NetResource::Children()
{
    if (!Enumerated)
        EnumerateChildren();
    return *ChildResources;
}

void NetResource::EnumerateChildren()
{
    ChildResources = std::make_unique<NetResources>();
    if (!m_network)
        return;
    const NetListing listed = m_network->enumerate(IsRoot ? nullptr : &Record);
    m_unanswered = listed.isUnanswered();
    if (listed.outcome != NetListing::Outcome::NotAsked)
        m_askedAt = ++listingsAsked;
    if (!listed.isListed())
        return; // not opened: stays unlisted and is asked again next time
    ChildResources->reserve(listed.records.size());
    for (const NetRecord &record : listed.records) {
        auto child = std::make_unique<NetResource>(m_network);
        child->SetRecord(record);
        if (isFilteredOut(child->RemoteName()))
            continue;
        // A second child under a remote name already listed is skipped; the
        // rest of the listing is still taken.
        ChildResources->Add(std::move(child));
    }
    Enumerated = true;
}

NetResource *NetResource::listedChild(const QString &key) const
{
    return Enumerated ? ChildResources->Item(key) : nullptr;
}

void NetResource::listAhead(const QList<NetResource *> &resources)
{
    if (!m_network)
        return;
    QList<const NetResource *> pending;
    for (const NetResource *r : resources)
        if (!r->Enumerated)
            pending.append(r);
    std::stable_sort(
        pending.begin(), pending.end(),
        [](const NetResource *a, const NetResource *b) { return a->m_askedAt < b->m_askedAt; });
    QList<const NetRecord *> parents;
    for (const NetResource *r : pending)
        parents.append(r->IsRoot ? nullptr : &r->Record);
    m_network->listAhead(parents);
}

void NetResource::SetRecord(const NetRecord &record)
{
    Record = record;
    IsRoot = false;
}

QString NetResource::typeName(quint32 displayType)
{
    static const char *const names[] = {"Generic",    "Domain",    "Server",  "Share",
                                        "File",       "Group",     "Network", "Root",
                                        "AdminShare", "Directory", "Tree",    "NDSContainer"};
    if (displayType >= std::size(names))
        return QString();
    return QString::fromLatin1(names[displayType]);
}

QString NetResource::ResourceTypeName() const
{
    return typeName(Record.displayType);
}

QString NetResource::imageKey() const
{
    static const QStringList keys = [] {
        QStringList k;
        for (quint32 t = 0; t <= NetDisplay::NdsContainer; ++t)
            k.append(typeName(t).toLower());
        return k;
    }();
    return Record.displayType < quint32(keys.size()) ? keys[Record.displayType] : QString();
}

QString NetResource::ShortName() const
{
    const qsizetype slash = Record.remoteName.lastIndexOf(QLatin1Char('\\'));
    return slash < 0 ? Record.remoteName : Record.remoteName.mid(slash + 1);
}

void NetResources::reserve(qsizetype size)
{
    m_members.reserve(size_t(size));
    m_index.reserve(size);
}

NetResource *NetResources::Add(std::unique_ptr<NetResource> resource)
{
    const CaseBlindName key(resource->RemoteName());
    if (m_index.contains(key))
        return nullptr;
    m_index.insert(key, int(m_members.size()));
    m_members.push_back(std::move(resource));
    return m_members.back().get();
}

NetResource *NetResources::Item(int position) const
{
    if (position < 1 || position > Count())
        return nullptr;
    return m_members[size_t(position - 1)].get();
}

NetResource *NetResources::Item(const QString &key) const
{
    const auto it = m_index.constFind(CaseBlindName(key));
    return it == m_index.cend() ? nullptr : m_members[size_t(*it)].get();
}

bool NetResources::Remove(int position)
{
    if (position < 1 || position > Count())
        return false;
    m_members.erase(m_members.begin() + (position - 1));
    reindex();
    return true;
}

bool NetResources::Remove(const QString &key)
{
    const auto it = m_index.constFind(CaseBlindName(key));
    return it != m_index.cend() && Remove(*it + 1);
}

void NetResources::reindex()
{
    m_index.clear();
    for (size_t i = 0; i < m_members.size(); ++i)
        m_index.insert(CaseBlindName(m_members[i]->RemoteName()), int(i));
}
