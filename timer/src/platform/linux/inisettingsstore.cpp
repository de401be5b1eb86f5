// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/inisettingsstore.h"

#include <QFileInfo>
#include <QSettings>

IniSettingsStore::IniSettingsStore(QString fileName) : m_fileName(std::move(fileName)) {}

QString IniSettingsStore::userFileName()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "Tempral v" TEMPRAL_VERSION)
        .fileName();
}

std::optional<QString> IniSettingsStore::read(const QString &name)
{
    if (!QFileInfo(m_fileName).isFile())
        return std::nullopt;
    QSettings s(m_fileName, QSettings::IniFormat);
    if (s.status() != QSettings::NoError || !s.contains(name))
        return std::nullopt;
    const QVariant v = s.value(name);
    // A hand-edited value with commas comes back as a list.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(u',');
    return v.toString();
}

bool IniSettingsStore::write(const QString &name, const QString &value)
{
    QSettings s(m_fileName, QSettings::IniFormat);
    s.setValue(name, value);
    s.sync();
    return s.status() == QSettings::NoError;
}
