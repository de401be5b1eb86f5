// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/nodestatus.h"

#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QtEndian>

namespace
{

constexpr quint16 TypeNodeStatus = 0x21, ClassInternet = 1;
constexpr quint16 FlagResponse = 0x8000;
constexpr quint16 NameGroup = 0x8000, NameDeregistering = 0x1000, NameConflict = 0x0800;
constexpr int NameLength = 16, EntryLength = 18;
constexpr int Tries = 3;

void put16(QByteArray &out, quint16 value)
{
    out.append(char(value >> 8)).append(char(value & 0xff));
}

quint16 get16(const QByteArray &in, qsizetype at)
{
    return qFromBigEndian<quint16>(in.constData() + at);
}

// Past the name that starts at `at`: labels up to an empty one, or a
// pointer to a name told earlier; -1 when the packet ends first.
qsizetype skipName(const QByteArray &in, qsizetype at)
{
    while (at < in.size()) {
        const quint8 length = quint8(in.at(at));
        if (length == 0)
            return at + 1;
        if ((length & 0xc0) == 0xc0)
            return at + 2 <= in.size() ? at + 2 : -1;
        at += 1 + length;
    }
    return -1;
}

} // namespace

namespace NodeStatus
{

QByteArray request(quint16 id)
{
    QByteArray out;
    put16(out, id);
    put16(out, 0); // a query, no recursion: only the computer asked answers
    put16(out, 1); // one question
    out.append(6, '\0');
    // "*" and fifteen NULs, each half-byte written as a letter from 'A'.
    out.append(char(2 * NameLength));
    for (int i = 0; i < NameLength; ++i) {
        const quint8 c = i == 0 ? '*' : 0;
        out.append(char('A' + (c >> 4))).append(char('A' + (c & 0xf)));
    }
    out.append('\0');
    put16(out, TypeNodeStatus);
    put16(out, ClassInternet);
    return out;
}

std::optional<QList<NodeName>> parse(const QByteArray &reply, quint16 id)
{
    if (reply.size() < 12 || get16(reply, 0) != id || !(get16(reply, 2) & FlagResponse) ||
        get16(reply, 6) < 1)
        return std::nullopt;
    const qsizetype at = skipName(reply, 12); // the answer's own name
    if (at < 0 || at + 11 > reply.size() || get16(reply, at) != TypeNodeStatus)
        return std::nullopt;
    const qsizetype data = at + 10, length = get16(reply, at + 8);
    if (data + length > reply.size() || length < 1)
        return std::nullopt;
    const int count = quint8(reply.at(data));
    if (1 + count * EntryLength > length)
        return std::nullopt;
    QList<NodeName> names;
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = data + 1 + i * EntryLength;
        const quint16 flags = get16(reply, entry + NameLength);
        QByteArray name = reply.mid(entry, NameLength - 1);
        while (name.endsWith(' ') || name.endsWith('\0'))
            name.chop(1);
        names.append({name, quint8(reply.at(entry + NameLength - 1)), bool(flags & NameGroup),
                      !(flags & (NameDeregistering | NameConflict))});
    }
    return names;
}

std::optional<QByteArray> workstationName(const QList<NodeName> &names)
{
    for (const NodeName &n : names)
        if (n.suffix == 0 && !n.group && n.usable && !n.name.isEmpty())
            return n.name;
    return std::nullopt;
}

} // namespace NodeStatus

NodeStatusQuery::NodeStatusQuery(const QHostAddress &address, quint16 port, int boundMs,
                                 QObject *parent)
    : NameQuery(parent), m_address(address), m_port(port),
      m_id(quint16(QRandomGenerator::global()->generate()))
{
    m_again.setInterval(boundMs / Tries);
    m_bound.setSingleShot(true);
    m_bound.setInterval(boundMs);
    connect(&m_again, &QTimer::timeout, this, &NodeStatusQuery::ask);
    connect(&m_bound, &QTimer::timeout, this, [this] {
        finish(std::nullopt, m_error.isEmpty() ? QStringLiteral("no answer") : m_error);
    });
    connect(&m_socket, &QUdpSocket::readyRead, this, &NodeStatusQuery::read);
}

void NodeStatusQuery::start()
{
    if (m_socket.bind(QHostAddress::AnyIPv4, 0)) {
        ask();
        m_again.start();
    } else {
        m_error = m_socket.errorString();
        m_bound.setInterval(0); // said from the event loop, as every other end
    }
    m_bound.start();
}

void NodeStatusQuery::ask()
{
    if (m_asked++ >= Tries)
        return m_again.stop();
    if (m_socket.writeDatagram(NodeStatus::request(m_id), m_address, m_port) < 0)
        m_error = m_socket.errorString(); // say, no route: told if nothing answers
}

void NodeStatusQuery::read()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        // Only the computer asked may answer.
        if (datagram.senderAddress().isEqual(m_address, QHostAddress::ConvertV4MappedToIPv4))
            if (const auto names = NodeStatus::parse(datagram.data(), m_id))
                return finish(names, {});
    }
}

void NodeStatusQuery::finish(const std::optional<QList<NodeName>> &names, const QString &why)
{
    if (m_done)
        return;
    m_done = true;
    m_again.stop();
    m_bound.stop();
    m_socket.close();
    if (names)
        emit answered(*names);
    else
        emit failed(why);
}
