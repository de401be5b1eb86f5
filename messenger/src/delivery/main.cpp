// vesnal-net: delivers one message through smbclient.
//   vesnal-net send NAME TEXT...
// README ("Delivery") has the rules and the exit status. It also lists the
// network for the messenger, one child per listing:
//   vesnal-net list|probe URL            (platform/listingchild.h)
#include "delivery/delivery.h"
#include "platform/listingchild.h"
#include "platform/systemplatform.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (ListingChild::isListingCommand(app.arguments().mid(1)))
        return ListingChild::run(app.arguments().mid(1));
    QTextStream err(stderr);
    // Only "*" lists the network; a plain send never opens libsmbclient.
    std::unique_ptr<NetworkProvider> smb;
    auto network = [&smb]() -> NetworkProvider & {
        if (!smb)
            smb = SystemPlatform::networkBrowser();
        return *smb;
    };
    return Delivery::run(app.arguments().mid(1), Delivery::Settings::fromEnvironment(), network,
                         err);
}
