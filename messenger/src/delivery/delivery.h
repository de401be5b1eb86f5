#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class NetworkProvider;
class QTextStream;

// The helper's whole run: "send NAME TEXT…" in, one smbclient run per
// recipient, an exit status out.
namespace Delivery
{

enum Status {
    Delivered = 0,    // every recipient took the message
    NotDelivered = 1, // at least one did not (one line each on stderr)
    BadRequest = 2,   // nothing was tried: bad arguments, name, text or settings
};

struct Settings {
    QString smbclient; // program to run; empty when none was found
    QString codePage = QStringLiteral("CP1250");
    QString sender;    // own NetBIOS name
    QString workgroup; // own workgroup or domain, for "*"
    int timeoutMs = 30000;

    // smbclient from $VESNAL_SMBCLIENT or PATH, the code page from
    // $VESNAL_CODEPAGE (CP1250 when unset), names from LocalIdentity.
    static Settings fromEnvironment();
};

// Runs the helper for `arguments` (without the program name). `network` is
// asked for only when NAME is "*"; messages go to `err`.
int run(const QStringList &arguments, const Settings &settings,
        const std::function<NetworkProvider &()> &network, QTextStream &err);

} // namespace Delivery
