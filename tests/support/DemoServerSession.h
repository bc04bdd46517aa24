#pragma once
// For journeys against corvanta-server --demo: the session pointed at the
// server, the Login dialog as the demo member fills it in, and a request
// posted and awaited on the Qt event loop.
#include "client/app/LoginPrompt.h"
#include "client/app/Session.h"
#include "client/app/UserLoginRequest.h"
#include "client/protocol/RequestListener.h"
#include "client/protocol/ServerRequest.h"
#include "platform/MessageBox.h"
#include "platform/Threading.h"
#include "tests/support/QtSpin.h"
#include "tests/support/ServerProcess.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdlib>

#include <functional>
#include <string>

/// The session's and this process's requests go to server, on its plain
/// and secure ports, its certificate trusted.
inline void UseDemoServer(CSession& session, const CServerProcess& server)
{
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    setenv("CORVANTA_CA_FILE", server.CertificateFile().c_str(), 1);
    session.ServerSettings().SetServerHost("127.0.0.1");
    session.ServerSettings().SetPortOverride(server.HttpPort(), server.HttpsPort());
    SetActiveServerSettings(&session.ServerSettings());
}

/// Undoes UseDemoServer and the test's message box handler once the
/// exchanges under way have ended; false when they did not end in time.
inline bool LeaveDemoServer()
{
    const bool ended = WaitForWorkerThreads(std::chrono::seconds(30));
    QCoreApplication::processEvents();
    SetMessageBoxHandler({});
    SetActiveServerSettings(nullptr);
    unsetenv("CORVANTA_CA_FILE");
    return ended;
}

class CDemoLogin : public ILoginPrompt {
public:
    bool RunLoginDialog(CUserLoginRequest& request, LoginDialogResult& result) override
    {
        std::string error;
        if (Failed(request.Login("demo", "demo", error)))
            return false;
        result.handle = "demo";
        result.password = "demo";
        result.token = request.Token();
        result.userId = request.UserId();
        return true;
    }
};

/// Posts with send and runs the event loop until request has answered;
/// false when it failed or did not answer in time.
inline bool AwaitRequest(CServerRequest& request, const std::function<void()>& send)
{
    struct Completion : IRequestListener {
        void OnRequestCompleted(CServerRequest*, std::int32_t, std::int32_t) override { done = true; }
        void OnRequestFailed(CServerRequest*, HRESULT, std::int32_t, std::int32_t) override { done = failed = true; }
        bool done = false;
        bool failed = false;
    } completion;
    request.AddListener(&completion);
    send();
    const bool told = SpinUntil([&] { return completion.done; });
    request.RemoveListener(&completion);
    return told && !completion.failed;
}
