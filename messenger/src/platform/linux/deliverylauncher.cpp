#include "platform/linux/deliverylauncher.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace
{

const QString Prefix = QStringLiteral("net send ");

// Waits for the helpers one by one, in the order they were started, so that
// they do not stay zombies. It waits only for the pids it was given, so
// children started in other ways (QProcess) are left to their owners. The
// thread lives as long as the process.
class Reaper
{
public:
    static Reaper &instance()
    {
        static Reaper *reaper = new Reaper; // never destroyed: its thread may be waiting
        return *reaper;
    }
    void add(pid_t pid)
    {
        {
            std::lock_guard lock(m_mutex);
            m_pids.push_back(pid);
        }
        m_wake.notify_one();
    }

private:
    Reaper()
    {
        std::thread([this] { loop(); }).detach();
    }
    void loop()
    {
        for (;;) {
            pid_t pid;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return !m_pids.empty(); });
                pid = m_pids.front();
                m_pids.pop_front();
            }
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
    }
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<pid_t> m_pids;
};

// posix_spawn attributes and file actions, released when they go out of scope.
struct SpawnSetup {
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    SpawnSetup()
    {
        posix_spawnattr_init(&attr);
        posix_spawn_file_actions_init(&actions);
        // A process group of its own: a Ctrl-C or hang-up of the
        // messenger's terminal does not stop a delivery under way. (A
        // session of its own would do the same, but setsid made each start
        // about twice as slow here.) Signals ignored or blocked here are
        // reset, and the helper reads nothing.
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attr, &none);
        posix_spawnattr_setsigdefault(&attr, &all);
        posix_spawnattr_setpgroup(&attr, 0);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                            POSIX_SPAWN_SETSIGDEF);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;
};

} // namespace

DeliveryLauncher::DeliveryLauncher(const QString &helperDir)
{
    const QString dir = helperDir.isEmpty() ? QCoreApplication::applicationDirPath() : helperDir;
    m_helper = dir + QStringLiteral("/vesnal-net");
}

qint64 DeliveryLauncher::start(const QString &commandLine)
{
    if (!commandLine.startsWith(Prefix))
        return 0;
    // An argument ends at its first NUL byte: a text holding one would
    // arrive cut, so it is not started at all.
    if (commandLine.contains(QChar(u'\0')))
        return 0;
    const QByteArray program = m_helper.toLocal8Bit();
    const QByteArray request = commandLine.mid(Prefix.size()).toUtf8();
    char send[] = "send";
    char *argv[] = {const_cast<char *>(program.constData()), send,
                    const_cast<char *>(request.constData()), nullptr};

    static const SpawnSetup setup;
    pid_t pid = 0;
    if (posix_spawn(&pid, program.constData(), &setup.actions, &setup.attr, argv, environ) != 0)
        return 0;
    Reaper::instance().add(pid);
    return pid;
}
