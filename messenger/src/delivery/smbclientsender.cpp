// SPDX-License-Identifier: GPL-3.0-or-later
#include "delivery/smbclientsender.h"

#include "platform/childruns.h"
#include "platform/utf8.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace
{

// smbclient's words for a receiver that took the connection and then
// dropped the message, as a Samba server with SMB1 switched off does.
const QStringList DroppedMessage{
    QStringLiteral("NT_STATUS_CONNECTION_DISCONNECTED"),
    QStringLiteral("NT_STATUS_CONNECTION_RESET"),
    QStringLiteral("NT_STATUS_CONNECTION_ABORTED"),
    QStringLiteral("NT_STATUS_INVALID_NETWORK_RESPONSE"),
    QStringLiteral("NT_STATUS_NOT_SUPPORTED"),
    QStringLiteral("NT_STATUS_END_OF_FILE"),
};
const QStringList NameNotFound{
    QStringLiteral("NT_STATUS_NOT_FOUND"),
    QStringLiteral("NT_STATUS_BAD_NETWORK_NAME"),
    QStringLiteral("NT_STATUS_OBJECT_NAME_NOT_FOUND"),
    QStringLiteral("NT_STATUS_BAD_NETWORK_PATH"),
    QStringLiteral("NT_STATUS_INVALID_COMPUTER_NAME"),
};
const QStringList ConnectionRefused{
    QStringLiteral("NT_STATUS_CONNECTION_REFUSED"),
    QStringLiteral("NT_STATUS_PORT_UNREACHABLE"),
    QStringLiteral("NT_STATUS_ACCESS_DENIED"),
};
const QStringList Unreachable{
    QStringLiteral("NT_STATUS_HOST_UNREACHABLE"),
    QStringLiteral("NT_STATUS_NETWORK_UNREACHABLE"),
};

// The line of `output` that names the failure, else its last line.
QString tellingLine(const QString &output, const QString &status)
{
    QString last;
    for (const QString &raw : output.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if ((!status.isEmpty() && line.contains(status)) ||
            line.contains(QLatin1String("cli_message returned")))
            return line;
        last = line;
    }
    return last;
}

} // namespace

QString SmbclientSender::findProgram()
{
    const QString chosen = qEnvironmentVariable("VESNAL_SMBCLIENT");
    if (!chosen.isEmpty()) {
        if (chosen.contains(QLatin1Char('/'))) {
            const QFileInfo info(chosen);
            return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
        }
        return QStandardPaths::findExecutable(chosen);
    }
    return QStandardPaths::findExecutable(QStringLiteral("smbclient"));
}

QStringList SmbclientSender::arguments(const QString &name) const
{
    // The text itself never appears here: it goes to standard input. The
    // options pin how smbclient reads it (UTF-8) and what it turns it into.
    QStringList args{QStringLiteral("-M"),
                     name,
                     QStringLiteral("-N"),
                     QStringLiteral("-U"),
                     m_sender,
                     QStringLiteral("--option=dos charset=") + m_codePage.name(),
                     QStringLiteral("--option=unix charset=UTF-8")};
    if (!m_address.isEmpty())
        args << QStringLiteral("-I") << m_address;
    return args;
}

QList<std::optional<DeliveryReason>> SmbclientSender::send(const QStringList &names,
                                                           const QString &text) const
{
    QList<QStringList> argumentLists;
    for (const QString &name : names)
        argumentLists.append(arguments(name));
    const QList<ChildOutcome> outcomes =
        runEach(m_program, argumentLists,
                {text.toUtf8(), 64 * 1024, m_limits.parallel, m_limits.timeoutMs});
    QList<std::optional<DeliveryReason>> results;
    for (qsizetype i = 0; i < names.size(); ++i)
        results.append(judge(names[i], outcomes[i], m_limits.timeoutMs));
    return results;
}

std::optional<DeliveryReason> SmbclientSender::judge(const QString &name, const ChildOutcome &run,
                                                     int timeoutMs)
{
    const auto reason = [&name](const QString &word, const QStringList &fields,
                                const QString &text) {
        return DeliveryReason{word, name, fields, text};
    };
    const QString seconds = QString::number(timeoutMs / 1000.0);
    switch (run.end) {
    case ChildOutcome::End::NotStarted:
        return reason(ReasonWord::Failed, {QStringLiteral("not-started")},
                      QStringLiteral("smbclient could not be started"));
    case ChildOutcome::End::TimedOut:
        return reason(ReasonWord::Timeout, {seconds},
                      QStringLiteral("no answer within %1 s; smbclient was stopped").arg(seconds));
    case ChildOutcome::End::Signalled:
        return reason(ReasonWord::Failed, {QStringLiteral("signal-%1").arg(run.signal)},
                      QStringLiteral("smbclient ended by signal %1").arg(run.signal));
    case ChildOutcome::End::Exited:
        break;
    }

    static const QRegularExpression statusPattern(QStringLiteral("NT_STATUS_[A-Z0-9_]+"));
    const QString output = decodeUtf8(run.out + '\n' + run.err);
    QString status;
    for (auto it = statusPattern.globalMatch(output); it.hasNext() && status.isEmpty();) {
        const QString found = it.next().captured();
        if (found != QLatin1String("NT_STATUS_OK"))
            status = found;
    }
    const bool messageFailed = output.contains(QLatin1String("cli_message returned"));
    if (run.exitCode == 0 && status.isEmpty() && !messageFailed)
        return std::nullopt;

    const QString line = tellingLine(output, status);
    const QString text = (line.isEmpty() ? QString() : line + QLatin1Char(' ')) +
                         QStringLiteral("(smbclient exit status %1)").arg(run.exitCode);
    if (messageFailed && (status.isEmpty() || DroppedMessage.contains(status)))
        return reason(ReasonWord::NoSmb1, {}, text);
    if (messageFailed)
        return reason(ReasonWord::Rejected, {status}, text);
    if (NameNotFound.contains(status))
        return reason(ReasonWord::NotFound, {}, text);
    if (ConnectionRefused.contains(status))
        return reason(ReasonWord::Refused, {}, text);
    if (Unreachable.contains(status))
        return reason(ReasonWord::Unreachable, {}, text);
    if (status == QLatin1String("NT_STATUS_IO_TIMEOUT"))
        return reason(ReasonWord::Timeout, {}, text);
    return reason(ReasonWord::Failed,
                  {status.isEmpty() ? QStringLiteral("exit-%1").arg(run.exitCode) : status}, text);
}
