#pragma once
// The session state of the application object: server settings, who is
// logged in, the session listeners, the login flow, logout and the keep-alive
// worker. Everything except the keep-alive worker runs on the user-interface
// thread.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "client/app/UpdateSessionRequest.h"
#include "client/protocol/GuardedList.h"
#include "client/protocol/RequestListener.h"
#include "client/protocol/ServerSettings.h"
#include "client/protocol/SessionListener.h"
#include "platform/Result.h"
#include "platform/Threading.h"

class CUserLoginRequest;
class ILoginPrompt;

class CSession : public IRequestListener {
public:
    CSession();
    ~CSession();
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;

    /// The settings every request reads once they are installed.
    CServerSettings& ServerSettings() { return m_settings; }
    const CServerSettings& ServerSettings() const { return m_settings; }
    /// Reads "appserver" (empty gives the default host) and "defaultports" and
    /// installs the settings for every request.
    void LoadServerSettings();
    /// Reads "autologin" and, when it is set, "userhandle" and "password".
    void LoadSavedLogin();

    bool IsLoggedIn() const;
    /// A consistent copy; empty while logged out.
    std::string Token() const;
    std::string CurrentHandle() const { return m_handle; }
    std::int32_t UserId() const { return m_userId; }

    bool AutomaticLogin() const { return m_autoLogin != 0; }
    std::string SavedHandle() const { return m_savedHandle; }
    std::string SavedPassword() const { return m_savedPassword; }
    /// Keeps the values and writes "userhandle", "password" and "autologin".
    void SaveLogin(const std::string& handle, const std::string& password, bool automaticLogin);

    /// Stores token and tells every listener, in registration order.
    void SetSession(const std::string& token);
    /// A listener added while a member is logged in is told at once.
    void AddSessionListener(ISessionListener* listener);
    void RemoveSessionListener(ISessionListener* listener);

    /// Posted login with the saved values when automatic login is on and both
    /// are saved; otherwise the Login dialog through prompt.
    void LoginFlow(ILoginPrompt& prompt);
    /// Synchronous; the member is logged out whatever the server answers.
    void Logout();
    /// Adopts a session made elsewhere (sign-up): handle, identifier, token.
    void AdoptSession(const std::string& handle, std::int32_t userId, const std::string& token);
    /// Ends the current server session before a sign-up is adopted, through a
    /// separate login request, leaving "Previous Session" and the local state.
    void EndServerSessionKeepingPrevious();

    /// The login request of the login flow (made on first use).
    CUserLoginRequest& LoginRequest();
    /// Removes this object from the login request's listeners and deletes it.
    void ReleaseLoginRequest();

    void StartKeepAlive(std::chrono::milliseconds interval = CUpdateSessionRequest::kDefaultInterval);
    /// Waits for the worker to end and deletes the keep-alive request.
    void StopKeepAlive();
    bool KeepAliveRunning() const { return m_keepAlive != nullptr; }

    void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) override;
    void OnRequestFailed(CServerRequest* request, HRESULT result, std::int32_t value1, std::int32_t value2) override;

private:
    bool KeepAliveSnapshot(std::string& token) const;

    CServerSettings m_settings;
    // Guards what the keep-alive worker reads: the token and the logged-in flag.
    mutable CCriticalSection m_lock;
    std::string m_token;
    DWORD m_loggedIn = 0;
    std::string m_handle;
    std::int32_t m_userId = 0;
    DWORD m_autoLogin = 0;
    std::string m_savedHandle;
    std::string m_savedPassword;
    CGuardedList<ISessionListener*> m_listeners;
    std::unique_ptr<CUserLoginRequest> m_loginRequest;
    std::unique_ptr<CUpdateSessionRequest> m_keepAlive;
};
