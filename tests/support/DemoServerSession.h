#pragma once
// For journeys against corvanta-server --demo: the Login dialog as the demo
// member fills it in, and a request posted and awaited on the Qt event loop.
#include "client/app/LoginPrompt.h"
#include "client/app/UserLoginRequest.h"
#include "client/protocol/RequestListener.h"
#include "client/protocol/ServerRequest.h"
#include "tests/support/QtSpin.h"

#include <functional>
#include <string>

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
