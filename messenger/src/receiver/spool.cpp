// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/spool.h"

#include "platform/linux/writeall.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QString TimeFormat = QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'");
const QString Suffix = QStringLiteral(".msg");
// Names the spool holds: records, and the hidden names they are written under.
const QRegularExpression IdPattern(QStringLiteral("^(\\d{8}T\\d{6}\\.\\d{3}Z)-\\d+-\\d+$"));
const QRegularExpression TempPattern(QStringLiteral("^\\.(.+)\\.tmp$"));
constexpr int Attempts = 100;
constexpr qint64 TempKeptSecs = 3600;

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A file descriptor closed when it goes out of scope.
struct Fd {
    int fd;
    explicit Fd(int f) : fd(f) {}
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
};

// Writes `bytes` into a new file `name` of the folder `dir`, readable by
// everyone; false (errno set) when the name exists or anything fails, and
// then no file of that name is left behind.
bool writeNewFile(int dir, const QByteArray &name, const QByteArray &bytes)
{
    Fd file(::openat(dir, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     0644));
    if (file.fd < 0)
        return false;
    // The guest user's umask may be tight; every local user reads records.
    if (::fchmod(file.fd, 0644) == 0 && writeAll(file.fd, bytes) && ::fsync(file.fd) == 0)
        return true;
    const int saved = errno;
    ::unlinkat(dir, name.constData(), 0);
    errno = saved;
    return false;
}

} // namespace

QString Spool::defaultPath()
{
    const QString set = qEnvironmentVariable("VESNAL_SPOOL");
    return set.isEmpty() ? QStringLiteral("/var/spool/vesnal") : set;
}

QDateTime Spool::idTime(const QString &id)
{
    const auto match = IdPattern.match(id);
    if (!match.hasMatch())
        return {};
    QDateTime t = QDateTime::fromString(match.captured(1), TimeFormat);
    t.setTimeSpec(Qt::UTC);
    return t;
}

std::optional<QString> Spool::store(const SpoolRecord &record, const QDateTime &now,
                                    QString *why) const
{
    Fd dir(::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd < 0) {
        *why = QStringLiteral("spool folder %1 cannot be opened: %2").arg(m_path, errnoText());
        return std::nullopt;
    }
    return store(dir.fd, record.serialize(), now, why);
}

std::optional<QString> Spool::store(int dirFd, const QByteArray &bytes, const QDateTime &now,
                                    QString *why) const
{
    const QString stem =
        now.toUTC().toString(TimeFormat) + u'-' + QString::number(::getpid()) + u'-';
    // A name already taken (by a file, a link, anything) is passed over, for
    // the temporary name and the final one alike.
    int n = 1;
    QByteArray temp;
    for (; temp.isEmpty() && n <= Attempts; ++n) {
        const QByteArray name =
            QFile::encodeName(u'.' + stem + QString::number(n) + QStringLiteral(".tmp"));
        if (writeNewFile(dirFd, name, bytes))
            temp = name;
        else if (errno != EEXIST)
            break;
    }
    if (temp.isEmpty()) {
        *why =
            n > Attempts
                ? QStringLiteral("no free name in spool folder %1").arg(m_path)
                : QStringLiteral("cannot write into spool folder %1: %2").arg(m_path, errnoText());
        return std::nullopt;
    }
    for (--n; n <= Attempts; ++n) {
        const QString id = stem + QString::number(n);
        const QByteArray final = QFile::encodeName(id + Suffix);
        if (::linkat(dirFd, temp.constData(), dirFd, final.constData(), 0) == 0) {
            ::unlinkat(dirFd, temp.constData(), 0);
            ::fsync(dirFd);
            return id;
        }
        if (errno != EEXIST)
            break;
    }
    *why = n > Attempts
               ? QStringLiteral("no free name in spool folder %1").arg(m_path)
               : QStringLiteral("cannot store into spool folder %1: %2").arg(m_path, errnoText());
    ::unlinkat(dirFd, temp.constData(), 0);
    return std::nullopt;
}

std::optional<QStringList> Spool::ids() const
{
    QDir dir(m_path);
    if (!dir.exists() || !dir.isReadable())
        return std::nullopt;
    QStringList ids;
    for (const QString &name :
         dir.entryList({u'*' + Suffix}, QDir::Files | QDir::System | QDir::NoSymLinks)) {
        const QString id = name.chopped(Suffix.size());
        if (IdPattern.match(id).hasMatch())
            ids.append(id);
    }
    ids.sort(); // the UTC time leads, so this is the order of arrival
    return ids;
}

std::optional<SpoolRecord> Spool::load(const QString &id, QString *why) const
{
    if (!IdPattern.match(id).hasMatch()) {
        *why = QStringLiteral("not a record id");
        return std::nullopt;
    }
    const QByteArray path = QFile::encodeName(QDir(m_path).filePath(id + Suffix));
    Fd file(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0) {
        *why = errnoText();
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode) || st.st_size > MaxRecordBytes) {
        *why = QStringLiteral("not a record file");
        return std::nullopt;
    }
    QFile in;
    if (!in.open(file.fd, QIODevice::ReadOnly)) {
        *why = in.errorString();
        return std::nullopt;
    }
    return SpoolRecord::parse(in.read(MaxRecordBytes), why);
}

Spool::Pruned Spool::prune(const QDateTime &now) const
{
    Pruned pruned;
    QDir dir(m_path);
    const QDateTime recordLimit = now.addDays(-KeepDays);
    const QDateTime tempLimit = now.addSecs(-TempKeptSecs);
    const auto entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        QDateTime t;
        QDateTime limit;
        const bool record = name.endsWith(Suffix);
        if (record) {
            t = idTime(name.chopped(Suffix.size()));
            limit = recordLimit;
        } else if (const auto temp = TempPattern.match(name); temp.hasMatch()) {
            t = idTime(temp.captured(1));
            limit = tempLimit;
        }
        // Unlinking removes a link itself, never what it points to.
        if (t.isValid() && t < limit && !dir.remove(name)) {
            pruned.problems.append(QStringLiteral("old record %1 could not be removed").arg(name));
        } else if (record && t.isValid() && t >= limit && entry.isFile() && !entry.isSymLink()) {
            pruned.records += 1;
            pruned.bytes += entry.size();
        }
    }
    return pruned;
}
