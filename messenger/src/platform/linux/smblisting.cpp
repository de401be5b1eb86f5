// SPDX-License-Identifier: GPL-3.0-or-later
// The listing child: one libsmbclient call in a process of its own.
#include "platform/linux/listingformat.h"
#include "platform/linux/writeall.h"
#include "platform/listingchild.h"
#include "platform/utf8.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <libsmbclient.h>
#include <optional>
#include <unistd.h>

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

// The library's own waits for one answer on a connection. Connecting has
// fixed waits inside the library (5 s for TCP, 20 s for a NetBIOS session);
// the parent's deadline ends the child in any case.
constexpr int TimeoutMs = 5000;

SMBCCTX *newContext()
{
    SMBCCTX *ctx = smbc_new_context();
    if (!ctx)
        return nullptr;
    smbc_setDebug(ctx, 0);
    smbc_setLogCallback(ctx, nullptr, quiet);
    smbc_setTimeout(ctx, TimeoutMs);
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

std::optional<ListingFormat::Kind> kindOf(unsigned smbcType)
{
    using Kind = ListingFormat::Kind;
    switch (smbcType) {
    case SMBC_WORKGROUP:
        return Kind::Workgroup;
    case SMBC_SERVER:
        return Kind::Server;
    case SMBC_FILE_SHARE:
        return Kind::Share;
    case SMBC_DIR:
        return Kind::Directory;
    default:
        return std::nullopt; // printers, IPC$, communication shares, files, links
    }
}

// Errors that mean nobody answered, as opposed to an answer that refused.
bool isNoAnswer(int error)
{
    switch (error) {
    case ETIMEDOUT:
    case EHOSTUNREACH:
    case ENETUNREACH:
    case EHOSTDOWN:
    case ENETDOWN:
    case EAGAIN:
        return true;
    default:
        return false;
    }
}

int fail(const char *url, int error)
{
    std::fprintf(stderr, "vesnal-net: %s: %s\n", url, std::strerror(error));
    return isNoAnswer(error) ? ListingFormat::NoAnswer : ListingFormat::Refused;
}

} // namespace

namespace ListingChild
{

bool isListingCommand(const QStringList &arguments)
{
    const QString verb = arguments.value(0);
    return verb == QLatin1String("list") || verb == QLatin1String("probe");
}

int run(const QStringList &arguments)
{
    if (arguments.size() != 2 || !isListingCommand(arguments) ||
        !arguments[1].startsWith(QLatin1String("smb://"))) {
        std::fprintf(stderr, "usage: vesnal-net list|probe smb://[NAME[/SHARE...]]\n");
        return ListingFormat::BadArguments;
    }
    const bool probe = arguments[0] == QLatin1String("probe");
    const QByteArray url = arguments[1].toUtf8();

    // Our own copy of standard output carries the entries; the library may
    // print on fd 1 whatever it likes, which then goes to standard error.
    const int out = ::dup(STDOUT_FILENO);
    if (out < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return fail(url.constData(), errno);
    // A reset connection fails the call instead of ending the child.
    std::signal(SIGPIPE, SIG_IGN);

    SMBCCTX *ctx = newContext();
    if (!ctx) { // not the network's answer: worth asking again
        std::fprintf(stderr, "vesnal-net: the SMB client could not be set up\n");
        return ListingFormat::NoAnswer;
    }
    SMBCFILE *dir = smbc_getFunctionOpendir(ctx)(ctx, url.constData());
    if (!dir)
        return fail(url.constData(), errno);
    QByteArray lines;
    auto readdir = smbc_getFunctionReaddir(ctx);
    // Bounded: a directory of a share can be huge, the tree needs no more.
    for (int n = 0; !probe && n < 100000; ++n) {
        const smbc_dirent *entry = readdir(ctx, dir);
        if (!entry)
            break;
        // `name` is declared as a one-byte array; it runs to its NUL.
        const char *name = entry->name;
        const auto kind = kindOf(entry->smbc_type);
        if (!kind || !*name || !std::strcmp(name, ".") || !std::strcmp(name, ".."))
            continue;
        lines += ListingFormat::line(
            {*kind, decodeUtf8(name), entry->comment ? decodeUtf8(entry->comment) : QString()});
    }
    smbc_getFunctionClosedir(ctx)(ctx, dir);
    // The child ends here; freeing the context could only wait on the network.
    if (!writeAll(out, lines))
        return fail(url.constData(), errno);
    return ListingFormat::Listed;
}

} // namespace ListingChild
