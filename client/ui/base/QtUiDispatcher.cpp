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
        ++m_posted;
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
    // Runs only what was queued when this run began: a task that posts again
    // goes to the next turn of the event loop, so input and painting are never
    // starved. Tasks stay in the one queue until they run, so a task that opens
    // a nested event loop (a message box, a modal dialog) finds those after it
    // run there in order, and a later post never overtakes them.
    std::uint64_t last = 0;
    {
        std::lock_guard lock(m_mutex);
        m_runScheduled = false;
        last = m_posted;
    }
    for (;;) {
        std::function<void()> task;
        bool schedule = false;
        {
            std::lock_guard lock(m_mutex);
            // Held: a synchronous exchange runs; the rest waits for Release.
            if (m_holds > 0 || m_tasks.empty() || m_posted - m_tasks.size() >= last)
                return;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
            // Someone must run the rest should this task nest an event loop.
            schedule = !m_tasks.empty() && !m_runScheduled;
            if (schedule)
                m_runScheduled = true;
        }
        if (schedule)
            QMetaObject::invokeMethod(this, &CQtUiDispatcher::RunQueued, Qt::QueuedConnection);
        task();
    }
}
