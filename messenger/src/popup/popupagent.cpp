// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/popupagent.h"

#include "popup/popupwindow.h"
#include "popup/shownstate.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTextStream>
#include <cstdio>

namespace
{

constexpr int CascadeStep = 28;
constexpr int CascadeLength = 10; // the steps before the cascade starts over

void report(const QString &line)
{
    QTextStream(stderr) << "vesnal-popup: " << line << Qt::endl;
}

} // namespace

PopupAgent::PopupAgent(const QString &spoolPath, ShownState &shown, Options options)
    : m_spool(spoolPath), m_shown(shown), m_options(options)
{
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &PopupAgent::rescan);
    connect(&m_rescanTimer, &QTimer::timeout, this, &PopupAgent::rescan);
}

PopupAgent::~PopupAgent()
{
    qDeleteAll(m_open);
}

void PopupAgent::start()
{
    rescan();
    m_rescanTimer.start(m_options.rescanMs);
}

void PopupAgent::watchSpool()
{
    // Until the spool exists (this computer may not receive at all) the
    // rescans look for it; a spool removed and made again is watched anew.
    if (m_watcher.directories().isEmpty() && QFileInfo(m_spool.path()).isDir())
        m_watcher.addPath(m_spool.path());
}

QPoint PopupAgent::cascadePosition(int slot)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QPoint first(area.left() + area.width() / 3, area.top() + area.height() / 6);
    return first + QPoint(CascadeStep, CascadeStep) * (slot % CascadeLength);
}

void PopupAgent::rescan()
{
    watchSpool();
    const auto ids = m_spool.ids();
    if (!ids)
        return; // no spool (yet): the next scan looks again
    for (const QString &id : *ids) {
        if (m_taken.contains(id) || m_shown.contains(id))
            continue;
        m_taken.insert(id);
        m_waiting.append(id);
    }
    showWaiting();
}

void PopupAgent::showWaiting()
{
    while (m_open.size() < m_options.maxOpen && !m_waiting.isEmpty()) {
        const QString id = m_waiting.takeFirst();
        QString why;
        const auto record = m_spool.load(id, &why);
        if (!record) {
            report(QStringLiteral("record %1 cannot be shown: %2").arg(id, why));
            continue;
        }
        int slot = 0;
        while (m_slots.contains(slot))
            ++slot;
        auto *window = new PopupWindow(id, *record);
        connect(window, &QDialog::finished, this,
                [this, window](int result) { finished(window, result == QDialog::Accepted); });
        m_open.append(window);
        m_slots.append(slot);
        window->move(cascadePosition(slot));
        window->show();
        emit windowShown(window);
    }
}

void PopupAgent::finished(PopupWindow *window, bool confirmed)
{
    const qsizetype index = m_open.indexOf(window);
    if (index < 0)
        return;
    m_open.removeAt(index);
    m_slots.removeAt(index);
    window->deleteLater();
    // Closed without "U redu" (the close button, Escape, or the session
    // ending) the message is put aside: it comes again at the next start.
    QString why;
    if (confirmed && !m_shown.mark(window->id(), &why) && !m_saveFailed) {
        m_saveFailed = true; // said once; the ids are still kept for this run
        report(why);
    }
    showWaiting();
}
