// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/networkprovider.h"

#include <QString>
#include <memory>
#include <vector>

// Puts several back ends under one top: the top lists one provider record
// per back end, and every other listing goes to the back end that produced
// the record (the `provider` field, which the router stamps on each record).
class NetworkRouter : public NetworkProvider
{
public:
    // Back ends are listed at the top in the order they were added; a name
    // is used once (a second back end of the same name is ignored).
    void add(const QString &name, std::unique_ptr<NetworkProvider> backend);
    // The back end that answers opensAsDirectory for paths of no known
    // provider (plain \\SERVER\share paths).
    void setPathFallback(const QString &name) { m_fallback = name; }

    NetListing enumerate(const NetRecord *parent) override;
    bool opensAsDirectory(const QString &remoteName) override;
    // Hands each back end the parents that are its own; the batch takes
    // each listing from the back end that prepared it.
    std::unique_ptr<ListingBatch> listAhead(const QList<const NetRecord *> &parents) override;

private:
    struct Entry {
        QString name;
        std::unique_ptr<NetworkProvider> backend;
    };
    NetworkProvider *find(const QString &name) const;
    // A provider record stands for its back end's own top.
    static bool isProvider(const NetRecord &record);
    // What a back end asks for `parent`: null for its own top.
    static const NetRecord *ownParent(const NetRecord &parent)
    {
        return isProvider(parent) ? nullptr : &parent;
    }
    // A back end's listing under `provider`: the children carry its name.
    static NetListing stamped(NetListing listing, const QString &provider);
    class Batch;

    std::vector<Entry> m_backends;
    QString m_fallback;
};
