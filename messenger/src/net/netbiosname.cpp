// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/netbiosname.h"

namespace NetbiosName
{

namespace
{

constexpr qsizetype MaxBytes = 15;

std::optional<QString> fail(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return std::nullopt;
}

std::optional<QString> check(const QString &name, const CodePage &codePage,
                             const QString &forbidden, QString *why)
{
    if (name.isEmpty())
        return fail(why, QStringLiteral("the name is empty"));
    if (name.startsWith(QLatin1Char('-')) || name.startsWith(QLatin1Char('.')))
        return fail(why, QStringLiteral("a name may not begin with \"-\" or \".\""));
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return fail(why, QStringLiteral("a name may not hold control characters"));
        if (c.isSpace())
            return fail(why, QStringLiteral("a name may not hold blanks"));
        if (forbidden.contains(c))
            return fail(why, QStringLiteral("a name may not hold \"%1\"").arg(c));
    }
    const QString upper = name.toUpper();
    QString missing;
    const auto bytes = codePage.encode(upper, &missing);
    if (!bytes)
        return fail(
            why,
            QStringLiteral("\"%1\" has no place in code page %2").arg(missing, codePage.name()));
    if (bytes->size() > MaxBytes)
        return fail(why, QStringLiteral("a name may be at most %1 bytes long in code page %2")
                             .arg(MaxBytes)
                             .arg(codePage.name()));
    return upper;
}

} // namespace

std::optional<QString> normalized(const QString &name, const CodePage &codePage, QString *why)
{
    return check(name, codePage, QStringLiteral("\\/:*?\"<>|+=;,"), why);
}

std::optional<QString> normalizedSender(const QString &name, const CodePage &codePage, QString *why)
{
    return check(name, codePage, QStringLiteral("\\/:*?\"<>|+=;,%@"), why);
}

} // namespace NetbiosName
