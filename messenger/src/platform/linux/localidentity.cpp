// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/localidentity.h"

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>

namespace LocalIdentity
{

QString netbiosName()
{
    QString name = qEnvironmentVariable("VESNAL_NETBIOS_NAME").trimmed();
    if (name.isEmpty())
        name = QSysInfo::machineHostName().section(QLatin1Char('.'), 0, 0);
    name = name.toUpper();
    while (name.toUtf8().size() > 15)
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("LOCALHOST") : name;
}

QString workgroupFromSmbConf(const QString &confText)
{
    static const QRegularExpression line(QStringLiteral(R"(^\s*workgroup\s*=\s*(\S.*?)\s*$)"),
                                         QRegularExpression::CaseInsensitiveOption |
                                             QRegularExpression::MultilineOption);
    const auto match = line.match(confText);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString workgroup()
{
    QString group = qEnvironmentVariable("VESNAL_WORKGROUP").trimmed();
    if (group.isEmpty()) {
        QFile conf(QStringLiteral("/etc/samba/smb.conf"));
        // fromUtf8 drops a leading byte-order mark: a file's signature here.
        if (conf.open(QIODevice::ReadOnly))
            group = workgroupFromSmbConf(QString::fromUtf8(conf.readAll()));
    }
    return group.isEmpty() ? QStringLiteral("WORKGROUP") : group.toUpper();
}

} // namespace LocalIdentity
