#pragma once
// "UpdateSession.jsp": the keep-alive worker. From Start to Stop it wakes every
// interval and, while a member is logged in, tells the server the session is
// still in use. The answer is ignored.
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "client/protocol/ServerRequest.h"

class CUpdateSessionRequest : public CServerRequest {
public:
    /// Fills token with a consistent copy of the session token and returns
    /// true while a member is logged in. Called on the worker thread.
    using SessionSnapshot = std::function<bool(std::string& token)>;

    static constexpr std::chrono::milliseconds kDefaultInterval{900000};

    CUpdateSessionRequest();
    /// Stops the worker when it still runs.
    ~CUpdateSessionRequest() override;

    /// Starts the worker; the first check is made at once. Does nothing when
    /// the worker already runs.
    void Start(SessionSnapshot snapshot, std::chrono::milliseconds interval = kDefaultInterval);
    /// Wakes the worker and waits until it has ended: at most the exchange
    /// under way plus the time to notice the wake-up.
    void Stop();
    bool Running() const { return m_state != nullptr; }

    static std::string KeepAliveBody(const std::string& token);

private:
    struct WorkerState;
    void RunWorker(const std::shared_ptr<WorkerState>& state);

    std::shared_ptr<WorkerState> m_state;
};
