// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/codepage.h"
#include "platform/deliveryreason.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct ChildOutcome;

// Hands one message to computers by running smbclient -M once per computer
// with the text on its standard input (program and argument list; no shell
// is involved), several at a time.
class SmbclientSender
{
public:
    struct Limits {
        int timeoutMs = 30000; // each smbclient is stopped after this
        int parallel = 8;      // smbclient runs at most this many at a time
    };

    SmbclientSender(const QString &program, const CodePage &codePage, const QString &sender,
                    Limits limits)
        : m_program(program), m_codePage(codePage), m_sender(sender), m_limits(limits)
    {
    }

    // $VESNAL_SMBCLIENT when set, else smbclient from PATH; empty when neither
    // names an executable.
    static QString findProgram();

    // Reaches the computers at `address` (checked) instead of looking their
    // names up.
    void setAddress(const QString &address) { m_address = address; }

    // smbclient's arguments for a message to `name` (a checked NetBIOS name).
    QStringList arguments(const QString &name) const;

    // Sends `text` to each of `names`; `text` must already have passed the
    // checks of MessageText. Per name, in the same order: std::nullopt when
    // it was delivered, else why not.
    QList<std::optional<DeliveryReason>> send(const QStringList &names, const QString &text) const;

    // What one smbclient run for `name` tells: delivered only when it exited
    // by itself with status 0 and printed no NT_STATUS_ error and no
    // "cli_message returned" line (smbclient prints that line and still exits
    // 0 when the receiver dropped the message).
    static std::optional<DeliveryReason> judge(const QString &name, const ChildOutcome &run,
                                               int timeoutMs);

private:
    QString m_program;
    CodePage m_codePage;
    QString m_sender;
    Limits m_limits;
    QString m_address;
};
