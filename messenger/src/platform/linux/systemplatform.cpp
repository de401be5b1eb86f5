// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/systemplatform.h"

#include "platform/linux/deliverylauncher.h"
#include "platform/linux/localidentity.h"
#include "platform/linux/smbbrowser.h"

#include <csignal>

std::unique_ptr<NetworkProvider> SystemPlatform::networkBrowser()
{
    return std::make_unique<SmbBrowser>();
}

std::unique_ptr<ProcessLauncher> SystemPlatform::deliveryLauncher()
{
    return std::make_unique<DeliveryLauncher>();
}

std::unique_ptr<ProcessLauncher> SystemPlatform::deliveryLauncher(const QString &helperDir,
                                                                  int boundMs)
{
    return std::make_unique<DeliveryLauncher>(helperDir, boundMs);
}

void SystemPlatform::ignoreBrokenPipes()
{
    std::signal(SIGPIPE, SIG_IGN);
}

QString SystemPlatform::netbiosName()
{
    return LocalIdentity::netbiosName();
}

QString SystemPlatform::workgroup()
{
    return LocalIdentity::workgroup();
}
