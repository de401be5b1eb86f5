#include "platform/linux/deadlineworker.h"

#include <condition_variable>
#include <mutex>
#include <thread>

struct DeadlineWorker::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::function<void()> job;
    std::function<void()> atExit;
    bool busy = false;
    bool stop = false;
    bool exited = false;
    unsigned long long started = 0;
    unsigned long long finished = 0;
};

DeadlineWorker::DeadlineWorker(std::function<void()> atExit) : m_state(std::make_shared<State>())
{
    m_state->atExit = std::move(atExit);
    // Detached: the thread holds the state and ends by itself, even when
    // this object is gone while a job is still stuck.
    std::thread([s = m_state] { loop(s); }).detach();
}

DeadlineWorker::~DeadlineWorker()
{
    std::unique_lock lock(m_state->mutex);
    m_state->stop = true;
    m_state->changed.notify_all();
    if (!m_state->busy) // let the clean-up finish, unless a stuck job delays it
        m_state->changed.wait_for(lock, std::chrono::seconds(2), [&] { return m_state->exited; });
}

bool DeadlineWorker::run(std::function<void()> job, std::chrono::milliseconds deadline)
{
    std::unique_lock lock(m_state->mutex);
    if (m_state->busy || m_state->stop)
        return false;
    m_state->busy = true;
    m_state->job = std::move(job);
    const auto ticket = ++m_state->started;
    m_state->changed.notify_all();
    return m_state->changed.wait_for(lock, deadline, [&] { return m_state->finished >= ticket; });
}

bool DeadlineWorker::busy() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->busy;
}

void DeadlineWorker::loop(const std::shared_ptr<State> &s)
{
    std::unique_lock lock(s->mutex);
    for (;;) {
        s->changed.wait(lock, [&] { return s->job || s->stop; });
        if (s->job) {
            auto job = std::move(s->job);
            s->job = nullptr;
            lock.unlock();
            job();
            lock.lock();
            s->busy = false;
            ++s->finished;
            s->changed.notify_all();
            continue;
        }
        break; // stop, and no job left
    }
    auto atExit = std::move(s->atExit);
    lock.unlock();
    if (atExit)
        atExit();
    lock.lock();
    s->exited = true;
    s->changed.notify_all();
}
