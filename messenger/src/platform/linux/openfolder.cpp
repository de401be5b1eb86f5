// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/openfolder.h"

#include "platform/linux/descriptors.h"
#include "platform/linux/writeall.h"

#include <QFile>

#include <fcntl.h>

namespace
{

// Never waits on what is no regular file, and never takes a terminal for
// the process's own.
constexpr int ReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

FileContents readOpened(int fd, qint64 maxBytes)
{
    FileContents contents;
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        contents.problem = FileContents::Problem::CannotOpen;
        contents.why = errorText();
        return contents;
    }
    if (!S_ISREG(st.st_mode)) {
        contents.problem = FileContents::Problem::NotRegular;
        return contents;
    }
    if (st.st_size > maxBytes) {
        contents.problem = FileContents::Problem::TooLarge;
        return contents;
    }
    // One byte more than allowed tells a file that grew meanwhile.
    QByteArray &bytes = contents.bytes;
    bytes.resize(maxBytes + 1);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n == 0)
            break;
        if (n > 0)
            got += n;
        else if (errno != EINTR) {
            contents.problem = FileContents::Problem::CannotRead;
            contents.why = errorText();
            contents.bytes.clear();
            return contents;
        }
    }
    bytes.resize(got);
    if (got > maxBytes) {
        contents.problem = FileContents::Problem::TooLarge;
        contents.bytes.clear();
    }
    return contents;
}

} // namespace

FileContents readRegularFile(const QString &path, qint64 maxBytes, Links links)
{
    const Fd file(::open(QFile::encodeName(path).constData(),
                         ReadFlags | (links == Links::Refuse ? O_NOFOLLOW : 0)));
    return readOpened(file.fd, maxBytes);
}

OpenFolder::OpenFolder(const QString &path)
    : m_handle(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (m_handle < 0)
        m_error = errorText();
}

OpenFolder::~OpenFolder()
{
    if (m_handle >= 0)
        ::close(int(m_handle));
}

OpenFolder::Made OpenFolder::writeNew(const QByteArray &name, const QByteArray &bytes, int options,
                                      QString *why) const
{
    const int dir = int(m_handle);
    const int fd =
        ::openat(dir, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        *why = errorText();
        return errno == EEXIST ? Made::NameTaken : Made::Failed;
    }
    if (options & FolderOwners)
        giveToFolderOwner(dir, fd);
    // The umask may be tight (the guest user's); every local user reads.
    bool ok =
        ::fchmod(fd, 0644) == 0 && writeAll(fd, bytes) && (!(options & Synced) || ::fsync(fd) == 0);
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok)
        ok = false, error = errno;
    if (ok)
        return Made::Done;
    ::unlinkat(dir, name.constData(), 0);
    *why = errorText(error);
    return Made::Failed;
}

OpenFolder::Made OpenFolder::link(const QByteArray &from, const QByteArray &to, QString *why) const
{
    if (::linkat(int(m_handle), from.constData(), int(m_handle), to.constData(), 0) == 0)
        return Made::Done;
    *why = errorText();
    return errno == EEXIST ? Made::NameTaken : Made::Failed;
}

bool OpenFolder::rename(const QByteArray &from, const QByteArray &to, QString *why) const
{
    if (::renameat(int(m_handle), from.constData(), int(m_handle), to.constData()) == 0)
        return true;
    *why = errorText();
    return false;
}

void OpenFolder::remove(const QByteArray &name) const
{
    ::unlinkat(int(m_handle), name.constData(), 0);
}

void OpenFolder::sync() const
{
    ::fsync(int(m_handle));
}

FileContents OpenFolder::read(const QByteArray &name, qint64 maxBytes) const
{
    const Fd file(::openat(int(m_handle), name.constData(), ReadFlags | O_NOFOLLOW));
    return readOpened(file.fd, maxBytes);
}
