#include "client/app/UpdateSessionRequest.h"

#include "platform/Threading.h"
#include "platform/Url.h"

#include <atomic>

// Shared with the worker so that the events outlive the object when Stop
// returns before the worker has left Set().
struct CUpdateSessionRequest::WorkerState {
    CManualResetEvent wake;
    CManualResetEvent ended;
    std::atomic<bool> stop{false};
    SessionSnapshot snapshot;
    std::chrono::milliseconds interval{kDefaultInterval};
};

CUpdateSessionRequest::CUpdateSessionRequest()
{
    SetPage("UpdateSession.jsp", false);
}

CUpdateSessionRequest::~CUpdateSessionRequest()
{
    Stop();
}

std::string CUpdateSessionRequest::KeepAliveBody(const std::string& token)
{
    return "UserToken=" + FormValue(token) + "&App=Tessarin";
}

void CUpdateSessionRequest::Start(SessionSnapshot snapshot, std::chrono::milliseconds interval)
{
    if (m_state)
        return;
    auto state = std::make_shared<WorkerState>();
    state->snapshot = std::move(snapshot);
    state->interval = interval;
    m_state = state;
    StartWorkerThread([this, state] { RunWorker(state); });
}

void CUpdateSessionRequest::Stop()
{
    if (!m_state)
        return;
    std::shared_ptr<WorkerState> state = std::move(m_state);
    state->stop = true;
    state->wake.Set();
    state->ended.Wait();
}

void CUpdateSessionRequest::RunWorker(const std::shared_ptr<WorkerState>& state)
{
    while (!state->stop) {
        std::string token;
        if (state->snapshot && state->snapshot(token)) {
            // The endpoint is taken anew so that changed server settings apply.
            PrepareEndpoint();
            RunJob(CreateJob(KeepAliveBody(token), 0, 0));
        }
        state->wake.Wait(state->interval);
    }
    state->ended.Set();
}
