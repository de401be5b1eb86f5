// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/caseblindname.h"

size_t CaseBlindName::hashOf(QStringView name)
{
    // Folds letter by letter without copying the name; names with
    // characters outside the basic plane take the full folding.
    quint64 h = 1469598103934665603ull; // FNV-1a over the folded letters
    for (QChar c : name) {
        if (c.isSurrogate())
            return qHash(name.toString().toCaseFolded());
        const char16_t u = c.unicode();
        const char16_t folded =
            u < 0x80 ? ((u >= 'A' && u <= 'Z') ? u + 32 : u) : QChar::toCaseFolded(char32_t(u));
        h = (h ^ folded) * 1099511628211ull;
    }
    h ^= h >> 33; // spread the high bits into the bucket bits
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return size_t(h);
}
