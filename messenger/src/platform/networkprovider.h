#pragma once

#include "platform/netrecord.h"

#include <QList>
#include <optional>

// Lists the network one level at a time. The window reaches the network only
// through this interface; tests hand it an in-memory network.
class NetworkProvider
{
public:
    virtual ~NetworkProvider() = default;

    // The children of `parent`, in a stable order; `parent` is null for the
    // top of the network (the providers). std::nullopt means the listing
    // could not be opened at all, which the model retries on the next ask.
    virtual std::optional<QList<NetRecord>> list(const NetRecord *parent) = 0;

    // Whether a share's network path (\\SERVER\share) opens as a directory.
    virtual bool opensAsDirectory(const QString &remoteName) = 0;
};
