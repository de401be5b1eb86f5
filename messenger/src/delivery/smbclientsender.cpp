// SPDX-License-Identifier: GPL-3.0-or-later
#include "delivery/smbclientsender.h"

#include "platform/childruns.h"
#include "platform/utf8.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace
{

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
    const auto reason = [&name](Reason why, const QStringList &fields, const QString &text) {
        return DeliveryReason{why, name, fields, text};
    };
    const QString seconds = QString::number(timeoutMs / 1000.0);
    switch (run.end) {
    case ChildOutcome::End::NotStarted:
        return reason(Reason::Failed, {QStringLiteral("not-started")},
                      QStringLiteral("smbclient could not be started"));
    case ChildOutcome::End::TimedOut:
        return reason(Reason::Timeout, {seconds},
                      QStringLiteral("no answer within %1 s; smbclient was stopped").arg(seconds));
    case ChildOutcome::End::Signalled:
        return reason(Reason::Failed, {QStringLiteral("signal-%1").arg(run.signal)},
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
    // The statuses of no-smb1 tell, after "cli_message returned", that the
    // receiver took the connection and dropped the message; anything else
    // there is its refusal. Before that line, a status's own row decides.
    const std::optional<Reason> named = ReasonRow::byStatus(status);
    if (messageFailed)
        return status.isEmpty() || named == Reason::NoSmb1
                   ? reason(Reason::NoSmb1, {}, text)
                   : reason(Reason::Rejected, {status}, text);
    if (named && named != Reason::NoSmb1)
        return reason(*named, {}, text);
    return reason(Reason::Failed,
                  {status.isEmpty() ? QStringLiteral("exit-%1").arg(run.exitCode) : status}, text);
}
