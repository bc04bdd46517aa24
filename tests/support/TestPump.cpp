#include "tests/support/TestPump.h"

CTestPump::CTestPump() { SetUiDispatcher(this); }

CTestPump::~CTestPump()
{
    if (GetUiDispatcher() == this)
        SetUiDispatcher(nullptr);
}

void CTestPump::Post(std::function<void()> task)
{
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_arrived.notify_all();
}

int CTestPump::RunPending()
{
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard lock(m_mutex);
        batch.swap(m_tasks);
    }
    for (auto& task : batch)
        task();
    return static_cast<int>(batch.size());
}

bool CTestPump::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds bound)
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        RunPending();
        if (done())
            return true;
        std::unique_lock lock(m_mutex);
        if (!m_arrived.wait_until(lock, deadline, [this] { return !m_tasks.empty(); }))
            return done();
    }
}

int CTestPump::Queued() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_tasks.size());
}

bool CTestPump::WaitForQueued(int count, std::chrono::milliseconds bound)
{
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, bound, [&] { return static_cast<int>(m_tasks.size()) >= count; });
}
