#include "delivery/smbclientsender.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

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
    return {QStringLiteral("-M"),
            name,
            QStringLiteral("-N"),
            QStringLiteral("-U"),
            m_sender,
            QStringLiteral("--option=dos charset=") + m_codePage.name(),
            QStringLiteral("--option=unix charset=UTF-8")};
}

SmbclientSender::Outcome SmbclientSender::send(const QString &name, const QString &text) const
{
    QProcess smbclient;
    smbclient.setProcessChannelMode(QProcess::MergedChannels);
    smbclient.start(m_program, arguments(name));
    if (!smbclient.waitForStarted(10000))
        return {false,
                QStringLiteral("smbclient could not be started (%1)").arg(smbclient.errorString())};
    smbclient.write(text.toUtf8());
    smbclient.closeWriteChannel();
    if (!smbclient.waitForFinished(m_timeoutMs)) {
        smbclient.kill();
        smbclient.waitForFinished(5000);
        return {false, QStringLiteral("no answer within %1 s; smbclient was stopped")
                           .arg(m_timeoutMs / 1000.0)};
    }
    if (smbclient.exitStatus() == QProcess::CrashExit)
        return {false, QStringLiteral("smbclient ended abnormally")};
    if (smbclient.exitCode() == 0)
        return {true, QString()};

    QString lastLine;
    const QStringList lines = QString::fromUtf8(smbclient.readAll()).split(QLatin1Char('\n'));
    for (auto it = lines.crbegin(); it != lines.crend() && lastLine.isEmpty(); ++it)
        lastLine = it->trimmed();
    const QString status = QStringLiteral("smbclient exit status %1").arg(smbclient.exitCode());
    return {false, lastLine.isEmpty()
                       ? status
                       : lastLine + QStringLiteral(" (") + status + QLatin1Char(')')};
}
