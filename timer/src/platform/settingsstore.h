// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// The remembered settings: named string values. A value that is not stored
// (or cannot be read) is told apart from an empty one.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<QString> read(const QString &name) = 0;
    // False when the value could not be stored.
    virtual bool write(const QString &name, const QString &value) = 0;
};
