#pragma once
// The base of every server operation: one server page, its address, and
// synchronous or posted exchanges whose outcome listeners hear on the
// user-interface thread.
#include "client/protocol/GuardedList.h"
#include "client/protocol/RequestListener.h"
#include "platform/Result.h"
#include "platform/Threading.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class CServerRequest;

/// What a failed post hands to NotifyFailed.
struct FailureRecord {
    std::int32_t value1 = 0;
    std::int32_t value2 = 0;
    HRESULT result = E_FAIL;
};

/// Where posted results are delivered. Only the user-interface thread reads or
/// clears owner, so a task that runs after the request is gone finds nullptr.
struct CRequestNotifyTarget {
    CServerRequest* owner = nullptr;
};

/// One posted exchange. The endpoint is copied when the job is made, so the
/// worker never reads the request before it knows the request is still there.
struct RequestJob {
    CServerRequest* owner = nullptr;
    std::int32_t value1 = 0;
    std::int32_t value2 = 0;
    std::string formBody;
    bool active = true;  // guarded by lock; cleared when the owner goes away
    bool secure = false;
    std::string serverHost;
    std::string objectPath;
    std::uint16_t port = 80;
    std::shared_ptr<CRequestNotifyTarget> target;
    CCriticalSection lock;
};

class CServerRequest {
public:
    CServerRequest();
    /// Must run on the user-interface thread. Results of posts still under way
    /// are dropped: no answer hook, no notification.
    virtual ~CServerRequest();
    CServerRequest(const CServerRequest&) = delete;
    CServerRequest& operator=(const CServerRequest&) = delete;

    /// page is relative to the server folder, e.g. "bookmark/AddBookmark.jsp".
    HRESULT SetPage(std::string page, bool secure);
    void AddListener(IRequestListener* listener);
    void RemoveListener(IRequestListener* listener);

    /// Computes the endpoint from the active server settings, anew each time.
    void PrepareEndpoint();

    /// Exchanges formBody exactly as given on the calling thread, then runs the
    /// answer hook there when it succeeded. No listener is told.
    HRESULT Execute(const std::string& formBody, std::string& answer, std::int32_t value1 = 0, std::int32_t value2 = 0);
    /// Exchanges formBody, spaces sent as '+', on a worker thread; the answer
    /// hook runs there, then listeners are told on the user-interface thread.
    HRESULT Post(const std::string& formBody, std::int32_t value1 = 0, std::int32_t value2 = 0);

    /// Tells every listener, in registration order. Overrides update their
    /// state first and then call this.
    virtual void NotifyCompleted(std::int32_t value1, std::int32_t value2);
    virtual void NotifyFailed(const FailureRecord& record);
    /// The answer hook; for posts it runs on the worker thread.
    virtual void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2);

    std::string Page() const;
    bool Secure() const;
    std::string ServerHost() const;
    std::string ObjectPath() const;
    std::uint16_t Port() const;
    DWORD ServiceType() const;
    bool EndpointReady() const;
    std::size_t PendingJobCount() const { return m_pendingJobs.Size(); }

protected:
    /// Drops the results of every job still pending. A derived class whose
    /// answer hook reads its own members calls this first in its destructor,
    /// so no hook runs while those members are being destroyed.
    void CancelPendingJobs();

    /// Makes a job for formBody with the current endpoint and adds it to the
    /// pending jobs.
    std::shared_ptr<RequestJob> CreateJob(const std::string& formBody, std::int32_t value1, std::int32_t value2);
    /// Nobody will read the job's result: it is dropped, and the job leaves
    /// the pending jobs. The caller makes sure no worker starts it.
    void DropJob(const std::shared_ptr<RequestJob>& job);
    /// The worker's part of a post: exchange, hook, hand-over.
    static void RunJob(const std::shared_ptr<RequestJob>& job);

private:
    mutable std::mutex m_endpointLock;
    std::string m_serverHost;
    std::string m_objectPath;
    std::uint16_t m_port = 80;
    DWORD m_serviceType = 0;
    bool m_secure = false;
    std::shared_ptr<CRequestNotifyTarget> m_notifyTarget;
    CGuardedList<IRequestListener*> m_listeners;
    CGuardedList<std::shared_ptr<RequestJob>> m_pendingJobs;
    std::string m_page;
    bool m_endpointReady = false;
};
