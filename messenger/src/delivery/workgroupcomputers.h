#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class NetworkProvider;

// The computers of one workgroup or domain as the network listing shows
// them, without the leading backslashes, in listing order; `self` (compared
// without regard to case) is left out. std::nullopt when the workgroup could
// not be listed.
std::optional<QStringList> workgroupComputers(NetworkProvider &network, const QString &workgroup,
                                              const QString &self);
