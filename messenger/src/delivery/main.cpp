// vesnal-net: delivers one message through smbclient.
//   vesnal-net send NAME TEXT...
// README ("Delivery") has the rules and the exit status.
#include "delivery.h"
#include "smbbackend.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    // Only "*" lists the network; a plain send never opens libsmbclient.
    std::unique_ptr<SmbBackend> smb;
    auto network = [&smb]() -> NetworkProvider & {
        if (!smb)
            smb = std::make_unique<SmbBackend>();
        return *smb;
    };
    return Delivery::run(app.arguments().mid(1), Delivery::Settings::fromEnvironment(), network,
                         err);
}
