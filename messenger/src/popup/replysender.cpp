// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/replysender.h"

#include "net/deliveryreport.h"
#include "net/messagetext.h"
#include "net/netbiosname.h"
#include "platform/systemplatform.h"
#include "popup/nodestatus.h"

#include <QRegularExpression>

namespace
{

// A name as Samba hands a sender to the message command, made comparable:
// every character outside A-Z, a-z and 0-9 (a byte of a letter outside
// ASCII too, hence runs of them) becomes one "_".
QString sambaForm(const QString &name)
{
    static const QRegularExpression other(QStringLiteral("[^A-Za-z0-9]+"));
    return QString(name).replace(other, QStringLiteral("_")).toUpper();
}

} // namespace

bool ReplySender::shownAs(const QString &shown, const QString &name)
{
    return sambaForm(shown) == sambaForm(name);
}

ReplySender::ReplySender(const SpoolRecord &record, const Options &options, QObject *parent)
    : QObject(parent), m_record(record), m_options(options)
{
    if (record.address.isEmpty()) {
        set(State::Refused,
            QStringLiteral("Ne zna se sa kog računara je ova poruka stigla (primljena je pre nego "
                           "što je Vesnal počeo da beleži adresu pošiljaoca), pa odgovor ne može "
                           "da se pošalje."));
        return;
    }
    bool v4 = false;
    m_address = QHostAddress(QHostAddress(record.address).toIPv4Address(&v4));
    if (!v4) {
        set(State::Refused, QStringLiteral("Adresa pošiljaoca \"%1\" nije IPv4 adresa, pa ime "
                                           "njegovog računara ne može da se sazna; odgovor ne "
                                           "može da se pošalje.")
                                .arg(record.address));
        return;
    }
    set(State::Resolving,
        QStringLiteral("Traži se ime računara na adresi %1…").arg(m_address.toString()));
    NameQuery *query = options.query
                           ? options.query(m_address)
                           : new NodeStatusQuery(m_address, options.port, options.resolveMs);
    query->setParent(this);
    connect(query, &NameQuery::answered, this, &ReplySender::resolved);
    connect(query, &NameQuery::failed, this, [this](const QString &why) {
        set(State::Refused,
            QStringLiteral("Računar na adresi %1 se ne javlja svojim imenom (%2), pa se ne zna "
                           "kome bi odgovor otišao; ništa nije poslato.")
                .arg(m_address.toString(), why));
    });
    query->start();
}

ReplySender::~ReplySender() = default;

void ReplySender::set(State state, const QString &status)
{
    m_state = state;
    m_status = status;
    emit changed();
}

QString ReplySender::where() const
{
    return QStringLiteral("%1 (%2)").arg(m_name, m_address.toString());
}

void ReplySender::resolved(const QList<NodeName> &names)
{
    const auto page = CodePage::byName(CodePage::messageCodePageName());
    const auto bytes = NodeStatus::workstationName(names);
    const auto name = bytes && page ? page->decode(*bytes) : std::nullopt;
    if (!name) {
        set(State::Refused, QStringLiteral("Računar na adresi %1 nije rekao ime svoje radne "
                                           "stanice; ništa nije poslato.")
                                .arg(m_address.toString()));
        return;
    }
    // The name goes first on vesnal-net's command line: one that breaks the
    // rules (a blank in it would make the rest of it text) is not sent to.
    QString why;
    const auto checked = NetbiosName::normalized(*name, *page, &why);
    if (!checked) {
        set(State::Refused, QStringLiteral("Računar na adresi %1 se zove \"%2\", a to ime ne "
                                           "može da se koristi (%3); ništa nije poslato.")
                                .arg(m_address.toString(), *name, why));
        return;
    }
    m_name = *checked;
    m_page = page;
    // A name a sender gives itself is its own choice (a script may send
    // as "ALARM"); what counts is the computer the message came from. The
    // user is told when the two differ.
    if (!shownAs(m_record.sender, m_name))
        m_warning = QStringLiteral("\nPoruka je stigla pod imenom %1, a računar na toj adresi "
                                   "se zove %2.")
                        .arg(m_record.sender.toUpper(), m_name);
    set(State::Ready, QStringLiteral("Odgovor ide računaru %1.").arg(where()) + m_warning);
}

bool ReplySender::send(const QString &text)
{
    if (m_state != State::Ready)
        return false;
    if (const auto problem = MessageText::problem(text, *m_page)) {
        set(State::Ready, QStringLiteral("Odgovor nije poslat: ") +
                              DeliveryReport::line(m_name, *problem) + m_warning);
        return false;
    }
    if (!m_launcher) {
        m_launcher = SystemPlatform::deliveryLauncher(m_options.helperDir, m_options.sendBoundMs);
        m_launcher->setOutcomeHandler(this, [this](const TaskOutcome &o) { ended(o); });
    }
    m_task = m_launcher->startAt(m_address.toString(),
                                 QStringLiteral("net send ") + m_name + u' ' + text);
    if (m_task == 0) {
        set(State::Ready, DeliveryReport::notStarted(where()) + m_warning);
        return false;
    }
    set(State::Sending, QStringLiteral("Odgovor se šalje računaru %1…").arg(where()));
    return true;
}

void ReplySender::ended(const TaskOutcome &outcome)
{
    if (outcome.task != m_task)
        return;
    const QStringList lines = DeliveryReport::lines(where(), false, outcome);
    if (lines.isEmpty())
        set(State::Sent, QStringLiteral("Odgovor je isporučen računaru %1.").arg(where()));
    else
        set(State::Ready, QStringLiteral("Odgovor nije isporučen:\n") + lines.join(u'\n'));
}
