#include "tests/support/TestPump.h"

CTestPump::CTestPump()
{
    SetUiDispatcher(this);
}

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
    // Tasks leave the queue one at a time, so a task that pumps again (a nested
    // loop) runs the rest in posting order instead of overtaking them.
    std::size_t count;
    {
        std::lock_guard lock(m_mutex);
        count = m_tasks.size();
    }
    int ran = 0;
    for (; count > 0; --count) {
        std::function<void()> task;
        {
            std::lock_guard lock(m_mutex);
            if (m_tasks.empty())
                break;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task();
        ++ran;
    }
    return ran;
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
