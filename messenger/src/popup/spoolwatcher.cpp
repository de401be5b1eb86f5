// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/spoolwatcher.h"

#include "receiver/spool.h"
#include "receiver/spoolstate.h"

namespace
{

const QString Suffix = QStringLiteral(".msg");

} // namespace

SpoolWatcher::SpoolWatcher(const QString &path, int pollMs) : m_path(path)
{
    m_poll.setInterval(pollMs);
    connect(&m_poll, &QTimer::timeout, this, &SpoolWatcher::tryWatch);
    connect(&m_folder, &FolderWatch::noticed, this, &SpoolWatcher::noticed);
}

void SpoolWatcher::start()
{
    tryWatch();
}

void SpoolWatcher::tryWatch()
{
    // Records are linked into the folder; the state file is renamed into it.
    if (m_folder.watch(m_path)) {
        m_poll.stop();
        emit lost(); // watched from now on: what came before is found by a listing
    } else {
        // No folder yet (this computer may not receive at all), or no
        // notices to be had: look again later, and list what is there.
        if (!m_folder.available())
            emit lost();
        m_poll.start();
    }
}

void SpoolWatcher::noticed(const QStringList &names, bool missed, bool gone)
{
    QStringList ids;
    bool state = false;
    for (const QString &name : names) {
        if (name == QLatin1String(SpoolState::FileName))
            state = true;
        else if (name.endsWith(Suffix) && Spool::idTime(name.chopped(Suffix.size())).isValid())
            ids.append(name.chopped(Suffix.size()));
    }
    if (!ids.isEmpty())
        emit recordsAdded(ids);
    if (state)
        emit stateChanged();
    if (gone)
        m_poll.start(); // which watches it again once it is back, and says lost()
    else if (missed)
        emit lost();
}
