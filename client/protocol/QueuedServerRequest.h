#pragma once
// A request whose exchanges run one after another, in posting order, on one
// worker thread of its own.
#include "client/protocol/SummaryRequest.h"
#include "platform/Threading.h"

#include <deque>
#include <memory>
#include <mutex>

/// Create with new and end with Shutdown, which deletes the object; the
/// destructor is not public for that reason.
class CQueuedServerRequest : public CSummaryRequest {
public:
    /// Starts the worker thread.
    CQueuedServerRequest();

    /// Like Post, but the job waits in the queue for the worker.
    HRESULT QueuedPost(const std::string& formBody, std::int32_t value1 = 0, std::int32_t value2 = 0);

    /// Lets the jobs queued so far run, waits until the worker has ended, then
    /// deletes this object. Call on the user-interface thread.
    void Shutdown();

protected:
    ~CQueuedServerRequest() override;

private:
    static void WorkerLoop(CQueuedServerRequest* self, std::shared_ptr<CManualResetEvent> work,
                           std::shared_ptr<CManualResetEvent> ended);
    void Enqueue(std::shared_ptr<RequestJob> job);

    std::mutex m_queueLock;
    std::deque<std::shared_ptr<RequestJob>> m_queue;  // nullptr is the stop marker
    // Shared with the worker: it still sets the ended event while Shutdown
    // may already be deleting the object.
    std::shared_ptr<CManualResetEvent> m_workEvent = std::make_shared<CManualResetEvent>();
    std::shared_ptr<CManualResetEvent> m_endedEvent = std::make_shared<CManualResetEvent>();
};
