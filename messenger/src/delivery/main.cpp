// SPDX-License-Identifier: GPL-3.0-or-later
// vesnal-net: delivers one message through smbclient.
//   vesnal-net send NAME TEXT...
// vesnal-net(1) has the rules, the reason lines and the exit status (the
// reasons' table: platform/deliveryreason.h).
// It also lists the network for the messenger, one child per listing:
//   vesnal-net list|probe URL            (platform/listingchild.h)
#include "delivery/delivery.h"
#include "net/systemnetwork.h"
#include "platform/listingchild.h"
#include "platform/systemplatform.h"
#include "platform/utf8.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    // Whoever reads our reasons may be gone (the messenger closed): the
    // deliveries under way still go on.
    SystemPlatform::ignoreBrokenPipes();
    QCoreApplication app(argc, argv);
    const QStringList arguments = decodeArguments(argc, argv);
    if (ListingChild::isListingCommand(arguments))
        return ListingChild::run(arguments);
    QTextStream err(stderr);
    // Only "*" lists the network (SMB browsing and the list file, as the
    // tree does); a plain send never opens either.
    std::unique_ptr<NetworkProvider> network;
    auto listing = [&network]() -> NetworkProvider & {
        if (!network)
            network = makeSystemNetwork();
        return *network;
    };
    return Delivery::run(arguments, Delivery::Settings::fromEnvironment(), listing, err);
}
