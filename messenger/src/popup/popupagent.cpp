// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/popupagent.h"

#include "popup/listwindow.h"
#include "popup/popupwindow.h"
#include "popup/refusallines.h"
#include "popup/replywindow.h"
#include "popup/shownstate.h"
#include "receiver/spoolstate.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextStream>
#include <cstdio>

namespace
{

constexpr int CascadeStep = 28;
constexpr int CascadeLength = 10; // the steps before the cascade starts over
constexpr int MostRefusalLines = 5;

void report(const QString &line)
{
    QTextStream(stderr) << "vesnal-popup: " << line << Qt::endl;
}

} // namespace

PopupAgent::PopupAgent(const QString &spoolPath, ShownState &shown, Options options)
    : m_spool(spoolPath), m_shown(shown), m_options(options), m_watcher(spoolPath, options.pollMs),
      m_choices(UserChoices::defaultPath(shown.file())), m_notifications(options.bus),
      m_sound(options.playSound)
{
    m_messages.setMuted(m_choices.muted());
    connect(&m_choices, &UserChoices::changed, this, &PopupAgent::applyMutes);
    connect(&m_notifications, &DesktopNotifications::openRequested, this, &PopupAgent::openMessage);
    connect(&m_watcher, &SpoolWatcher::recordsAdded, this, &PopupAgent::take);
    connect(&m_watcher, &SpoolWatcher::lost, this, &PopupAgent::rescan);
    m_refusalsTimer.setSingleShot(true);
    m_refusalsTimer.setInterval(1000);
    connect(&m_refusalsTimer, &QTimer::timeout, this, &PopupAgent::readRefusals);
    connect(&m_watcher, &SpoolWatcher::stateChanged, this, [this] {
        if (m_list && m_list->isVisible() && !m_refusalsTimer.isActive())
            m_refusalsTimer.start();
    });
}

PopupAgent::~PopupAgent()
{
    qDeleteAll(m_open);
    for (const QPointer<ReplyWindow> &reply : std::exchange(m_replies, {}))
        delete reply.data();
}

void PopupAgent::start()
{
    m_watcher.start();
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
    if (const auto ids = m_spool.ids())
        take(*ids);
}

void PopupAgent::take(const QStringList &ids)
{
    bool arrived = false;
    for (const QString &id : ids) {
        if (m_messages.contains(id) || m_unreadable.contains(id))
            continue;
        QString why;
        const auto record = m_spool.load(id, &why);
        if (!record) {
            m_unreadable.insert(id);
            report(QStringLiteral("record %1 cannot be shown: %2").arg(id, why));
            continue;
        }
        const bool unread = !m_shown.contains(id);
        m_messages.add(id, *record, unread);
        if (unread && !m_choices.isMuted(record->sender)) {
            m_waiting.append(id);
            m_notifications.post(id, *record);
            arrived = true;
        }
    }
    if (arrived && m_choices.sound())
        m_sound.ring();
    showWaiting();
}

void PopupAgent::showWaiting()
{
    if (m_list && m_list->isVisible())
        return; // the list shows what comes
    if (m_waiting.size() > m_options.listAbove) {
        showList(false);
        return;
    }
    for (const QString &id : std::as_const(m_waiting)) {
        if (std::any_of(m_open.begin(), m_open.end(),
                        [&](const PopupWindow *w) { return w->id() == id; }))
            continue;
        QString why;
        const auto record = m_spool.load(id, &why);
        if (!record)
            continue; // gone since it was listed; it stays in the list
        int slot = 0;
        while (m_slots.contains(slot))
            ++slot;
        auto *window = new PopupWindow(id, *record);
        connect(window, &QDialog::finished, this,
                [this, window](int result) { popupFinished(window, result == QDialog::Accepted); });
        connect(window, &PopupWindow::replyRequested, this, &PopupAgent::openReply);
        m_open.append(window);
        m_slots.append(slot);
        window->move(cascadePosition(slot));
        window->show();
        emit windowShown(window);
    }
}

void PopupAgent::popupFinished(PopupWindow *window, bool confirmed)
{
    const qsizetype index = m_open.indexOf(window);
    if (index < 0)
        return;
    m_open.removeAt(index);
    m_slots.removeAt(index);
    window->deleteLater();
    // Closed without "U redu" (the close button, Escape, or the session
    // ending) the message is put aside: it comes again at the next start.
    if (confirmed) {
        confirm({window->id()});
    } else {
        m_aside.insert(window->id());
        m_waiting.removeOne(window->id());
        m_notifications.withdraw({window->id()});
    }
}

