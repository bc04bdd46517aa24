#include "platform/Threading.h"

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
