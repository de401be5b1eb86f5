// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "popup/arrivalsound.h"
#include "popup/desktopnotifications.h"
#include "popup/messagelist.h"
#include "popup/replysender.h"
#include "popup/spoolwatcher.h"
#include "popup/userchoices.h"
#include "receiver/spool.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <memory>

class ListWindow;
class PopupWindow;
class ReplyWindow;
class ShownState;

// Shows the messages of the spool that this user has not confirmed yet. A
// few (up to listAbove) each get a popup of their own; when more wait, the
// popups give way to one list window, which then takes every new message
// until it is closed. The list also opens on demand, as the history of what
// came. A message closed without "U redu" is put aside until the next start.
// New records are learnt by their names from the file system's notices:
// only they are read, never the whole spool again. A waiting message is
// also in the desktop's notification list, and its arrival rings (at most
// once in a few seconds, unless the user turned the sound off). Messages
// of senders the user muted are listed, marked, and nothing more. Each
// message can be answered (ReplyWindow), from its popup or the list.
class PopupAgent : public QObject
{
    Q_OBJECT
public:
    struct Options {
        int listAbove = 3; // more waiting messages than this: the list
        int pollMs = 5000; // how often a missing spool is looked for
        ReplySender::Options reply = {};
        std::function<void()> playSound = {};             // none: silence
        QDBusConnection bus = QDBusConnection(QString()); // notifications; none by default
    };

    PopupAgent(const QString &spoolPath, ShownState &shown, Options options);
    PopupAgent(const QString &spoolPath, ShownState &shown)
        : PopupAgent(spoolPath, shown, Options())
    {
    }
    ~PopupAgent() override;

    // The first listing, then watching.
    void start();
    // Shows the list window; `activate` when the user asked for it.
    void showList(bool activate);
    // Lists the spool once, for what the notices did not tell.
    void rescan();

    const QList<PopupWindow *> &openWindows() const { return m_open; }
    // The list window once it was shown.
    ListWindow *listWindow() const { return m_list.get(); }
    MessageList &messages() { return m_messages; }
    UserChoices &choices() { return m_choices; }
    // The reply window of message `id`, made (and shown) when there is none.
    ReplyWindow *openReply(const QString &id);
    // Brings the message `id` before the user: its popup, or the list.
    void openMessage(const QString &id);
    qsizetype waiting() const { return m_waiting.size(); }

    // Where the window in cascade place `slot` (0 first) puts its top left.
    static QPoint cascadePosition(int slot);

signals:
    void windowShown(PopupWindow *window);

private:
    void take(const QStringList &ids);
    void showWaiting();
    void popupFinished(PopupWindow *window, bool confirmed);
    void confirm(const QStringList &ids);
    void closePopups();
    void showSelected(const QString &id);
    void readRefusals();
    void applyMutes();

    Spool m_spool;
    ShownState &m_shown;
    Options m_options;
    SpoolWatcher m_watcher;
    MessageList m_messages;
    QSet<QString> m_unreadable;
    QStringList m_waiting; // unread and not put aside, in order of arrival
    QSet<QString> m_aside;
    QList<PopupWindow *> m_open;
    QList<int> m_slots; // cascade place of each open window
    std::unique_ptr<ListWindow> m_list;
    QTimer m_refusalsTimer; // the state file is read at most once a second
    bool m_saveFailed = false;
    UserChoices m_choices;
    DesktopNotifications m_notifications;
    ArrivalSound m_sound;
    QHash<QString, QPointer<ReplyWindow>> m_replies;
};
