// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/childprocess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace
{

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// posix_spawn attributes and file actions, released when they go out of scope.
struct SpawnSetup {
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    SpawnSetup()
    {
        posix_spawnattr_init(&attr);
        posix_spawn_file_actions_init(&actions);
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attr, &none);
        posix_spawnattr_setsigdefault(&attr, &all);
        posix_spawnattr_setpgroup(&attr, 0);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                            POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;
};

// A pipe whose ends are closed on exec; our end does not block.
bool makePipe(int fds[2], int ourEnd)
{
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    ::fcntl(fds[ourEnd], F_SETFL, ::fcntl(fds[ourEnd], F_GETFL) | O_NONBLOCK);
    return true;
}

// Writes to a pipe whose reader may be gone without the SIGPIPE that would
// end this whole process: the signal is blocked on this thread for the
// write, and taken off again when the write raised it.
ssize_t writeQuietly(int fd, const char *data, size_t size)
{
    sigset_t pipeOnly, before;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &before);
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EPIPE) {
        const timespec now = {0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &now) < 0 && errno == EINTR) {
        }
        errno = EPIPE;
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    return n;
}

// Reads what the pipe holds now into `into`, up to `limit` bytes in all;
// the rest is dropped. Closes the pipe at its end.
void drain(int &fd, QByteArray &into, bool &cut, qsizetype limit)
{
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            const qsizetype room = std::max<qsizetype>(0, limit - into.size());
            into.append(buffer, std::min<qsizetype>(room, n));
            cut = cut || n > room;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN)
            closeFd(fd);
        return;
    }
}

int msLeft(const QDeadlineTimer &deadline)
{
    if (deadline.isForever())
        return -1;
    return int(std::clamp<qint64>(deadline.remainingTime(), 0, 60000));
}

} // namespace

ChildProcess::ChildProcess(const QString &program, const QStringList &arguments, Options options)
    : m_options(std::move(options))
{
    // No input: /dev/null, which ends at once as an empty pipe would, for
    // fewer descriptors per start.
    int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2];
    if (!m_options.input.isEmpty() && !makePipe(in, 1))
        return;
    if (m_options.captureOut && !makePipe(out, 0)) {
        closeFd(in[0]), closeFd(in[1]);
        return;
    }
    if (!makePipe(err, 0)) {
        closeFd(in[0]), closeFd(in[1]), closeFd(out[0]), closeFd(out[1]);
        return;
    }
    SpawnSetup setup;
    if (in[0] >= 0)
        posix_spawn_file_actions_adddup2(&setup.actions, in[0], 0);
    else
        posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    if (out[1] >= 0)
        posix_spawn_file_actions_adddup2(&setup.actions, out[1], 1);
    else
        posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, err[1], 2);

    const QByteArray path = program.toLocal8Bit();
    QList<QByteArray> args{path};
    for (const QString &a : arguments)
        args << a.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const auto spawn = path.contains('/') ? posix_spawn : posix_spawnp;
    if (spawn(&pid, path.constData(), &setup.actions, &setup.attr, argv.data(), environ) == 0)
        m_pid = pid;
    closeFd(in[0]), closeFd(out[1]), ::close(err[1]);
    m_in = in[1], m_out = out[0], m_err = err[0];
    if (m_pid <= 0) {
        closeFd(m_in), closeFd(m_out), closeFd(m_err);
        m_finished = true; // outcome: NotStarted
    }
}

ChildProcess::~ChildProcess()
{
    if (!m_finished) {
        killGroup();
        while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    closeFd(m_in), closeFd(m_out), closeFd(m_err);
}

void ChildProcess::killGroup()
{
    ::kill(-m_pid, SIGKILL);
    ::kill(m_pid, SIGKILL); // in case it left its group
}

void ChildProcess::release()
{
    m_finished = true;
    closeFd(m_in), closeFd(m_out), closeFd(m_err);
}

ChildOutcome ChildProcess::finish(QDeadlineTimer deadline)
{
    while (!m_finished && !pipesClosed() && !deadline.hasExpired()) {
        pollfd fds[3];
        const int n = pollFds(fds);
        if (::poll(fds, n, msLeft(deadline)) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < n; ++i)
            if (fds[i].revents)
                serve(fds[i]);
    }
    // Its output has ended; it normally exits right after.
    for (int pause = 1; !tryReap(); pause = std::min(pause * 2, 20)) {
        if (deadline.hasExpired()) {
            expire();
            break;
        }
        const int wait = deadline.isForever() ? pause : std::min(pause, msLeft(deadline) + 1);
        const timespec ts = {0, long(wait) * 1000000L};
        ::nanosleep(&ts, nullptr);
    }
    return m_outcome;
}

int ChildProcess::pollFds(pollfd *fds) const
{
    int n = 0;
    for (int fd : {m_in, m_out, m_err})
        if (fd >= 0)
            fds[n++] = {fd, short(fd == m_in ? POLLOUT : POLLIN), 0};
    return n;
}

void ChildProcess::serve(const pollfd &fd)
{
    if (fd.fd == m_in && m_in >= 0) {
        const QByteArray &input = m_options.input;
        const ssize_t w =
            writeQuietly(m_in, input.constData() + m_written, size_t(input.size() - m_written));
        if (w > 0)
            m_written += w;
        if ((w < 0 && errno != EAGAIN && errno != EINTR) || m_written == input.size())
            closeFd(m_in);
    } else if (fd.fd == m_out && m_out >= 0) {
        drain(m_out, m_outcome.out, m_outcome.outCut, m_options.outputLimit);
    } else if (fd.fd == m_err && m_err >= 0) {
        drain(m_err, m_outcome.err, m_outcome.errCut, m_options.outputLimit);
    }
}

bool ChildProcess::tryReap()
{
    if (m_finished)
        return true;
    int status = 0;
    const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
    if (r == 0 || (r < 0 && errno == EINTR))
        return false;
    conclude(r == m_pid ? status : -1);
    return true;
}

void ChildProcess::expire()
{
    if (m_finished)
        return;
    killGroup();
    while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    m_finished = true;
    closeFd(m_in), closeFd(m_out), closeFd(m_err);
    m_outcome.end = ChildOutcome::End::TimedOut;
}

void ChildProcess::conclude(int status)
{
    m_finished = true;
    closeFd(m_in), closeFd(m_out), closeFd(m_err);
    if (status != -1 && WIFEXITED(status)) {
        m_outcome.end = ChildOutcome::End::Exited;
        m_outcome.exitCode = WEXITSTATUS(status);
    } else {
        m_outcome.end = ChildOutcome::End::Signalled;
        m_outcome.signal = status != -1 && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
}
