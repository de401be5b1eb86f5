// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/spoolstate.h"

#include "platform/openfolder.h"
#include "platform/utf8.h"
#include "receiver/spoolrecord.h"

namespace
{

const QByteArray Magic = "Vesnal-State: 1";
const char *const TempName = ".state.tmp";
constexpr qint64 MostFileBytes = 256 * 1024;
const char *const ReasonWords[] = {"rate", "full", "size"};

QByteArray time(const QDateTime &t)
{
    return t.toUTC().toString(Qt::ISODateWithMs).toLatin1();
}

QDateTime timeFrom(const QByteArray &text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODateWithMs).toUTC();
}

} // namespace

void SpoolState::refuse(Refusal::Reason reason, const QString &sender, const QString &address,
                        const QDateTime &now)
{
    // A name or an address a header would not hold is never written either
    // (a tab or a line break would forge another field or line).
    const QString name = SpoolRecord::headerText(sender);
    const QString from = SpoolRecord::headerText(address);
    Refusal *entry = nullptr;
    for (Refusal &r : refusals)
        if (r.reason == reason && r.sender == name && r.address == from)
            entry = &r;
    if (!entry && refusals.size() >= MostRefusals) {
        for (Refusal &r : refusals)
            if (r.reason == reason && r.sender == QLatin1String("*"))
                entry = &r;
        if (!entry)
            entry = &refusals.emplaceBack(
                Refusal{reason, QStringLiteral("*"), {}, 0, now.toUTC(), now.toUTC()});
    }
    if (!entry)
        entry = &refusals.emplaceBack(Refusal{reason, name, from, 0, now.toUTC(), now.toUTC()});
    entry->count += 1;
    entry->last = now.toUTC();
}

void SpoolState::forgetBefore(const QDateTime &limit)
{
    refusals.removeIf([&](const Refusal &r) { return r.last < limit; });
}

QByteArray SpoolState::serialize(const QDateTime &now) const
{
    QByteArray out = Magic + '\n';
    if (pruned.isValid())
        out += "Pruned: " + time(pruned) + '\n';
    out += "Records: " + QByteArray::number(records) + '\n';
    out += "Bytes: " + QByteArray::number(bytes) + '\n';
    for (const auto &[key, b] : buckets.kept(now.toMSecsSinceEpoch(), MostBuckets))
        out += "Bucket: " + QByteArray::number(b.atMs) + '\t' + QByteArray::number(b.level) + '\t' +
               QByteArray::number(b.rate.count) + '\t' + QByteArray::number(b.rate.seconds) + '\t' +
               key.toUtf8() + '\n';
    for (const Refusal &r : refusals)
        out += QByteArray("Refused: ") + ReasonWords[r.reason] + '\t' +
               QByteArray::number(r.count) + '\t' + time(r.first) + '\t' + time(r.last) + '\t' +
               r.sender.toUtf8() + '\t' + r.address.toUtf8() + '\n';
    return out;
}

SpoolState SpoolState::parse(const QByteArray &bytes)
{
    SpoolState state;
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.first() != Magic)
        return state;
    for (const QByteArray &line : lines.mid(1)) {
        if (line.isEmpty())
            continue;
        const qsizetype colon = line.indexOf(": ");
        const QByteArray key = line.left(colon), value = line.mid(colon + 2);
        const QList<QByteArray> f = value.split('\t');
        bool ok = colon > 0;
        if (key == "Pruned") {
            state.pruned = timeFrom(value);
        } else if (key == "Records") {
            state.records = value.toLongLong(&ok);
        } else if (key == "Bytes") {
            state.bytes = value.toLongLong(&ok);
        } else if (key == "Bucket" && f.size() == 5) {
            RateBuckets::Bucket b{
                f[1].toDouble(&ok), f[0].toLongLong(), {f[2].toInt(), f[3].toInt()}};
            if (ok && b.rate.count > 0 && b.rate.seconds > 0)
                state.buckets.set(decodeUtf8(f[4]), b);
        } else if (key == "Refused" && f.size() == 6) {
            const int reason = f[0] == "size"   ? Refusal::TooLarge
                               : f[0] == "full" ? Refusal::SpoolFull
                                                : Refusal::TooFast;
            Refusal r{Refusal::Reason(reason), decodeUtf8(f[4]), decodeUtf8(f[5]),
                      f[1].toLongLong(&ok),    timeFrom(f[2]),   timeFrom(f[3])};
            if (ok && r.first.isValid() && r.last.isValid())
                state.refusals.append(r);
        }
        if (!ok) // a counter that is not a number: count the spool again
            state.pruned = QDateTime();
    }
    return state;
}

SpoolState SpoolState::load(const OpenFolder &spool)
{
    return parse(spool.read(FileName, MostFileBytes).bytes);
}

bool SpoolState::save(const OpenFolder &spool, const QDateTime &now, QString *why) const
{
    // The temporary name is this run's alone while it holds the lock.
    // Readable by everyone: the agents of all users show the refusals.
    QString problem;
    spool.remove(TempName);
    const bool ok = spool.writeNew(TempName, serialize(now), OpenFolder::FolderOwners, &problem) ==
                        OpenFolder::Made::Done &&
                    spool.rename(TempName, FileName, &problem);
    if (!ok) {
        *why = QStringLiteral("cannot write the spool's state file: %1").arg(problem);
        spool.remove(TempName);
    }
    return ok;
}

std::optional<SpoolState> SpoolState::read(const QString &spoolPath, QString *why)
{
    const FileContents file =
        readRegularFile(spoolPath + u'/' + QLatin1String(FileName), MostFileBytes, Links::Refuse);
    if (file.problem == FileContents::Problem::CannotOpen) {
        *why = file.why;
        return std::nullopt;
    }
    return parse(file.bytes);
}
