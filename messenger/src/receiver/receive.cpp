// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/receive.h"
#include "platform/utf8.h"

#include "receiver/spool.h"

#include <QFile>
#include <QTextStream>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace Receive
{

namespace
{

const QString Prefix = QStringLiteral("vesnal-receive: ");

int fail(QTextStream &err, const QString &why)
{
    err << Prefix << why << Qt::endl;
    return Failed;
}

// The message file's bytes, at most MaxMessageBytes of them. Only a regular
// file is read (a FIFO there would block the run for ever).
std::optional<QByteArray> readMessage(const QString &path, QString *why)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    QFile file;
    struct stat st;
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        *why = QStringLiteral("not a regular file");
    else if (!file.open(fd, QIODevice::ReadOnly))
        *why = file.errorString();
    else if (bytes = file.read(MaxMessageBytes + 1); bytes->size() > MaxMessageBytes)
        *why = QStringLiteral("larger than %1 bytes").arg(MaxMessageBytes), bytes.reset();
    else if (file.error() != QFileDevice::NoError)
        *why = file.errorString(), bytes.reset();
    file.close();
    ::close(fd);
    return bytes;
}

} // namespace

int run(const QStringList &arguments, const QString &spoolPath, const QDateTime &now,
        QTextStream &err)
{
    // Samba 4.17 quotes every word of the message command, so the "&" that
    // is meant to put it in the background arrives as a last argument.
    const bool background = arguments.size() == 4 && arguments.at(3) == QLatin1String("&");
    if ((arguments.size() != 3 && !background) || arguments.at(0).isEmpty()) {
        err << "usage: vesnal-receive MESSAGE-FILE SENDER DESTINATION" << Qt::endl;
        return Usage;
    }
    const QString &messageFile = arguments.at(0);
    QString why;
    const auto bytes = readMessage(messageFile, &why);
    if (!bytes)
        return fail(err, QStringLiteral("cannot take the message file %1: %2; nothing was stored")
                             .arg(messageFile, why));

    SpoolRecord record;
    // The local time with its offset, so the record tells when it came
    // however the zone changes later.
    record.received = now.toOffsetFromUtc(now.offsetFromUtc());
    record.sender = arguments.at(1);
    record.destination = arguments.at(2);
    record.text = decodeUtf8(*bytes); // invalid sequences become U+FFFD
    const Spool spool(spoolPath);
    const auto id = spool.store(record, now, &why);
    if (!id)
        return fail(err, why + QStringLiteral("; nothing was stored"));
    if (::unlink(QFile::encodeName(messageFile).constData()) != 0)
        return fail(err, QStringLiteral("stored as %1, but the message file %2 could not be "
                                        "removed: %3")
                             .arg(*id, messageFile, QString::fromLocal8Bit(std::strerror(errno))));
    // Housekeeping: the message itself is stored whatever comes of it.
    for (const QString &problem : spool.prune(now))
        err << Prefix << problem << Qt::endl;
    return Stored;
}

} // namespace Receive
