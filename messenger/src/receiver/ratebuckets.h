// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "receiver/spoollimits.h"

#include <QHash>
#include <QString>
#include <QStringList>

// A leaky bucket per key (a sender's name, its address, or everyone): each
// message fills its buckets by one, and a bucket drains at its rate. A
// message that would overfill one of its buckets is refused. Refused
// messages may fill the buckets further (up to twice the rate's count), so
// that a sender who keeps sending too fast stays refused until it has been
// quiet for about one period of the rate.
class RateBuckets
{
public:
    struct Bucket {
        double level = 0;
        qint64 atMs = 0; // when the level was last brought up to date
        Rate rate;

        // The level drained until `nowMs`; a clock that went back drains nothing.
        double levelAt(qint64 nowMs) const;
    };

    // Whether one more message fits into every bucket of `keys` at `nowMs`;
    // then all of them take it. When it does not, the buckets that exist
    // take the refusal too if `refusalsCount`.
    bool admit(const QStringList &keys, Rate rate, qint64 nowMs, bool refusalsCount);

    // The buckets that still hold anything at `nowMs`, at most `most` of
    // them (the fullest), for the state file.
    QList<std::pair<QString, Bucket>> kept(qint64 nowMs, int most) const;

    void set(const QString &key, Bucket bucket) { m_buckets.insert(key, bucket); }

private:
    QHash<QString, Bucket> m_buckets;
};
