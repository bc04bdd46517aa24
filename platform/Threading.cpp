#include "platform/Threading.h"

#include <thread>

void CManualResetEvent::Set()
{
    {
        std::lock_guard lock(m_mutex);
        m_set = true;
    }
    m_changed.notify_all();
}

void CManualResetEvent::Reset()
{
    std::lock_guard lock(m_mutex);
    m_set = false;
}

bool CManualResetEvent::IsSet() const
{
    std::lock_guard lock(m_mutex);
    return m_set;
}

bool CManualResetEvent::Wait(std::chrono::milliseconds bound)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, bound, [this] { return m_set; });
}

void CManualResetEvent::Wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_set; });
}

namespace {
std::mutex g_workersMutex;
std::condition_variable g_workersDone;
int g_workers = 0;
}

void StartWorkerThread(std::function<void()> body)
{
    {
        std::lock_guard lock(g_workersMutex);
        ++g_workers;
    }
    std::thread([body = std::move(body)] {
        body();
        std::lock_guard lock(g_workersMutex);
        if (--g_workers == 0)
            g_workersDone.notify_all();
    }).detach();
}

int RunningWorkerThreads()
{
    std::lock_guard lock(g_workersMutex);
    return g_workers;
}

bool WaitForWorkerThreads(std::chrono::milliseconds bound)
{
    std::unique_lock lock(g_workersMutex);
    return g_workersDone.wait_for(lock, bound, [] { return g_workers == 0; });
}