void PopupAgent::confirm(const QStringList &ids)
{
    QString why;
    if (!m_shown.mark(ids, &why) && !m_saveFailed) {
        m_saveFailed = true; // said once; the ids are still kept for this run
        report(why);
    }
    m_notifications.withdraw(ids);
    for (const QString &id : ids) {
        m_messages.markRead(id);
        m_waiting.removeOne(id);
        m_aside.remove(id);
    }
}

void PopupAgent::closePopups()
{
    // They are in the list, still unread.
    for (PopupWindow *window : std::exchange(m_open, {})) {
        window->disconnect(this);
        window->deleteLater();
        window->hide();
    }
    m_slots.clear();
}

void PopupAgent::showList(bool activate)
{
    closePopups();
    if (!m_list) {
        m_list = std::make_unique<ListWindow>(&m_messages, &m_choices);
        connect(m_list.get(), &ListWindow::selected, this, &PopupAgent::showSelected);
        connect(m_list.get(), &ListWindow::replyRequested, this, &PopupAgent::openReply);
        connect(m_list.get(), &ListWindow::confirmed, this,
                [this](const QString &id) { confirm({id}); });
        connect(m_list.get(), &ListWindow::allRead, this,
                [this] { confirm(m_messages.unreadIds()); });
        connect(m_list.get(), &QDialog::rejected, this, [this] {
            // Closed without marking: what waited is put aside, as a popup
            // closed so.
            for (const QString &id : std::as_const(m_waiting))
                m_aside.insert(id);
            m_notifications.withdraw(m_waiting);
            m_waiting.clear();
        });
    }
    readRefusals();
    if (!m_list->isVisible()) {
        const int first =
            m_waiting.isEmpty() ? m_messages.rowCount() - 1 : m_messages.rowOf(m_waiting.first());
        m_list->selectRow(first);
        m_list->show();
    }
    if (activate) {
        m_list->raise();
        m_list->activateWindow();
    }
}

void PopupAgent::showSelected(const QString &id)
{
    QString why;
    const auto record = m_spool.load(id, &why);
    m_list->setMessageText(record ? PopupWindow::heading(*record) + QStringLiteral("\n\n") +
                                        record->text
                                  : QStringLiteral("Poruka se ne može pročitati: %1").arg(why));
}

void PopupAgent::readRefusals()
{
    if (!m_list)
        return;
    QString why;
    const auto state = SpoolState::read(m_spool.path(), &why);
    m_list->setRefusals(state ? refusalLines(state->refusals, MostRefusalLines) : QStringList());
}

void PopupAgent::applyMutes()
{
    m_messages.setMuted(m_choices.muted());
    // What a muted sender had waiting stops waiting; it stays listed, unread.
    QStringList muted;
    for (const QString &id : std::as_const(m_waiting))
        if (m_choices.isMuted(m_messages.at(m_messages.rowOf(id)).sender))
            muted.append(id);
    for (const QString &id : muted)
        m_waiting.removeOne(id);
    m_notifications.withdraw(muted);
}

ReplyWindow *PopupAgent::openReply(const QString &id)
{
    ReplyWindow *window = m_replies.value(id);
    if (!window) {
        QString why;
        const auto record = m_spool.load(id, &why);
        if (!record) {
            report(QStringLiteral("record %1 cannot be answered: %2").arg(id, why));
            return nullptr;
        }
        window = new ReplyWindow(*record, new ReplySender(*record, m_options.reply));
        window->setAttribute(Qt::WA_DeleteOnClose);
        m_replies.insert(id, window);
        connect(window, &QObject::destroyed, this, [this, id] { m_replies.remove(id); });
    }
    window->show();
    window->raise();
    window->activateWindow(); // asked for: it takes the keyboard
    return window;
}

void PopupAgent::openMessage(const QString &id)
{
    for (PopupWindow *window : std::as_const(m_open)) {
        if (window->id() == id) {
            window->raise();
            window->activateWindow();
            return;
        }
    }
    showList(true);
    m_list->selectRow(m_messages.rowOf(id));
}
