#include "client/ui/base/QtUiDispatcher.h"

#include <QMetaObject>

namespace {
CQtUiDispatcher* g_instance = nullptr;
}

CQtUiDispatcher::CQtUiDispatcher()
{
    g_instance = this;
    SetUiDispatcher(this);
}

CQtUiDispatcher::~CQtUiDispatcher()
{
    SetUiDispatcher(nullptr);
    g_instance = nullptr;
}

CQtUiDispatcher* CQtUiDispatcher::Instance()
{
    return g_instance;
}

void CQtUiDispatcher::Post(std::function<void()> task)
{
    bool schedule = false;
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
        schedule = !m_runScheduled;
        m_runScheduled = true;
    }
    if (schedule)
        QMetaObject::invokeMethod(this, &CQtUiDispatcher::RunQueued, Qt::QueuedConnection);
}

void CQtUiDispatcher::ScheduleRun()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_runScheduled || m_tasks.empty())
            return;
        m_runScheduled = true;
    }
    QMetaObject::invokeMethod(this, &CQtUiDispatcher::RunQueued, Qt::QueuedConnection);
}

void CQtUiDispatcher::Hold()
{
    ++m_holds;
}

void CQtUiDispatcher::Release()
{
    if (m_holds > 0 && --m_holds == 0)
        ScheduleRun();
}

void CQtUiDispatcher::RunQueued()
{
    // Runs only what is queued now: a task that posts again goes to the next
    // turn of the event loop, so input and painting are never starved.
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard lock(m_mutex);
        m_runScheduled = false;
        if (m_holds > 0)
            return;
        batch.swap(m_tasks);
    }
    while (!batch.empty()) {
        auto task = std::move(batch.front());
        batch.pop_front();
        task();
        if (m_holds > 0) {
            // A task started a held section (a synchronous exchange): the rest
            // waits, in order, ahead of anything posted since.
            std::lock_guard lock(m_mutex);
            for (auto it = batch.rbegin(); it != batch.rend(); ++it)
                m_tasks.push_front(std::move(*it));
            return;
        }
    }
}
