// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/codepage.h"
#include "receiver/spoolrecord.h"

#include <QHostAddress>
#include <QObject>
#include <functional>
#include <memory>

class ProcessLauncher;
class NameQuery;
struct NodeName;
struct TaskOutcome;

// Sends a reply to the computer a message came from. Samba shows the
// sender's name with every character outside A-Z, a-z, 0-9 and "_" made
// "_" (PC-02 as "PC_02"), and that name may not be found in the network;
// the record's address (Samba's %I) is what identifies the computer. So it
// asks the computer at that address for its name (a NetBIOS node status
// query, bounded), and vesnal-net sends to that name at that address only
// (--address), so that the name cannot lead anywhere else. No address (a
// record of an older version), or no name from there: nothing is sent, and
// the status says why before the user sends. The outcome is told in the
// words of the messenger's report.
class ReplySender : public QObject
{
    Q_OBJECT
public:
    struct Options {
        QString helperDir;       // vesnal-net's folder; empty: this program's
        quint16 port = 137;      // where the node status query goes
        int resolveMs = 2000;    // the query's bound
        int sendBoundMs = 90000; // vesnal-net's (it stops smbclient after 30 s)
        // Makes the query for an address's names; none: a NodeStatusQuery.
        std::function<NameQuery *(const QHostAddress &)> query = {};
    };
    enum class State { Resolving, Ready, Refused, Sending, Sent };

    ReplySender(const SpoolRecord &record, const Options &options, QObject *parent = nullptr);
    ~ReplySender() override;

    State state() const { return m_state; }
    // What the user is told: where the reply goes, or why it cannot go, or
    // how the sending ended.
    const QString &status() const { return m_status; }
    // The computer's own name, once known.
    const QString &name() const { return m_name; }

    // Sends `text` when Ready; false when it cannot go as it is (the status
    // says why, in the messenger's words).
    bool send(const QString &text);

    // Whether `shown` is `name` as Samba shows a sender (case aside).
    static bool shownAs(const QString &shown, const QString &name);

signals:
    void changed();

private:
    void set(State state, const QString &status);
    void resolved(const QList<NodeName> &names);
    void ended(const TaskOutcome &outcome);
    QString where() const;

    SpoolRecord m_record;
    Options m_options;
    QHostAddress m_address;
    State m_state = State::Resolving;
    QString m_status;
    QString m_name;
    QString m_warning; // the sender called itself other than the computer is called
    std::optional<CodePage> m_page; // the reply's, known once Ready
    std::unique_ptr<ProcessLauncher> m_launcher;
    qint64 m_task = 0;
};
