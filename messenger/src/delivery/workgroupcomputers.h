// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class NetworkProvider;

// The computers of one workgroup or domain wherever the network listing
// finds it: under each provider (SMB browsing, the list file), or at the top
// of a network without providers. Names are bare (no backslashes, no
// provider), in listing order, each once (letter case aside); `self` is left
// out. `incomplete` tells that some listing on the way could not be opened,
// so computers may be missing.
struct WorkgroupComputers {
    QStringList names;
    bool incomplete = false;
};

WorkgroupComputers workgroupComputers(NetworkProvider &network, const QString &workgroup,
                                      const QString &self);
