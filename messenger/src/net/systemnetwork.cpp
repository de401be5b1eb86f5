// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/systemnetwork.h"

#include "net/networkrouter.h"
#include "net/staticlistbackend.h"
#include "platform/systemplatform.h"

std::unique_ptr<NetworkProvider> makeSystemNetwork()
{
    return makeSystemNetwork(SystemPlatform::networkBrowser());
}

std::unique_ptr<NetworkProvider> makeSystemNetwork(std::unique_ptr<NetworkProvider> browser)
{
    auto router = std::make_unique<NetworkRouter>();
    router->add(SystemNetwork::SmbName, std::move(browser));
    router->add(SystemNetwork::ListName,
                std::make_unique<StaticListBackend>(
                    StaticListBackend::defaultPath(), SystemNetwork::ListName,
                    SystemPlatform::netbiosName(), SystemPlatform::workgroup()));
    router->setPathFallback(SystemNetwork::SmbName);
    return router;
}
