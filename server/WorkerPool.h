#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace corvanta::server {

// A fixed set of threads that run jobs in the order they were posted. A job
// carries what to do and what to do instead when it can no longer run, so that
// every job ends in one of the two, also when the pool stops.
class CWorkerPool {
public:
    using Job = std::function<void()>;

    CWorkerPool(int threads, size_t maxQueued);
    CWorkerPool(const CWorkerPool&) = delete;
    CWorkerPool& operator=(const CWorkerPool&) = delete;
    ~CWorkerPool();

    // False, and neither function called, when the pool is stopped or its queue full.
    bool Post(Job run, Job cancel);
    // Cancels the jobs still queued, lets the running ones finish and joins the threads.
    void Stop();

private:
    struct Entry {
        Job run;
        Job cancel;
    };
    void Work();

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Entry> m_queue;
    size_t m_maxQueued;
    bool m_stopped = false;
    std::vector<std::thread> m_threads;
};

}  // namespace corvanta::server
