// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHashFunctions>
#include <QString>

// A name that hashes and compares without regard to letter case, as network
// names do. The hash is taken once, without a folded copy of the name, and
// spares the letter-by-letter comparison of names that differ.
struct CaseBlindName {
    explicit CaseBlindName(const QString &name) : name(name), hash(hashOf(name)) {}
    // The hash of a name, blind to letter case.
    static size_t hashOf(QStringView name);
    QString name;
    size_t hash;
    bool operator==(const CaseBlindName &other) const
    {
        return hash == other.hash && name.compare(other.name, Qt::CaseInsensitive) == 0;
    }
};

inline size_t qHash(const CaseBlindName &key, size_t seed)
{
    return key.hash ^ seed;
}
