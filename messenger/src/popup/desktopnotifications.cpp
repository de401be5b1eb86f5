// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/desktopnotifications.h"

#include "popup/messagelist.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace
{

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = Service;
const QString OpenAction = QStringLiteral("default");

QDBusMessage call(const QString &method)
{
    return QDBusMessage::createMethodCall(Service, Path, Interface, method);
}

} // namespace

QString DesktopNotifications::summary(const QString &sender, qsizetype count)
{
    if (count <= 1)
        return QStringLiteral("Poruka od %1").arg(sender);
    const qsizetype ones = count % 10, tens = count % 100;
    const char *words = ones == 1 && tens != 11 ? "%1: %2 nova poruka"
                        : ones >= 2 && ones <= 4 && (tens < 12 || tens > 14)
                            ? "%1: %2 nove poruke"
                            : "%1: %2 novih poruka";
    return QString::fromUtf8(words).arg(sender).arg(count);
}

DesktopNotifications::DesktopNotifications(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_bus(bus)
{
    if (!m_bus.isConnected())
        return; // nothing is posted
    m_bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                  SLOT(actionInvoked(uint, QString)));
    m_bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                  SLOT(notificationClosed(uint, uint)));
    // Whether the body is read as markup: the text must then be escaped,
    // else shown as it is. Notifications wait for the answer.
    auto *watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(call(QStringLiteral("GetCapabilities")), CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        const QDBusPendingReply<QStringList> reply = *watcher;
        m_markup = reply.isError() || reply.value().contains(QStringLiteral("body-markup"));
        m_knowsMarkup = true;
        watcher->deleteLater();
        for (const QString &sender : m_senders.keys())
            refresh(sender);
    });
}

void DesktopNotifications::post(const QString &id, const SpoolRecord &record)
{
    const QString sender = record.sender.toUpper();
    if (!m_bus.isConnected() || m_senderOf.contains(id))
        return;
    m_senderOf.insert(id, sender);
    Sender &s = m_senders[sender];
    s.ids.append(id);
    s.body =
        MessageList::arrivalTime(record.received) + u'\n' + MessageList::firstLine(record.text);
    refresh(sender);
}

void DesktopNotifications::withdraw(const QStringList &ids)
{
    QSet<QString> changed;
    for (const QString &id : ids) {
        const QString sender = m_senderOf.take(id);
        if (!sender.isEmpty() && m_senders[sender].ids.removeOne(id))
            changed.insert(sender);
    }
    for (const QString &sender : changed)
        refresh(sender);
}

void DesktopNotifications::refresh(const QString &sender)
{
    Sender &s = m_senders[sender];
    if (!m_knowsMarkup)
        return; // all are shown once it is known
    if (s.pending) {
        s.again = true; // once the call under way has brought the id
        return;
    }
    if (s.ids.isEmpty()) {
        if (s.notification != 0) {
            QDBusMessage close = call(QStringLiteral("CloseNotification"));
            close << s.notification;
            m_bus.asyncCall(close, CallTimeoutMs);
            m_byNotification.remove(s.notification);
        }
        m_senders.remove(sender);
        return;
    }
    QDBusMessage notify = call(QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("vesnal-popup")},
                            {QStringLiteral("category"), QStringLiteral("im.received")}};
    notify << QStringLiteral("Vesnal") << s.notification << QStringLiteral("vesnal")
           << summary(sender, s.ids.size()) << (m_markup ? s.body.toHtmlEscaped() : s.body)
           << QStringList{OpenAction, QStringLiteral("Otvori")} << hints << -1;
    s.pending = true;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(notify, CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, sender, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        Sender &s = m_senders[sender];
        s.pending = false;
        if (!reply.isError()) {
            s.notification = reply.value();
            m_byNotification.insert(s.notification, sender);
        }
        if (std::exchange(s.again, false))
            refresh(sender);
    });
}

void DesktopNotifications::actionInvoked(uint notification, const QString &action)
{
    const QString sender = m_byNotification.value(notification);
    const auto found = m_senders.constFind(sender);
    if (sender.isEmpty() || action != OpenAction || found == m_senders.cend() ||
        found->notification != notification || found->ids.isEmpty())
        return;
    emit openRequested(found->ids.last());
}

void DesktopNotifications::notificationClosed(uint notification, uint)
{
    // Gone from the screen (dismissed, or expired): the next message of
    // the sender makes a new one, counting all that still wait.
    const QString sender = m_byNotification.take(notification);
    const auto found = m_senders.find(sender);
    if (found != m_senders.end() && found->notification == notification)
        found->notification = 0;
}
