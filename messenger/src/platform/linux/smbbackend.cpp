#include "platform/linux/smbbackend.h"

#include "platform/linux/deadlineworker.h"

#include <QStringList>
#include <QUrl>

#include <csignal>
#include <libsmbclient.h>
#include <mutex>
#include <pthread.h>

namespace
{

// Browsing as a guest: no user, no password, the workgroup as configured.
void guestCredentials(SMBCCTX *, const char *, const char *, char *, int, char *user, int userLen,
                      char *password, int passwordLen)
{
    if (userLen > 0)
        user[0] = '\0';
    if (passwordLen > 0)
        password[0] = '\0';
}

void quiet(void *, int, const char *) {}

// libsmbclient keeps process-wide state (its configuration, memory
// stacks), and Debian's build exports no thread set-up: the workers of
// all back ends take turns.
std::mutex libraryMutex;

SMBCCTX *newContext(int timeoutMs)
{
    // Runs on the worker thread, which then keeps this mask: a write to a
    // connection the server has reset must fail with EPIPE there instead of
    // ending the whole program with SIGPIPE.
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &blocked, nullptr);

    const std::lock_guard lock(libraryMutex);
    SMBCCTX *ctx = smbc_new_context();
    if (!ctx)
        return nullptr;
    smbc_setDebug(ctx, 0);
    smbc_setLogCallback(ctx, nullptr, quiet);
    // Bounds each wait for an answer on a connection. Connecting itself has
    // fixed waits inside the library (5 s for TCP, 20 s for a NetBIOS
    // session), which is why every call also runs against a deadline.
    smbc_setTimeout(ctx, timeoutMs);
    smbc_setFunctionAuthDataWithContext(ctx, guestCredentials);
    smbc_setOptionUseKerberos(ctx, false);
    smbc_setOptionFallbackAfterKerberos(ctx, true);
    smbc_setOptionNoAutoAnonymousLogin(ctx, false);
    // Workgroup and server lists are browse lists, and those exist only
    // over SMB1 (NT1): SMB2 and later have no way to ask a master browser.
    // Hence the protocol is pinned to NT1 on this context; on a network
    // where SMB1 is switched off the listing simply finds nothing.
    smbc_setOptionProtocols(ctx, "NT1", "NT1");
    if (!smbc_init_context(ctx)) {
        smbc_free_context(ctx, 1);
        return nullptr;
    }
    return ctx;
}

std::optional<QList<NetRecord>> listUrl(SMBCCTX *ctx, const QByteArray &url,
                                        const QString &parentRemote)
{
    const std::lock_guard lock(libraryMutex);
    SMBCFILE *dir = smbc_getFunctionOpendir(ctx)(ctx, url.constData());
    if (!dir)
        return std::nullopt;
    QList<NetRecord> children;
    auto readdir = smbc_getFunctionReaddir(ctx);
    // Bounded: a directory of a share can be huge, the tree needs no more.
    for (int n = 0; n < 100000; ++n) {
        const smbc_dirent *entry = readdir(ctx, dir);
        if (!entry)
            break;
        const QString comment =
            entry->comment ? QString::fromUtf8(entry->comment, qstrlen(entry->comment)) : QString();
        // `name` is declared as a one-byte array; it runs to its NUL.
        const char *name = entry->name;
        const auto record = SmbBackend::recordFor(parentRemote, entry->smbc_type,
                                                  QString::fromUtf8(name, qstrlen(name)), comment);
        if (record)
            children.append(*record);
    }
    smbc_getFunctionClosedir(ctx)(ctx, dir);
    return children;
}

bool opensUrl(SMBCCTX *ctx, const QByteArray &url)
{
    const std::lock_guard lock(libraryMutex);
    SMBCFILE *dir = smbc_getFunctionOpendir(ctx)(ctx, url.constData());
    if (!dir)
        return false;
    smbc_getFunctionClosedir(ctx)(ctx, dir);
    return true;
}

} // namespace

