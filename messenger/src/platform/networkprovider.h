// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/netrecord.h"

#include <QList>
#include <memory>
#include <optional>

// How one listing went.
struct NetListing {
    enum class Outcome {
        Listed,   // `records` are the children
        Refused,  // the network answered that this cannot be listed
        NoAnswer, // no answer in time, or one that made no sense: worth asking again
        NotAsked, // listings asked ahead used up their time before this one could start
    };
    Outcome outcome = Outcome::Refused;
    QList<NetRecord> records;

    static NetListing listed(QList<NetRecord> records) { return {Outcome::Listed, records}; }
    static NetListing refused() { return {Outcome::Refused, {}}; }
    static NetListing noAnswer() { return {Outcome::NoAnswer, {}}; }
    static NetListing notAsked() { return {Outcome::NotAsked, {}}; }
    bool isListed() const { return outcome == Outcome::Listed; }
    // No answer yet, either way: worth asking again.
    bool isUnanswered() const
    {
        return outcome == Outcome::NoAnswer || outcome == Outcome::NotAsked;
    }
};

// Listings started together for one pass over the network: each result
// waits here until the pass takes it. Destroying the batch drops what
// nobody took (and ends whatever still runs for it).
class ListingBatch
{
public:
    virtual ~ListingBatch() = default;
    // The listing of `parent` (null: the top) when it was asked for and is
    // not taken yet; std::nullopt otherwise.
    virtual std::optional<NetListing> take(const NetRecord *parent) = 0;
};

// Lists the network one level at a time. The window reaches the network only
// through this interface; tests hand it an in-memory network.
class NetworkProvider
{
public:
    virtual ~NetworkProvider() = default;

    // The children of `parent`, in a stable order; `parent` is null for the
    // top of the network (the providers). Every listing is bounded in time:
    // one that has no answer by its deadline ends as NoAnswer.
    virtual NetListing enumerate(const NetRecord *parent) = 0;

    // The children, or std::nullopt when the listing failed either way.
    std::optional<QList<NetRecord>> list(const NetRecord *parent)
    {
        NetListing listing = enumerate(parent);
        if (!listing.isListed())
            return std::nullopt;
        return std::move(listing.records);
    }

    // Whether a share's network path (\\SERVER\share) opens as a directory.
    virtual bool opensAsDirectory(const QString &remoteName) = 0;

    // Starts the listings of `parents` (null: the top) now, together, for a
    // caller that will take each of them soon: their waits overlap, and
    // together they take at most one listing's deadline. One that never got
    // its turn before that deadline is taken as NotAsked. Providers that
    // answer at once give no batch (null): asked one by one, their listings
    // cost no more.
    virtual std::unique_ptr<ListingBatch> listAhead(const QList<const NetRecord *> &parents)
    {
        Q_UNUSED(parents)
        return nullptr;
    }
};
