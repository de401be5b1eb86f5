// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// How this computer is named on the SMB network.
namespace LocalIdentity
{

// This computer's NetBIOS name: $VESNAL_NETBIOS_NAME when set, else the
// first label of the host name in upper case, cut to 15 bytes.
QString netbiosName();

// The own workgroup or domain: $VESNAL_WORKGROUP when set, else the
// "workgroup" of the system smb.conf, else "WORKGROUP".
QString workgroup();

// The "workgroup = …" value of an smb.conf text, or an empty text.
QString workgroupFromSmbConf(const QString &confText);

} // namespace LocalIdentity
