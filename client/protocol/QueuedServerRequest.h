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
    /// Forgets the posts still waiting in the queue: they are never sent and
    /// nobody is told of them. The exchange under way goes on.
    void DropQueuedPosts();

    /// Deletes this object at once, on the user-interface thread, without
    /// waiting: queued posts are dropped, the result of the one under way is
    /// dropped when it ends, and the worker then ends by itself.
    void Shutdown();

protected:
    ~CQueuedServerRequest() override;

private:
    // Shared with the worker, which may outlive the object by one exchange.
    struct Queue {
        std::mutex lock;
        std::deque<std::shared_ptr<RequestJob>> jobs;  // nullptr is the stop marker
        CManualResetEvent work;
    };

    static void WorkerLoop(const std::shared_ptr<Queue>& queue);
    void Enqueue(std::shared_ptr<RequestJob> job);

    std::shared_ptr<Queue> m_queue = std::make_shared<Queue>();
};
