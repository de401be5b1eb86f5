#pragma once

#include <chrono>
#include <functional>
#include <memory>

// One thread of its own that runs jobs while the caller waits, but never
// longer than a deadline. A job that overruns keeps running on the thread;
// its caller is told it did not finish, and later calls are refused at once
// until it is done, so a hanging library call costs its deadline once and
// never blocks the caller beyond it.
class DeadlineWorker
{
public:
    // `atExit` runs on the thread after its last job, when the worker is
    // destroyed (or later, once an overrunning job has returned).
    explicit DeadlineWorker(std::function<void()> atExit = {});
    ~DeadlineWorker();
    DeadlineWorker(const DeadlineWorker &) = delete;
    DeadlineWorker &operator=(const DeadlineWorker &) = delete;

    // Runs `job` on the thread; true when it finished within `deadline`.
    // False at once while an earlier job is still running. Whatever the job
    // writes must be owned by the job (a shared_ptr it holds) so that an
    // overrunning job never writes into a caller that has moved on.
    bool run(std::function<void()> job, std::chrono::milliseconds deadline);

    // Whether a job that overran is still running.
    bool busy() const;

private:
    struct State;
    static void loop(const std::shared_ptr<State> &s);
    std::shared_ptr<State> m_state;
};
