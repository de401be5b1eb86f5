// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/serialports.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace serialports
{

static QString readLine(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readLine()).trimmed();
}

QStringList fromSysfs(const QString &sysClassTty, const QString &devDir)
{
    const QStringList consoles = readLine(sysClassTty + "/console/active").split(u' ');
    static const QRegularExpression pattern("^tty(S|USB|ACM)(\\d+)$");
    struct Entry {
        int kind;
        int number;
        QString name;
    };
    std::vector<Entry> found;
    const QStringList names = QDir(sysClassTty).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const auto m = pattern.match(name);
        if (!m.hasMatch() || consoles.contains(name))
            continue;
        const QString kind = m.captured(1);
        // Every possible 8250 port has a node; only those with a UART behind
        // them report a type other than 0 (unknown).
        if (kind == u"S") {
            const QString type = readLine(sysClassTty + "/" + name + "/type");
            if (type.isEmpty() || type == u"0")
                continue;
        }
        found.push_back({kind == u"S" ? 0 : kind == u"USB" ? 1 : 2, m.captured(2).toInt(), name});
    }
    std::sort(found.begin(), found.end(), [](const Entry &a, const Entry &b) {
        return a.kind != b.kind ? a.kind < b.kind : a.number < b.number;
    });
    QStringList devices;
    for (const Entry &e : found)
        devices << devDir + "/" + e.name;
    return devices;
}

QStringList fromEnvironment(const QByteArray &value)
{
    return QString::fromLocal8Bit(value).split(u':', Qt::SkipEmptyParts);
}

QStringList system()
{
    const QByteArray env = qgetenv("TEMPRAL_PORTS");
    if (!env.isEmpty())
        return fromEnvironment(env);
    return fromSysfs("/sys/class/tty", "/dev");
}

} // namespace serialports
