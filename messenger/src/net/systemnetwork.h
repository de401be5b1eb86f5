// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/networkprovider.h"

#include <QString>
#include <memory>

namespace SystemNetwork
{
// The names of the back ends as the tree shows them at the top.
inline const QString SmbName = QStringLiteral("SMB mreža");
inline const QString ListName = QStringLiteral("Spisak računara");
} // namespace SystemNetwork

// The network as the messenger lists it on this machine: SMB browsing and
// the user's list file, each under a provider of its own. `browser` stands
// in for the system's own listing (tests point it at a helper of theirs).
std::unique_ptr<NetworkProvider> makeSystemNetwork();
std::unique_ptr<NetworkProvider> makeSystemNetwork(std::unique_ptr<NetworkProvider> browser);
