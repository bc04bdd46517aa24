// Worker threads for posted bodies (Threading.h). A thread whose body ended
// waits a while for the next one: waking it costs the poster a small part of
// what starting a thread does, and a key press may post several exchanges.
#include "platform/Threading.h"

#include <deque>
#include <thread>

namespace {

// An idle worker ends when no body came for this long, or at once when this
// many others already wait.
constexpr auto kIdleLifetime = std::chrono::seconds(60);
constexpr int kMostIdle = 8;

struct WorkerPool {
    std::mutex mutex;
    std::condition_variable posted;
    std::condition_variable allEnded;
    std::deque<std::function<void()>> bodies;
    int running = 0;  // bodies posted and not ended
    int idle = 0;     // workers waiting for a body
};

// Never destroyed: idle workers may still wait on it while the process ends.
WorkerPool& Pool()
{
    static WorkerPool* const pool = new WorkerPool;
    return *pool;
}

void WorkerLoop()
{
    WorkerPool& pool = Pool();
    std::unique_lock lock(pool.mutex);
    for (;;) {
        if (pool.bodies.empty()) {
            if (pool.idle >= kMostIdle)
                return;
            ++pool.idle;
            const bool got = pool.posted.wait_for(lock, kIdleLifetime, [&] { return !pool.bodies.empty(); });
            --pool.idle;
            if (!got)
                return;
        }
        std::function<void()> body = std::move(pool.bodies.front());
        pool.bodies.pop_front();
        lock.unlock();
        body();
        // What the body holds goes before it counts as ended.
        body = nullptr;
        lock.lock();
        // Still holding the lock, the worker counts as idle before anyone
        // waiting for the end can post again.
        if (--pool.running == 0)
            pool.allEnded.notify_all();
    }
}

}  // namespace

void StartWorkerThread(std::function<void()> body)
{
    WorkerPool& pool = Pool();
    bool wake = false;
    {
        std::lock_guard lock(pool.mutex);
        ++pool.running;
        pool.bodies.push_back(std::move(body));
        // Every waiting body has an idle worker of its own, woken or about to
        // wake; a body beyond them gets a new thread.
        wake = pool.bodies.size() <= static_cast<std::size_t>(pool.idle);
    }
    if (wake)
        pool.posted.notify_one();
    else
        std::thread(WorkerLoop).detach();
}

int RunningWorkerThreads()
{
    WorkerPool& pool = Pool();
    std::lock_guard lock(pool.mutex);
    return pool.running;
}

bool WaitForWorkerThreads(std::chrono::milliseconds bound)
{
    WorkerPool& pool = Pool();
    std::unique_lock lock(pool.mutex);
    return pool.allEnded.wait_for(lock, bound, [&] { return pool.running == 0; });
}
