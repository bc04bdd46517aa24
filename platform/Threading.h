#pragma once
// Critical sections, manual-reset events and worker threads.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

/// A recursive lock, like a critical section: the owning thread may take it again.
class CCriticalSection {
public:
    void lock() { m_mutex.lock(); }
    void unlock() { m_mutex.unlock(); }
    bool try_lock() { return m_mutex.try_lock(); }

private:
    std::recursive_mutex m_mutex;
};

/// An event that stays signalled until it is reset.
class CManualResetEvent {
public:
    explicit CManualResetEvent(bool initiallySet = false) : m_set(initiallySet) {}
    void Set();
    void Reset();
    bool IsSet() const;
    /// Waits until the event is signalled; false when the bound ran out first.
    bool Wait(std::chrono::milliseconds bound);
    void Wait();

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set;
};

/// Starts a detached worker thread running body. The process keeps count of
/// them so that a caller can wait for every worker to end.
void StartWorkerThread(std::function<void()> body);
int RunningWorkerThreads();
/// Waits until no worker thread started by StartWorkerThread is running.
bool WaitForWorkerThreads(std::chrono::milliseconds bound);
