#include "delivery/delivery.h"

#include "delivery/messagetext.h"
#include "delivery/sendrequest.h"
#include "delivery/smbclientsender.h"
#include "delivery/workgroupcomputers.h"
#include "net/codepage.h"
#include "net/netbiosname.h"
#include "platform/systemplatform.h"

#include <QTextStream>

namespace Delivery
{

namespace
{

const QString Prefix = QStringLiteral("vesnal-net: ");

int refuse(QTextStream &err, const QString &why)
{
    err << Prefix << why << Qt::endl;
    return BadRequest;
}

int notDelivered(QTextStream &err, const QString &why)
{
    err << Prefix << why << Qt::endl;
    return NotDelivered;
}

// The checked names of every other computer of the workgroup; a listed name
// that breaks the rules is reported (and clears *allGood), not run.
std::optional<QStringList> groupRecipients(NetworkProvider &network, const QString &workgroup,
                                           const QString &self, const CodePage &codePage,
                                           bool *allGood, QTextStream &err)
{
    const auto computers = workgroupComputers(network, workgroup, self);
    if (!computers) {
        notDelivered(
            err,
            QStringLiteral("workgroup %1 could not be listed; nothing was sent").arg(workgroup));
        return std::nullopt;
    }
    if (computers->isEmpty()) {
        notDelivered(err,
                     QStringLiteral("no other computer found in workgroup %1; nothing was sent")
                         .arg(workgroup));
        return std::nullopt;
    }
    QStringList names;
    for (const QString &computer : *computers) {
        QString why;
        if (const auto name = NetbiosName::normalized(computer, codePage, &why)) {
            names.append(*name);
        } else {
            *allGood = false;
            err << Prefix << computer << ": not delivered: " << why << Qt::endl;
        }
    }
    return names;
}

} // namespace

Settings Settings::fromEnvironment()
{
    Settings settings;
    settings.smbclient = SmbclientSender::findProgram();
    if (qEnvironmentVariableIsSet("VESNAL_CODEPAGE"))
        settings.codePage = qEnvironmentVariable("VESNAL_CODEPAGE");
    settings.sender = SystemPlatform::netbiosName();
    settings.workgroup = SystemPlatform::workgroup();
    return settings;
}

int run(const QStringList &arguments, const Settings &settings,
        const std::function<NetworkProvider &()> &network, QTextStream &err)
{
    QString why;
    const auto request = SendRequest::parse(arguments, &why);
    if (!request) {
        err << Prefix << why << Qt::endl << "usage: vesnal-net send NAME TEXT..." << Qt::endl;
        return BadRequest;
    }
    const auto codePage = CodePage::byName(settings.codePage);
    if (!codePage)
        return refuse(err, QStringLiteral("unusable code page \"%1\" (VESNAL_CODEPAGE takes a "
                                          "name such as CP1250 or CP852)")
                               .arg(settings.codePage));
    const auto sender = NetbiosName::normalizedSender(settings.sender, *codePage, &why);
    if (!sender)
        return refuse(err, QStringLiteral("this computer's name \"%1\" cannot be used: %2")
                               .arg(settings.sender, why));
    const QString problem = MessageText::problem(request->text, *codePage);
    if (!problem.isEmpty())
        return refuse(err, problem);

    QStringList recipients;
    bool allDelivered = true;
    if (request->name == QLatin1String("*")) {
        if (settings.workgroup.isEmpty())
            return refuse(err, QStringLiteral("\"*\" needs this computer's workgroup, and none "
                                              "is set (VESNAL_WORKGROUP or smb.conf)"));
        const auto group =
            groupRecipients(network(), settings.workgroup, *sender, *codePage, &allDelivered, err);
        if (!group)
            return NotDelivered;
        recipients = *group;
    } else {
        const auto name = NetbiosName::normalized(request->name, *codePage, &why);
        if (!name)
            return refuse(err, QStringLiteral("bad computer name \"%1\": %2; nothing was sent")
                                   .arg(request->name, why));
        recipients.append(*name);
    }

    if (settings.smbclient.isEmpty())
        return notDelivered(
            err,
            QStringLiteral("smbclient was not found (PATH or VESNAL_SMBCLIENT); nothing was sent"));
    const SmbclientSender smbclient(settings.smbclient, *codePage, *sender, settings.timeoutMs);
    for (const QString &name : recipients) {
        const auto outcome = smbclient.send(name, request->text);
        if (!outcome.delivered) {
            allDelivered = false;
            err << Prefix << name << ": not delivered: " << outcome.reason << Qt::endl;
        }
    }
    return allDelivered ? Delivered : NotDelivered;
}

} // namespace Delivery
