// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/networkprovider.h"

#include <QHash>
#include <QSet>

// An in-memory network: children by parent remote name ("" is the top).
// Counts every listing so tests can see what reached the "platform".
class FakeNetwork : public NetworkProvider
{
public:
    // Adds a child record under `parent` ("" for the top) and returns it.
    NetRecord &add(const QString &parent, const QString &remoteName, quint32 displayType,
                   const QString &comment = QString());
    // The next `times` listings of `remoteName` end so (after those queued before).
    void fail(const QString &remoteName, NetListing::Outcome outcome, int times = 1)
    {
        m_failures[remoteName].append(QList<NetListing::Outcome>(times, outcome));
    }
    void failOpen(const QString &remoteName, int times = 1)
    {
        fail(remoteName, NetListing::Outcome::Refused, times);
    }
    void noAnswer(const QString &remoteName, int times = 1)
    {
        fail(remoteName, NetListing::Outcome::NoAnswer, times);
    }
    // Listings of `remoteName` go through from now on.
    void answer(const QString &remoteName) { m_failures.remove(remoteName); }
    void makeReachable(const QString &share) { m_reachable.insert(share); }

    NetListing enumerate(const NetRecord *parent) override;
    bool opensAsDirectory(const QString &remoteName) override;
    // Records what is asked ahead ("" for the top), one list per call; each
    // is listed when it is taken.
    std::unique_ptr<ListingBatch> listAhead(const QList<const NetRecord *> &parents) override;

    int listings(const QString &remoteName) const { return m_listings.value(remoteName); }
    int totalListings() const { return m_total; }
    QList<QStringList> aheadCalls;

private:
    QHash<QString, QList<NetRecord>> m_children;
    QHash<QString, QList<NetListing::Outcome>> m_failures;
    QHash<QString, int> m_listings;
    QSet<QString> m_reachable;
    int m_total = 0;
};
