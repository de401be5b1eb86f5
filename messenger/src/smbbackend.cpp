#include "smbbackend.h"

#include <QStringList>
#include <QUrl>

#include <libsmbclient.h>

namespace
{

// Browsing as a guest: no user, no password, the workgroup as configured.
void guestCredentials(SMBCCTX *, const char *, const char *, char *, int, char *user, int userLen,
                      char *password, int passwordLen)
{
    if (userLen > 0) user[0] = '\0';
    if (passwordLen > 0) password[0] = '\0';
}

} // namespace

SmbBackend::SmbBackend(int timeoutMs)
{
    SMBCCTX *ctx = smbc_new_context();
    if (!ctx) return;
    smbc_setDebug(ctx, 0);
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
        return;
    }
    m_ctx = ctx;
}

SmbBackend::~SmbBackend()
{
    if (m_ctx) smbc_free_context(m_ctx, 1);
}

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
    if (!m_ctx) return std::nullopt;
    const QString parentRemote = parent ? parent->remoteName : QString();
    // The library wants a top level of "smb://" and nothing below a server
    // but shares; both come from the same address scheme.
    const QByteArray url = urlFor(parentRemote).toUtf8();
    SMBCFILE *dir = smbc_getFunctionOpendir(m_ctx)(m_ctx, url.constData());
    if (!dir) return std::nullopt;
    QList<NetRecord> children;
    auto readdir = smbc_getFunctionReaddir(m_ctx);
    // Bounded: a directory of a share can be huge, the tree needs no more.
    for (int n = 0; n < 100000; ++n) {
        const smbc_dirent *entry = readdir(m_ctx, dir);
        if (!entry) break;
        const QString comment = entry->comment ? QString::fromUtf8(entry->comment) : QString();
        const auto record =
            recordFor(parentRemote, entry->smbc_type, QString::fromUtf8(entry->name), comment);
        if (record) children.append(*record);
    }
    smbc_getFunctionClosedir(m_ctx)(m_ctx, dir);
    return children;
}

bool SmbBackend::opensAsDirectory(const QString &remoteName)
{
    // Only a path with a server and a share in it; "smb://" or a server
    // alone would "open" as the browse list.
    if (!m_ctx || remoteName.split(QLatin1Char('\\'), Qt::SkipEmptyParts).size() < 2) return false;
    const QByteArray url = urlFor(remoteName).toUtf8();
    SMBCFILE *dir = smbc_getFunctionOpendir(m_ctx)(m_ctx, url.constData());
    if (!dir) return false;
    smbc_getFunctionClosedir(m_ctx)(m_ctx, dir);
    return true;
}
