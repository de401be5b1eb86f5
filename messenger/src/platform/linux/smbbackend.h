#pragma once

#include "platform/networkprovider.h"

#include <QString>
#include <memory>

struct _SMBCCTX;
class DeadlineWorker;

// Lists the SMB network through libsmbclient: workgroups, their servers and
// the shares of a server (and the folders of a share).
class SmbBackend : public NetworkProvider
{
public:
    // `timeoutMs` bounds every call: a listing or a share test that has no
    // answer by then counts as failed, so a dead network costs seconds.
    explicit SmbBackend(int timeoutMs = 5000);
    ~SmbBackend() override;
    SmbBackend(const SmbBackend &) = delete;
    SmbBackend &operator=(const SmbBackend &) = delete;

    std::optional<QList<NetRecord>> list(const NetRecord *parent) override;
    bool opensAsDirectory(const QString &remoteName) override;

    // Whether a call that overran its timeout is still running; until it
    // returns, every call fails at once.
    bool busy() const;

    // The smb:// address of a remote name: "" → smb://, "RADNAGRUPA" →
    // smb://RADNAGRUPA, "\\PC-01\share" → smb://PC-01/share. Each part is
    // percent-encoded, so a name holding '%', '/' or '?' stays one name.
    static QString urlFor(const QString &remoteName);

    // The record of one directory entry found under `parentRemote`, or
    // std::nullopt for entries the tree does not show (printers, IPC$,
    // plain files, "." and "..").
    static std::optional<NetRecord> recordFor(const QString &parentRemote, unsigned smbcType,
                                              const QString &name, const QString &comment);

private:
    int m_timeoutMs;
    std::shared_ptr<_SMBCCTX *> m_ctx; // set and used on the worker thread only
    std::unique_ptr<DeadlineWorker> m_worker;
};
