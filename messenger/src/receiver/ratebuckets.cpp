// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/ratebuckets.h"

#include <algorithm>

double RateBuckets::Bucket::levelAt(qint64 nowMs) const
{
    const double perMs = double(rate.count) / (1000.0 * rate.seconds);
    return std::max(0.0, level - std::max<qint64>(0, nowMs - atMs) * perMs);
}

bool RateBuckets::admit(const QStringList &keys, Rate rate, qint64 nowMs, bool refusalsCount)
{
    bool fits = true;
    for (const QString &key : keys) {
        Bucket &b = m_buckets[key];
        b = {b.levelAt(nowMs), nowMs, rate};
        fits = fits && b.level + 1 <= rate.count;
    }
    for (const QString &key : keys) {
        Bucket &b = m_buckets[key];
        if (fits)
            b.level += 1;
        else if (refusalsCount)
            b.level = std::min(b.level + 1, 2.0 * rate.count);
    }
    return fits;
}

QList<std::pair<QString, RateBuckets::Bucket>> RateBuckets::kept(qint64 nowMs, int most) const
{
    QList<std::pair<QString, Bucket>> kept;
    for (auto it = m_buckets.begin(); it != m_buckets.end(); ++it)
        if (it->levelAt(nowMs) > 0)
            kept.append({it.key(), *it});
    std::sort(kept.begin(), kept.end(), [nowMs](const auto &a, const auto &b) {
        return a.second.levelAt(nowMs) > b.second.levelAt(nowMs);
    });
    return kept.mid(0, most);
}
