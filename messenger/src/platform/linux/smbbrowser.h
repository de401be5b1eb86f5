// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/childprocess.h"
#include "platform/linux/listingformat.h"
#include "platform/networkprovider.h"

#include <QString>
#include <chrono>
#include <memory>

// Lists the SMB network (workgroups, their servers, the shares of a server
// and the folders of a share) through short-lived children, one per
// listing: `vesnal-net list URL` (and `vesnal-net probe URL` for a share).
// libsmbclient thus never runs in this process: a call that hangs is ended
// with its child at the deadline, nothing is left running, and the library
// ending its process (it calls exit() when no network interface is up)
// ends only the child. A child that crashes, hangs, exits otherwise or
// prints garbage gives NoAnswer; one that says the address cannot be opened
// gives Refused.
class SmbBrowser : public NetworkProvider
{
public:
    // `program` is vesnal-net (empty: the one beside the running program);
    // each listing gets `deadline`, and listAhead() runs at most `parallel`
    // children at a time.
    explicit SmbBrowser(const QString &program = QString(),
                        std::chrono::milliseconds deadline = std::chrono::seconds(5),
                        int parallel = 8);
    ~SmbBrowser() override;

    NetListing enumerate(const NetRecord *parent) override;
    bool opensAsDirectory(const QString &remoteName) override;
    // The listings start at once and share one deadline, counted from now.
    std::unique_ptr<ListingBatch> listAhead(const QList<const NetRecord *> &parents) override;

    QString program() const { return m_program; }

    // The smb:// address of a remote name: "" → smb://, "RADNAGRUPA" →
    // smb://RADNAGRUPA, "\\PC-01\share" → smb://PC-01/share. Each part is
    // percent-encoded, so a name holding '%', '/' or '?' stays one name.
    static QString urlFor(const QString &remoteName);

    // The record of one entry a child listed under `parentRemote`.
    static NetRecord recordFor(const QString &parentRemote, const ListingFormat::Entry &entry);

    // A child's outcome as a listing of `parentRemote`.
    static NetListing listingFrom(const ChildOutcome &outcome, const QString &parentRemote);

private:
    QString m_program;
    std::chrono::milliseconds m_deadline;
    int m_parallel;
};
