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

// Starts one "net send NAME TEXT" command line per call, without waiting,
// through the delivery helper beside the running program (or in
// `helperDir`), which it stops after `boundMs` should it hang.
std::unique_ptr<ProcessLauncher> deliveryLauncher();
std::unique_ptr<ProcessLauncher> deliveryLauncher(const QString &helperDir, int boundMs);

// A program whose output's reader may go away (the messenger closed while
// its helper delivers) goes on writing into the void instead of ending.
void ignoreBrokenPipes();

// This computer's name on the network, and its own workgroup or domain.
QString netbiosName();
QString workgroup();

} // namespace SystemPlatform
