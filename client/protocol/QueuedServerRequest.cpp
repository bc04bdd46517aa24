#include "client/protocol/QueuedServerRequest.h"

CQueuedServerRequest::CQueuedServerRequest()
{
    StartWorkerThread([this, work = m_workEvent, ended = m_endedEvent] { WorkerLoop(this, work, ended); });
}

CQueuedServerRequest::~CQueuedServerRequest() = default;

HRESULT CQueuedServerRequest::QueuedPost(const std::string& formBody, std::int32_t value1, std::int32_t value2)
{
    PrepareEndpoint();
    Enqueue(CreateJob(formBody, value1, value2));
    return S_OK;
}

void CQueuedServerRequest::Shutdown()
{
    Enqueue(nullptr);
    m_endedEvent->Wait();
    delete this;
}

void CQueuedServerRequest::Enqueue(std::shared_ptr<RequestJob> job)
{
    {
        std::lock_guard lock(m_queueLock);
        m_queue.push_back(std::move(job));
    }
    m_workEvent->Set();
}

void CQueuedServerRequest::WorkerLoop(CQueuedServerRequest* self, std::shared_ptr<CManualResetEvent> work,
                                      std::shared_ptr<CManualResetEvent> ended)
{
    for (;;) {
        work->Wait();
        std::shared_ptr<RequestJob> job;
        {
            std::lock_guard lock(self->m_queueLock);
            if (self->m_queue.empty()) {
                work->Reset();
                continue;
            }
            job = std::move(self->m_queue.front());
            self->m_queue.pop_front();
            if (self->m_queue.empty())
                work->Reset();
        }
        if (!job) {
            // Shutdown may delete the object as soon as this is set.
            ended->Set();
            return;
        }
        RunJob(job);
    }
}
