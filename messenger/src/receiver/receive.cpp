// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/receive.h"
#include "platform/openfolder.h"
#include "platform/utf8.h"

#include "receiver/receivearguments.h"
#include "receiver/spool.h"
#include "receiver/spoollock.h"
#include "receiver/spoolstate.h"

#include <QFile>
#include <QTextStream>

#include <optional>

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

// The message file's bytes, at most MaxMessageBytes of them; nothing (and
// *why) when it cannot be read, or (with *tooLarge) when it is larger. Only
// a regular file is read (a FIFO there would block the run for ever).
std::optional<QByteArray> readMessage(const QString &path, QString *why, bool *tooLarge)
{
    FileContents file = readRegularFile(path, MaxMessageBytes, Links::Follow);
    switch (file.problem) {
    case FileContents::Problem::None:
        return std::move(file.bytes);
    case FileContents::Problem::TooLarge:
        *tooLarge = true;
        break;
    case FileContents::Problem::NotRegular:
        *why = QStringLiteral("not a regular file");
        break;
    case FileContents::Problem::CannotOpen:
    case FileContents::Problem::CannotRead:
        *why = file.why;
        break;
    }
    return std::nullopt;
}

// Why a message was refused, as the line on stderr says it.
QString reasonText(Refusal::Reason reason)
{
    switch (reason) {
    case Refusal::TooFast:
        return QStringLiteral("too many messages in a short time");
    case Refusal::SpoolFull:
        return QStringLiteral("the spool is full");
    case Refusal::TooLarge:
        return QStringLiteral("larger than %1 bytes").arg(MaxMessageBytes);
    }
    return {};
}

} // namespace

int run(const QStringList &arguments, const QString &spoolPath, const QDateTime &now,
        QTextStream &err)
{
    QString why;
    const auto args = ReceiveArguments::parse(arguments, &why);
    if (!args) {
        err << why << Qt::endl;
        return Usage;
    }
    bool tooLarge = false;
    const auto bytes = readMessage(args->messageFile, &why, &tooLarge);
    if (!bytes && !tooLarge)
        return fail(err, QStringLiteral("cannot take the message file %1: %2; nothing was stored")
                             .arg(args->messageFile, why));
    SpoolRecord record;
    // The local time with its offset, so the record tells when it came
    // however the zone changes later.
    record.received = now.toOffsetFromUtc(now.offsetFromUtc());
    record.sender = args->sender;
    record.destination = args->destination;
    record.address = args->address;                         // where a reply goes
    record.text = decodeUtf8(bytes.value_or(QByteArray())); // invalid sequences: U+FFFD
    const QByteArray recordBytes = record.serialize();

    const Spool spool(spoolPath);
    const OpenFolder folder(spoolPath);
    if (!folder.isOpen())
        return fail(err, QStringLiteral("spool folder %1 cannot be opened: %2; nothing was stored")
                             .arg(spoolPath, folder.error()));
    std::optional<Refusal::Reason> refusal;
    QStringList problems;
    {
        const SpoolLock lock(folder, LockWaitMs);
        if (!lock.held())
            return fail(err, lock.error() + QStringLiteral("; nothing was stored"));
        SpoolState state = SpoolState::load(folder);
        if (!state.pruned.isValid() || state.pruned > now ||
            state.pruned.secsTo(now) >= PruneEverySecs) {
            const Spool::Pruned pruned = spool.prune(now);
            problems = pruned.problems;
            state.records = pruned.records;
            state.bytes = pruned.bytes;
            state.pruned = now;
            state.forgetBefore(now.addDays(-Spool::KeepDays));
        }
        // A sender is known by its name and, when Samba passes it, its
        // address: a flood under changing names from one computer is held
        // back as one.
        QStringList sender{QStringLiteral("n:") + SpoolRecord::headerText(args->sender)};
        if (!args->address.isEmpty())
            sender.append(QStringLiteral("a:") + SpoolRecord::headerText(args->address));
        const qint64 ms = now.toMSecsSinceEpoch();
        const SpoolLimits &limits = args->limits;
        if (!state.buckets.admit(sender, limits.sender, ms, true))
            refusal = Refusal::TooFast;
        else if (tooLarge)
            refusal = Refusal::TooLarge;
        else if (state.records >= limits.maxRecords ||
                 state.bytes + recordBytes.size() > limits.maxBytes)
            refusal = Refusal::SpoolFull;
        // Only messages let in count against everyone's rate, so that one
        // sender's flood does not shut the others out.
        else if (!state.buckets.admit({QStringLiteral("*")}, limits.total, ms, false))
            refusal = Refusal::TooFast;

        if (refusal) {
            state.refuse(*refusal, args->sender, args->address, now);
        } else if (const auto id = spool.store(folder, recordBytes, now, &why)) {
            state.records += 1;
            state.bytes += recordBytes.size();
        } else {
            QString ignored; // the store's reason is the one to tell
            state.save(folder, now, &ignored);
            return fail(err, why + QStringLiteral("; nothing was stored"));
        }
        if (!state.save(folder, now, &why))
            problems.append(why);
    }
    for (const QString &problem : problems)
        err << Prefix << problem << Qt::endl;
    // A refused message goes too: nobody would ever take it from there.
    if (QFile message(args->messageFile); !message.remove())
        return fail(err, QStringLiteral("the message file %1 could not be removed: %2")
                             .arg(args->messageFile, message.errorString()));
    if (!refusal)
        return Stored;
    err << Prefix
        << QStringLiteral("refused the message of %1%2 to %3: %4")
               .arg(args->sender,
                    args->address.isEmpty() ? QString()
                                            : QStringLiteral(" (%1)").arg(args->address),
                    args->destination, reasonText(*refusal))
        << Qt::endl;
    return Refused;
}

} // namespace Receive
