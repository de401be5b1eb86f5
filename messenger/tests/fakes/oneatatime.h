// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/networkprovider.h"

#include <memory>

// Another provider's listings, asked one at a time: it ignores the listings
// asked ahead, so every listing waits for the one before. What asking ahead
// must not change, and what it saves.
class OneAtATime : public NetworkProvider
{
public:
    explicit OneAtATime(std::unique_ptr<NetworkProvider> inner) : m_inner(std::move(inner)) {}
    NetListing enumerate(const NetRecord *parent) override { return m_inner->enumerate(parent); }
    bool opensAsDirectory(const QString &name) override { return m_inner->opensAsDirectory(name); }

private:
    std::unique_ptr<NetworkProvider> m_inner;
};
