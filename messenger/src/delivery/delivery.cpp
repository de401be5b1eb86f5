// SPDX-License-Identifier: GPL-3.0-or-later
#include "delivery/delivery.h"

#include "delivery/sendrequest.h"
#include "delivery/smbclientsender.h"
#include "delivery/workgroupcomputers.h"
#include "net/codepage.h"
#include "net/messagetext.h"
#include "net/netbiosname.h"
#include "platform/deliveryreason.h"
#include "platform/systemplatform.h"

#include <QTextStream>

namespace Delivery
{

namespace
{

void tell(QTextStream &err, const DeliveryReason &reason)
{
    err << reason.line() << Qt::endl;
}

int refuse(QTextStream &err, Reason reason, const QString &name, const QString &text,
           const QStringList &fields = {})
{
    tell(err, {reason, name, fields, text});
    return BadRequest;
}

// The checked names of every other computer of the workgroup; a listed name
// that breaks the rules is told (and clears *allGood), not run. std::nullopt
// (told) when there is nobody to send to.
std::optional<QStringList> groupRecipients(NetworkProvider &network, const QString &workgroup,
                                           const QString &self, const CodePage &codePage,
                                           bool *allGood, QTextStream &err)
{
    const WorkgroupComputers computers = workgroupComputers(network, workgroup, self);
    if (computers.names.isEmpty()) {
        if (computers.incomplete)
            tell(err, {Reason::GroupUnlisted,
                       QStringLiteral("*"),
                       {workgroup},
                       QStringLiteral("workgroup %1 could not be listed; nothing was sent")
                           .arg(workgroup)});
        else
            tell(err, {Reason::GroupEmpty,
                       QStringLiteral("*"),
                       {workgroup},
                       QStringLiteral("no other computer found in workgroup %1; nothing was sent")
                           .arg(workgroup)});
        return std::nullopt;
    }
    QStringList names;
    for (const QString &computer : computers.names) {
        QString why;
        if (const auto name = NetbiosName::normalized(computer, codePage, &why)) {
            names.append(*name);
        } else {
            *allGood = false;
            tell(err, {Reason::BadName, computer, {}, why});
        }
    }
    return names;
}

} // namespace

Settings Settings::fromEnvironment()
{
    Settings settings;
    settings.smbclient = SmbclientSender::findProgram();
    settings.codePage = CodePage::messageCodePageName();
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
        refuse(err, Reason::Usage, QStringLiteral("-"), why);
        err << "usage: vesnal-net [--address=ADDRESS] send NAME TEXT..." << Qt::endl;
        return BadRequest;
    }
    const QString &asked = request->name;
    const auto codePage = CodePage::byName(settings.codePage);
    if (!codePage)
        return refuse(err, Reason::BadCodePage, asked,
                      QStringLiteral("unusable code page \"%1\" (VESNAL_CODEPAGE takes a name "
                                     "such as CP852 or CP1250)")
                          .arg(settings.codePage),
                      {settings.codePage});
    const auto sender = NetbiosName::normalizedSender(settings.sender, *codePage, &why);
    if (!sender)
        return refuse(err, Reason::BadSender, asked,
                      QStringLiteral("this computer's name \"%1\" cannot be used: %2")
                          .arg(settings.sender, why));
    if (auto problem = MessageText::problem(request->text, *codePage)) {
        problem->recipient = asked;
        tell(err, *problem);
        return BadRequest;
    }

    QStringList recipients;
    bool allDelivered = true;
    if (asked == QLatin1String("*")) {
        if (settings.workgroup.isEmpty())
            return refuse(err, Reason::NoWorkgroup, asked,
                          QStringLiteral("\"*\" needs this computer's workgroup, and none is set "
                                         "(VESNAL_WORKGROUP or smb.conf)"));
        const auto group =
            groupRecipients(network(), settings.workgroup, *sender, *codePage, &allDelivered, err);
        if (!group)
            return NotDelivered;
        recipients = *group;
    } else {
        const auto name = NetbiosName::normalized(asked, *codePage, &why);
        if (!name)
            return refuse(
                err, Reason::BadName, asked,
                QStringLiteral("bad computer name \"%1\": %2; nothing was sent").arg(asked, why));
        recipients.append(*name);
    }

    if (settings.smbclient.isEmpty()) {
        tell(err, {Reason::NoSmbclient,
                   asked,
                   {},
                   QStringLiteral("smbclient was not found (PATH or VESNAL_SMBCLIENT); nothing "
                                  "was sent")});
        return NotDelivered;
    }
    SmbclientSender smbclient(settings.smbclient, *codePage, *sender,
                              {settings.timeoutMs, settings.parallel});
    smbclient.setAddress(request->address);
    for (const auto &failure : smbclient.send(recipients, request->text)) {
        if (failure) {
            allDelivered = false;
            tell(err, *failure);
        }
    }
    return allDelivered ? Delivered : NotDelivered;
}

} // namespace Delivery
