// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "receiver/spoolrecord.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QStringList>

// Received messages in the desktop's notification list, through the
// freedesktop notification service (org.freedesktop.Notifications on the
// session bus). One notification per sender while its messages wait,
// replaced as more come ("PC_02: 3 nove poruke"), with the time and first
// line of the newest; its action "Otvori" opens it. Read messages are
// taken out of it, and it is closed when none of the sender's is left.
// Every call is asynchronous and bounded; without a bus or a service,
// nothing is shown and nothing else changes.
class DesktopNotifications : public QObject
{
    Q_OBJECT
public:
    static constexpr int CallTimeoutMs = 5000;

    explicit DesktopNotifications(const QDBusConnection &bus, QObject *parent = nullptr);

    // The message `id` waits.
    void post(const QString &id, const SpoolRecord &record);
    // These messages no longer wait (read, put aside, muted).
    void withdraw(const QStringList &ids);

    // "PC_02: 3 nove poruke" and the like; "Poruka od PC_02" for one.
    static QString summary(const QString &sender, qsizetype count);

signals:
    // The user chose to open the message `id` (the newest of its sender).
    void openRequested(const QString &id);

private slots:
    void actionInvoked(uint notification, const QString &action);
    void notificationClosed(uint notification, uint reason);

private:
    struct Sender {
        QStringList ids; // waiting, oldest first
        QString body;    // the newest one's time and first line
        uint notification = 0;
        bool pending = false; // a call is under way: its answer brings the id
        bool again = false;   // and then the notification must be shown anew
    };
    // Shows, replaces or closes the sender's notification as its messages are.
    void refresh(const QString &sender);

    QDBusConnection m_bus;
    QHash<QString, Sender> m_senders;   // by the sender's name as shown
    QHash<QString, QString> m_senderOf; // message id -> sender
    QHash<uint, QString> m_byNotification;
    bool m_markup = true;       // the service reads the body as markup
    bool m_knowsMarkup = false; // it has told (or could not)
};
