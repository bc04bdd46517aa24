#include "client/protocol/ServerRequest.h"

#include "client/protocol/ServerSettings.h"
#include "platform/BlockingCall.h"
#include "platform/Dispatcher.h"
#include "platform/Http.h"
#include "platform/Url.h"
#include "shared/PagePaths.h"

#include <algorithm>

CServerRequest::CServerRequest() : m_notifyTarget(std::make_shared<CRequestNotifyTarget>())
{
    m_notifyTarget->owner = this;
}

CServerRequest::~CServerRequest()
{
    CancelPendingJobs();
    m_notifyTarget->owner = nullptr;
}

void CServerRequest::CancelPendingJobs()
{
    // A worker removes its job from the list while it holds the job's lock, so
    // the list must not stay locked while a job's lock is awaited.
    for (const std::shared_ptr<RequestJob>& job : m_pendingJobs.Snapshot()) {
        std::lock_guard lock(job->lock);
        job->active = false;
    }
}

HRESULT CServerRequest::SetPage(std::string page, bool secure)
{
    std::lock_guard lock(m_endpointLock);
    m_page = std::move(page);
    m_secure = secure;
    return S_OK;
}

void CServerRequest::AddListener(IRequestListener* listener)
{
    m_listeners.Add(listener);
}

void CServerRequest::RemoveListener(IRequestListener* listener)
{
    m_listeners.Remove(listener);
}

void CServerRequest::PrepareEndpoint()
{
    const bool secure = Secure();
    const std::string url = ActiveServerSettings().GetServerBaseUrl(secure) + PagePaths::kXmlPages + Page();
    UrlParts parts;
    static_cast<void>(SplitUrl(url, parts));
    std::lock_guard lock(m_endpointLock);
    m_serviceType = parts.serviceType;
    m_serverHost = std::move(parts.host);
    m_objectPath = std::move(parts.objectPath);
    m_port = parts.port;
    m_endpointReady = true;
}

HRESULT CServerRequest::Execute(const std::string& formBody, std::string& answer, std::int32_t value1,
                                std::int32_t value2)
{
    PrepareEndpoint();
    std::string host;
    std::string path;
    std::uint16_t port = 0;
    bool secure = false;
    {
        std::lock_guard lock(m_endpointLock);
        host = m_serverHost;
        path = m_objectPath;
        port = m_port;
        secure = m_secure;
    }
    // The exchange may run on a worker while this thread waits; the answer
    // hook runs here, as it always has for synchronous exchanges.
    HRESULT hr = E_FAIL;
    RunBlockingCall([&] { hr = HttpPostForm(host, port, path, formBody, answer, secure); });
    if (Failed(hr))
        return hr;
    ParseAnswer(answer, value1, value2);
    return hr;
}

std::shared_ptr<RequestJob> CServerRequest::CreateJob(const std::string& formBody, std::int32_t value1,
                                                      std::int32_t value2)
{
    auto job = std::make_shared<RequestJob>();
    job->owner = this;
    job->value1 = value1;
    job->value2 = value2;
    job->formBody = formBody;
    job->target = m_notifyTarget;
    {
        std::lock_guard lock(m_endpointLock);
        job->secure = m_secure;
        job->serverHost = m_serverHost;
        job->objectPath = m_objectPath;
        job->port = m_port;
    }
    m_pendingJobs.Add(job);
    return job;
}

HRESULT CServerRequest::Post(const std::string& formBody, std::int32_t value1, std::int32_t value2)
{
    PrepareEndpoint();
    std::shared_ptr<RequestJob> job = CreateJob(formBody, value1, value2);
    StartWorkerThread([job = std::move(job)] { RunJob(job); });
    return S_OK;
}

void CServerRequest::DropJob(const std::shared_ptr<RequestJob>& job)
{
    {
        std::lock_guard lock(job->lock);
        job->active = false;
    }
    m_pendingJobs.Remove(job);
}

void CServerRequest::RunJob(const std::shared_ptr<RequestJob>& job)
{
    if (!job || job->owner == nullptr)
        return;
    std::string body = job->formBody;
    std::replace(body.begin(), body.end(), ' ', '+');
    std::string answer;
    const HRESULT hr = HttpPostForm(job->serverHost, job->port, job->objectPath, body, answer, job->secure);

    std::lock_guard lock(job->lock);
    if (!job->active)
        return;
    CServerRequest* owner = job->owner;
    std::shared_ptr<CRequestNotifyTarget> target = job->target;
    if (Succeeded(hr)) {
        owner->ParseAnswer(answer, job->value1, job->value2);
        PostToUiThread([target, value1 = job->value1, value2 = job->value2] {
            if (CServerRequest* request = target->owner)
                request->NotifyCompleted(value1, value2);
        });
    } else {
        PostToUiThread([target, record = FailureRecord{job->value1, job->value2, hr}] {
            if (CServerRequest* request = target->owner)
                request->NotifyFailed(record);
        });
    }
    owner->m_pendingJobs.Remove(job);
}

void CServerRequest::NotifyCompleted(std::int32_t value1, std::int32_t value2)
{
    m_listeners.ForEach([&](IRequestListener* listener) { listener->OnRequestCompleted(this, value1, value2); });
}

void CServerRequest::NotifyFailed(const FailureRecord& record)
{
    m_listeners.ForEach([&](IRequestListener* listener) {
        listener->OnRequestFailed(this, record.result, record.value1, record.value2);
    });
}

void CServerRequest::ParseAnswer(const std::string&, std::int32_t, std::int32_t) {}

std::string CServerRequest::Page() const
{
    std::lock_guard lock(m_endpointLock);
    return m_page;
}

bool CServerRequest::Secure() const
{
    std::lock_guard lock(m_endpointLock);
    return m_secure;
}

std::string CServerRequest::ServerHost() const
{
    std::lock_guard lock(m_endpointLock);
    return m_serverHost;
}

std::string CServerRequest::ObjectPath() const
{
    std::lock_guard lock(m_endpointLock);
    return m_objectPath;
}

std::uint16_t CServerRequest::Port() const
{
    std::lock_guard lock(m_endpointLock);
    return m_port;
}

DWORD CServerRequest::ServiceType() const
{
    std::lock_guard lock(m_endpointLock);
    return m_serviceType;
}

bool CServerRequest::EndpointReady() const
{
    std::lock_guard lock(m_endpointLock);
    return m_endpointReady;
}
