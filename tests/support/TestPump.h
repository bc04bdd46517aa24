#pragma once
// A deterministic user-interface thread for tests: tasks posted from any thread
// wait in a queue until the test runs them on its own thread.
#include "platform/Dispatcher.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

class CTestPump : public IUiDispatcher {
public:
    /// Installs itself as the process-wide dispatcher for its lifetime.
    CTestPump();
    ~CTestPump();

    void Post(std::function<void()> task) override;

    /// Runs every task queued now; returns how many ran.
    int RunPending();
    /// Runs tasks as they arrive until done() holds; false when bound ran out first.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(20));
    int Queued() const;
    /// Waits, running nothing, until at least count tasks are queued; false
    /// when bound ran out first.
    bool WaitForQueued(int count, std::chrono::milliseconds bound = std::chrono::seconds(20));

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<std::function<void()>> m_tasks;
};
