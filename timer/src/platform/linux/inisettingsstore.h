// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/settingsstore.h"

// Settings in an INI file through QSettings. Each call opens the file afresh,
// so a file that cannot be read or written costs that one value only.
class IniSettingsStore : public SettingsStore
{
public:
    explicit IniSettingsStore(QString fileName);
    // The user's file: <config folder>/Tempral v0.5.ini, the config folder
    // being $XDG_CONFIG_HOME or ~/.config.
    static QString userFileName();

    std::optional<QString> read(const QString &name) override;
    bool write(const QString &name, const QString &value) override;
    const QString &fileName() const { return m_fileName; }

private:
    QString m_fileName;
};
