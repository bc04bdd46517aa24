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

/// Runs body on a worker thread at once: one that waits idle after an earlier
/// body ended, else a new one, so that no body waits for another. Idle workers
/// end after a while; those left when the process ends are not waited for.
/// The process keeps count of the bodies so that a caller can wait for all to end.
void StartWorkerThread(std::function<void()> body);
/// Bodies started by StartWorkerThread that have not ended.
int RunningWorkerThreads();
/// Waits until every body started by StartWorkerThread has ended, and what it
/// held has gone; idle workers are not waited for.
bool WaitForWorkerThreads(std::chrono::milliseconds bound);
