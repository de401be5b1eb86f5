#include "systemnetwork.h"

#include "localidentity.h"
#include "networkrouter.h"
#include "smbbackend.h"
#include "staticlistbackend.h"

std::unique_ptr<NetworkProvider> makeSystemNetwork()
{
    auto router = std::make_unique<NetworkRouter>();
    router->add(SystemNetwork::SmbName, std::make_unique<SmbBackend>());
    router->add(SystemNetwork::ListName,
                std::make_unique<StaticListBackend>(
                    StaticListBackend::defaultPath(), SystemNetwork::ListName,
                    LocalIdentity::netbiosName(), LocalIdentity::workgroup()));
    router->setPathFallback(SystemNetwork::SmbName);
    return router;
}
