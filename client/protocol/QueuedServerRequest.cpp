#include "client/protocol/QueuedServerRequest.h"

#include <algorithm>

CQueuedServerRequest::CQueuedServerRequest()
{
    StartWorkerThread([queue = m_queue] { WorkerLoop(queue); });
}

CQueuedServerRequest::~CQueuedServerRequest() = default;

HRESULT CQueuedServerRequest::QueuedPost(const std::string& formBody, std::int32_t value1, std::int32_t value2)
{
    PrepareEndpoint();
    Enqueue(CreateJob(formBody, value1, value2));
    return S_OK;
}

void CQueuedServerRequest::DropQueuedPosts()
{
    std::deque<std::shared_ptr<RequestJob>> dropped;
    {
        std::lock_guard lock(m_queue->lock);
        const auto stop = std::find(m_queue->jobs.begin(), m_queue->jobs.end(), nullptr);
        dropped.assign(m_queue->jobs.begin(), stop);
        m_queue->jobs.erase(m_queue->jobs.begin(), stop);
    }
    for (const std::shared_ptr<RequestJob>& job : dropped)
        DropJob(job);
}

void CQueuedServerRequest::Shutdown()
{
    DropQueuedPosts();
    Enqueue(nullptr);
    // The destructors drop the result of the exchange under way; the worker
    // never touches the object again.
    delete this;
}

void CQueuedServerRequest::Enqueue(std::shared_ptr<RequestJob> job)
{
    {
        std::lock_guard lock(m_queue->lock);
        m_queue->jobs.push_back(std::move(job));
    }
    m_queue->work.Set();
}

void CQueuedServerRequest::WorkerLoop(const std::shared_ptr<Queue>& queue)
{
    for (;;) {
        queue->work.Wait();
        std::shared_ptr<RequestJob> job;
        {
            std::lock_guard lock(queue->lock);
            if (queue->jobs.empty()) {
                queue->work.Reset();
                continue;
            }
            job = std::move(queue->jobs.front());
            queue->jobs.pop_front();
            if (queue->jobs.empty())
                queue->work.Reset();
        }
        if (!job)
            return;
        RunJob(job);
    }
}
