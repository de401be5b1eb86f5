// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class NetworkProvider;
class QTextStream;

// The helper's whole run: "send NAME TEXT…" in, one smbclient run per
// recipient, an exit status out. Every recipient that did not get the
// message is told on `err` as one reason line (platform/deliveryreason.h).
namespace Delivery
{

enum Status {
    Delivered = 0,    // every recipient took the message
    NotDelivered = 1, // at least one did not (one reason line each)
    BadRequest = 2,   // nothing was tried: bad arguments, name, text or settings
};

struct Settings {
    QString smbclient;     // program to run; empty when none was found
    QString codePage;      // see CodePage::messageCodePageName()
    QString sender;        // own NetBIOS name
    QString workgroup;     // own workgroup or domain, for "*"
    int timeoutMs = 30000; // per smbclient run
    int parallel = 8;      // smbclient runs at a time, for "*"

    // smbclient from $VESNAL_SMBCLIENT or PATH, the message code page,
    // names from the platform.
    static Settings fromEnvironment();
};

// Runs the helper for `arguments` (without the program name). `network` is
// asked for only when NAME is "*"; messages go to `err`.
int run(const QStringList &arguments, const Settings &settings,
        const std::function<NetworkProvider &()> &network, QTextStream &err);

} // namespace Delivery
