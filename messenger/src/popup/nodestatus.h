// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>
#include <optional>

// The names a computer holds, as it tells them to a NetBIOS node status
// query (RFC 1002, 4.2.17/4.2.18): one UDP packet to its port 137, one
// answer. It asks the computer at an address what it is called, with no
// name service, cache or broadcast in between.
struct NodeName {
    QByteArray name; // in the computer's code page, without the padding blanks
    quint8 suffix = 0;
    bool group = false;
    bool usable = true; // neither in conflict nor being given up
};

namespace NodeStatus
{

// The query with transaction id `id`.
QByteArray request(quint16 id);
// The names in the answer `reply` to the query `id`; nothing when it is no
// such answer (another id, a query, cut short).
std::optional<QList<NodeName>> parse(const QByteArray &reply, quint16 id);
// The computer's own name: its first usable unique name with suffix 0x00,
// the workstation service's (a group name is the workgroup's).
std::optional<QByteArray> workstationName(const QList<NodeName> &names);

} // namespace NodeStatus

// Asks a computer for the names it holds; says answered() or failed()
// once, from the event loop.
class NameQuery : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start() = 0;

signals:
    void answered(const QList<NodeName> &names);
    void failed(const QString &why);
};

// One node status query to an IPv4 address, asked three times within its
// bound; says its end never later than the bound.
class NodeStatusQuery : public NameQuery
{
    Q_OBJECT
public:
    NodeStatusQuery(const QHostAddress &address, quint16 port, int boundMs,
                    QObject *parent = nullptr);
    void start() override;

private:
    void ask();
    void read();
    void finish(const std::optional<QList<NodeName>> &names, const QString &why);

    QHostAddress m_address;
    quint16 m_port;
    quint16 m_id;
    int m_asked = 0;
    bool m_done = false;
    QString m_error;
    QUdpSocket m_socket;
    QTimer m_again;
    QTimer m_bound;
};
