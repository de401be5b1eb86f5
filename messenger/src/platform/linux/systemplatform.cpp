// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/systemplatform.h"

#include "platform/linux/deliverylauncher.h"
#include "platform/linux/localidentity.h"
#include "platform/linux/smbbrowser.h"

std::unique_ptr<NetworkProvider> SystemPlatform::networkBrowser()
{
    return std::make_unique<SmbBrowser>();
}

std::unique_ptr<ProcessLauncher> SystemPlatform::deliveryLauncher()
{
    return std::make_unique<DeliveryLauncher>();
}

QString SystemPlatform::netbiosName()
{
    return LocalIdentity::netbiosName();
}

QString SystemPlatform::workgroup()
{
    return LocalIdentity::workgroup();
}
