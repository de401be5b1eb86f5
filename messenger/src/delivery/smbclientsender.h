#pragma once

#include "net/codepage.h"

#include <QString>
#include <QStringList>

// Hands one message to one computer by running smbclient -M with the text
// on its standard input (program and argument list; no shell is involved).
class SmbclientSender
{
public:
    struct Outcome {
        bool delivered = false;
        QString reason; // why not, when not delivered
    };

    SmbclientSender(const QString &program, const CodePage &codePage, const QString &sender,
                    int timeoutMs)
        : m_program(program), m_codePage(codePage), m_sender(sender), m_timeoutMs(timeoutMs)
    {
    }

    // $VESNAL_SMBCLIENT when set, else smbclient from PATH; empty when neither
    // names an executable.
    static QString findProgram();

    // smbclient's arguments for a message to `name` (a checked NetBIOS name).
    QStringList arguments(const QString &name) const;

    // Runs smbclient for `name`; `text` must already have passed the checks
    // of MessageText. Waits at most the timeout, then stops smbclient.
    Outcome send(const QString &name, const QString &text) const;

private:
    QString m_program;
    CodePage m_codePage;
    QString m_sender;
    int m_timeoutMs;
};