SmbBackend::SmbBackend(int timeoutMs)
    : m_timeoutMs(timeoutMs), m_ctx(std::make_shared<SMBCCTX *>(nullptr))
{
    m_worker = std::make_unique<DeadlineWorker>([ctx = m_ctx] {
        if (*ctx) {
            const std::lock_guard lock(libraryMutex);
            smbc_free_context(*ctx, 1);
        }
    });
    // The context lives on the worker thread and is only ever touched
    // there. Should setting it up overrun (a hanging file system), calls
    // fail until it is done.
    m_worker->run([ctx = m_ctx, timeoutMs] { *ctx = newContext(timeoutMs); },
                  std::chrono::milliseconds(timeoutMs));
}

SmbBackend::~SmbBackend() = default;

QString SmbBackend::urlFor(const QString &remoteName)
{
    QString path = remoteName;
    while (path.startsWith(QLatin1Char('\\')))
        path.remove(0, 1);
    QStringList parts;
    for (const QString &part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        parts.append(QString::fromLatin1(QUrl::toPercentEncoding(part)));
    return QStringLiteral("smb://") + parts.join(QLatin1Char('/'));
}

std::optional<NetRecord> SmbBackend::recordFor(const QString &parentRemote, unsigned smbcType,
                                               const QString &name, const QString &comment)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return std::nullopt;
    NetRecord r;
    r.scope = NetScope::GlobalNet;
    r.type = NetType::Any;
    r.usage = NetUsage::Container;
    r.comment = comment;
    switch (smbcType) {
    case SMBC_WORKGROUP:
        r.displayType = NetDisplay::Domain;
        r.remoteName = name;
        break;
    case SMBC_SERVER:
        r.displayType = NetDisplay::Server;
        r.remoteName = QStringLiteral("\\\\") + name;
        break;
    case SMBC_FILE_SHARE:
        r.displayType =
            name.endsWith(QLatin1Char('$')) ? NetDisplay::ShareAdmin : NetDisplay::Share;
        r.type = NetType::Disk;
        r.usage = NetUsage::Connectable;
        r.remoteName = parentRemote + QLatin1Char('\\') + name;
        break;
    case SMBC_DIR:
        r.displayType = NetDisplay::Directory;
        r.type = NetType::Disk;
        r.usage = NetUsage::Connectable | NetUsage::Container;
        r.remoteName = parentRemote + QLatin1Char('\\') + name;
        break;
    default: // printers, IPC$, communication shares, files, links
        return std::nullopt;
    }
    return r;
}

std::optional<QList<NetRecord>> SmbBackend::list(const NetRecord *parent)
{
    const QString parentRemote = parent ? parent->remoteName : QString();
    // The top is "smb://"; workgroups, servers and shares follow the same
    // address scheme, so one opendir serves every level.
    const QByteArray url = urlFor(parentRemote).toUtf8();
    auto out = std::make_shared<std::optional<QList<NetRecord>>>();
    const auto job = [ctx = m_ctx, url, parentRemote, out] {
        if (*ctx)
            *out = listUrl(*ctx, url, parentRemote);
    };
    if (!m_worker->run(job, std::chrono::milliseconds(m_timeoutMs)))
        return std::nullopt;
    return *out;
}

bool SmbBackend::opensAsDirectory(const QString &remoteName)
{
    // Only a path with a server and a share in it; "smb://" or a server
    // alone would "open" as the browse list.
    if (remoteName.split(QLatin1Char('\\'), Qt::SkipEmptyParts).size() < 2)
        return false;
    const QByteArray url = urlFor(remoteName).toUtf8();
    auto out = std::make_shared<bool>(false);
    const auto job = [ctx = m_ctx, url, out] { *out = *ctx && opensUrl(*ctx, url); };
    return m_worker->run(job, std::chrono::milliseconds(m_timeoutMs)) && *out;
}

bool SmbBackend::busy() const
{
    return m_worker->busy();
}
