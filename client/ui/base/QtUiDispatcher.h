#pragma once
// The program's dispatcher: tasks posted from any thread run on the Qt event
// loop of the user-interface thread, in the order they were posted.
#include "platform/Dispatcher.h"

#include <QObject>

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

class CQtUiDispatcher : public QObject, public IUiDispatcher {
public:
    /// Installs itself as the process-wide dispatcher for its lifetime.
    /// Make it on the user-interface thread after the QApplication.
    CQtUiDispatcher();
    ~CQtUiDispatcher() override;

    void Post(std::function<void()> task) override;

    /// While held (calls nest), posted tasks wait in order; the last Release
    /// runs them from the event loop. User-interface thread only.
    void Hold();
    void Release();
    bool Held() const { return m_holds > 0; }

    /// The installed instance, or nullptr.
    static CQtUiDispatcher* Instance();

private:
    void RunQueued();
    void ScheduleRun();

    std::mutex m_mutex;
    std::deque<std::function<void()>> m_tasks;  // guarded by m_mutex, as below
    std::uint64_t m_posted = 0;                 // tasks ever posted
    bool m_runScheduled = false;
    int m_holds = 0;
};
