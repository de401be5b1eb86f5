// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/caseblindname.h"
#include "platform/netrecord.h"

#include <QHash>
#include <memory>
#include <vector>

class NetworkProvider;
class NetResources;

// One resource of the network (provider, workgroup, server, share …) with
// its lazily listed children. A resource created without a record is the
// top of the network.
class NetResource
{
public:
    explicit NetResource(NetworkProvider *network);
    ~NetResource();
    NetResource(const NetResource &) = delete;
    NetResource &operator=(const NetResource &) = delete;

    // The children; lists them first unless a listing already completed.
    NetResources &Children();
    // The child under `key` when the children are listed, without ever
    // asking the network (null otherwise).
    NetResource *listedChild(const QString &key) const;
    // Whether the last listing got no answer in time. Like a refused one it
    // is asked again at the next Children(); the tree keeps such a node
    // unlisted instead of taking it for an empty one.
    bool lastListingUnanswered() const { return m_unanswered; }

    // Starts the listings that Children() of these resources will need, all
    // together, so that their waits overlap; each Children() then takes its
    // result. They start in the order they were last asked, never-asked
    // first: when silent hosts use up the time of a batch, those that got no
    // turn go first in the next, and every host gets its turn.
    // listAhead({}) drops whatever nobody took.
    void listAhead(const QList<NetResource *> &resources);

    QString Comment() const { return Record.comment; }
    QString LocalName() const { return Record.localName; }
    QString Provider() const { return Record.provider; }
    QString RemoteName() const { return Record.remoteName; }
    quint32 ResourceType() const { return Record.displayType; }
    QString ResourceTypeName() const;
    QString ShortName() const;
    // The tree's picture key: the type name in lower case.
    QString imageKey() const;

    static QString typeName(quint32 displayType);

private:
    void EnumerateChildren();
    void SetRecord(const NetRecord &record);

    NetworkProvider *m_network;
    NetRecord Record;
    bool Enumerated = false;
    std::unique_ptr<NetResources> ChildResources;
    bool IsRoot = true;
    bool m_unanswered = false;
    quint64 m_askedAt = 0; // when a listing last reached the network (0: never)
};

// The ordered children of one resource, keyed by remote name. Keys ignore
// letter case and occur once; positions count from 1.
class NetResources
{
public:
    NetResource *Item(int position) const;
    NetResource *Item(const QString &key) const;
    int Count() const { return int(m_members.size()); }
    bool Remove(int position);
    bool Remove(const QString &key);

    auto begin() const { return m_members.begin(); }
    auto end() const { return m_members.end(); }

private:
    friend class NetResource;
    // Takes the resource; refuses (and drops) one whose key is already here.
    NetResource *Add(std::unique_ptr<NetResource> resource);
    void reserve(qsizetype size);
    void reindex();

    std::vector<std::unique_ptr<NetResource>> m_members;
    QHash<CaseBlindName, int> m_index; // position - 1
};
