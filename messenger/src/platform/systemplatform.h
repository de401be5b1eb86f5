// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/networkprovider.h"
#include "platform/processlauncher.h"

#include <QString>
#include <memory>

// What the messenger takes from the system it runs on. These declarations
// hold on every system; the back end that the build picks (platform.cmake)
// defines them in platform/<system>/.
namespace SystemPlatform
{

// The system's own network listing (on Linux: SMB browsing, each listing in
// a child process of the helper vesnal-net beside the running program).
std::unique_ptr<NetworkProvider> networkBrowser();

// Starts one "net send NAME TEXT" command line per call, without waiting.
std::unique_ptr<ProcessLauncher> deliveryLauncher();

// This computer's name on the network, and its own workgroup or domain.
QString netbiosName();
QString workgroup();

// Picks the window system before the application starts, where the
// desktop offers a choice.
void chooseWindowSystem();

} // namespace SystemPlatform
