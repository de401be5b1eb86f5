// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/deliverylauncher.h"

#include "platform/linux/childprocess.h"
#include "platform/linux/childwatch.h"
#include "platform/linux/writeall.h"

#include <QCoreApplication>
#include <QObject>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace
{

const QString Prefix = QStringLiteral("net send ");
constexpr long BurstPauseMs = 5;

// Where outcomes go. Shared with the calls already queued to the context's
// thread, which check on arrival that their handler is still the current one.
struct Sink {
    std::mutex mutex;
    QObject *context = nullptr;
    ProcessLauncher::OutcomeHandler handler;
    quint64 generation = 0;
};

} // namespace

// The thread that follows the started helpers to their ends.
class DeliveryLauncher::Follower
{
public:
    Follower() : m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
    {
        m_thread = std::thread([this] { loop(); });
    }
    ~Follower()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        wake();
        m_thread.join();
        ::close(m_wake);
    }
    Follower(const Follower &) = delete;
    Follower &operator=(const Follower &) = delete;

    void follow(qint64 task, std::unique_ptr<ChildProcess> child, QDeadlineTimer bound)
    {
        bool first;
        {
            std::lock_guard lock(m_mutex);
            first = m_incoming.empty();
            m_incoming.push_back(Incoming{task, std::move(child), bound});
        }
        if (first) // the rest of a burst is taken with it
            wake();
    }

    void setHandler(QObject *context, OutcomeHandler handler)
    {
        std::lock_guard lock(m_sink->mutex);
        m_sink->context = handler ? context : nullptr;
        m_sink->handler = context ? std::move(handler) : OutcomeHandler();
        ++m_sink->generation;
    }

private:
    struct Incoming {
        qint64 task;
        std::unique_ptr<ChildProcess> child;
        QDeadlineTimer bound;
    };

    void wake()
    {
        const std::uint64_t one = 1;
        (void)!::write(m_wake, &one, sizeof one);
    }

    void loop()
    {
        // A closed standard error must not end the program while a helper's
        // lines are passed on.
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

        ChildWatch watch;
        for (;;) {
            {
                std::lock_guard lock(m_mutex);
                if (m_stop)
                    break;
                for (Incoming &in : m_incoming)
                    watch.add(quint64(in.task), std::move(in.child), in.bound);
                m_incoming.clear();
            }
            // Without the wake-up (no descriptor was left for it), look
            // for new helpers and the end now and then.
            const QDeadlineTimer until =
                m_wake < 0 ? QDeadlineTimer(100) : QDeadlineTimer(QDeadlineTimer::Forever);
            for (const ChildWatch::Ended &ended : watch.wait(until, m_wake))
                report(qint64(ended.id), ended.outcome);
            std::uint64_t count = 0;
            if (::read(m_wake, &count, sizeof count) == sizeof count && count > 0) {
                // Starts come in bursts, one per recipient: let the burst
                // pass and take it in one go, rather than competing with
                // every start for the processor.
                const timespec pause = {0, BurstPauseMs * 1000000L};
                ::nanosleep(&pause, nullptr);
            }
        }
        // Helpers still under way finish on their own.
        watch.releaseAll();
        std::lock_guard lock(m_mutex);
        for (Incoming &in : m_incoming)
            in.child->release();
    }

    void report(qint64 task, const ChildOutcome &child)
    {
        writeAll(STDERR_FILENO, child.err);
        TaskOutcome outcome;
        outcome.task = task;
        outcome.exited = child.end == ChildOutcome::End::Exited;
        outcome.exitStatus = outcome.exited ? child.exitCode : -1;
        outcome.reasons = DeliveryReason::parseAll(child.err);

        std::lock_guard lock(m_sink->mutex);
        if (!m_sink->context)
            return;
        QMetaObject::invokeMethod(
            m_sink->context,
            [sink = m_sink, generation = m_sink->generation, outcome] {
                OutcomeHandler handler;
                {
                    std::lock_guard lock(sink->mutex);
                    if (sink->generation == generation)
                        handler = sink->handler;
                }
                if (handler)
                    handler(outcome);
            },
            Qt::QueuedConnection);
    }

    const int m_wake;
    std::shared_ptr<Sink> m_sink = std::make_shared<Sink>();
    std::mutex m_mutex;
    std::deque<Incoming> m_incoming;
    bool m_stop = false;
    std::thread m_thread;
};

DeliveryLauncher::DeliveryLauncher(const QString &helperDir, int boundMs)
    : m_boundMs(boundMs), m_follower(std::make_unique<Follower>())
{
    const QString dir = helperDir.isEmpty() ? QCoreApplication::applicationDirPath() : helperDir;
    m_helper = dir + QStringLiteral("/vesnal-net");
}

DeliveryLauncher::~DeliveryLauncher() = default;

qint64 DeliveryLauncher::start(const QString &commandLine)
{
    return launch({}, commandLine);
}

qint64 DeliveryLauncher::startAt(const QString &address, const QString &commandLine)
{
    return launch({QStringLiteral("--address=") + address}, commandLine);
}

qint64 DeliveryLauncher::launch(QStringList arguments, const QString &commandLine)
{
    if (!commandLine.startsWith(Prefix))
        return 0;
    // An argument ends at its first NUL byte: a text holding one would
    // arrive cut, so it is not started at all.
    if (commandLine.contains(QChar(u'\0')) || arguments.join(QString()).contains(QChar(u'\0')))
        return 0;
    ChildProcess::Options options;
    options.captureOut = false; // the helper speaks on standard error only
    arguments << QStringLiteral("send") << commandLine.mid(Prefix.size());
    auto child = std::make_unique<ChildProcess>(m_helper, arguments, options);
    if (!child->started())
        return 0;
    const qint64 task = child->pid();
    m_follower->follow(task, std::move(child), QDeadlineTimer(m_boundMs));
    return task;
}

void DeliveryLauncher::setOutcomeHandler(QObject *context, OutcomeHandler handler)
{
    m_follower->setHandler(context, std::move(handler));
}
