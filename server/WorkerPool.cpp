#include "server/WorkerPool.h"

namespace corvanta::server {

CWorkerPool::CWorkerPool(int threads, size_t maxQueued) : m_maxQueued(maxQueued)
{
    for (int i = 0; i < (threads < 1 ? 1 : threads); ++i)
        m_threads.emplace_back([this] { Work(); });
}

CWorkerPool::~CWorkerPool()
{
    Stop();
}

bool CWorkerPool::Post(Job run, Job cancel)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_stopped || m_queue.size() >= m_maxQueued)
            return false;
        m_queue.push_back({std::move(run), std::move(cancel)});
    }
    m_wake.notify_one();
    return true;
}

void CWorkerPool::Stop()
{
    std::deque<Entry> left;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopped = true;
        left.swap(m_queue);
    }
    m_wake.notify_all();
    for (Entry& entry : left)
        if (entry.cancel)
            entry.cancel();
    for (std::thread& thread : m_threads)
        if (thread.joinable())
            thread.join();
}

void CWorkerPool::Work()
{
    for (;;) {
        Entry entry;
        {
            std::unique_lock<std::mutex> guard(m_lock);
            m_wake.wait(guard, [this] { return m_stopped || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            entry = std::move(m_queue.front());
            m_queue.pop_front();
        }
        entry.run();
    }
}

}  // namespace corvanta::server
