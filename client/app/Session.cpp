#include "client/app/Session.h"

#include "client/app/LoginPrompt.h"
#include "client/app/Preferences.h"
#include "client/app/UserLoginRequest.h"
#include "platform/MessageBox.h"

#include <mutex>

CSession::CSession() = default;

CSession::~CSession()
{
    StopKeepAlive();
    ReleaseLoginRequest();
    if (&ActiveServerSettings() == &m_settings)
        SetActiveServerSettings(nullptr);
}

void CSession::LoadServerSettings()
{
    CPreferences preferences;
    std::string host = preferences.GetString(Pref::AppServer);
    if (host.empty())
        host = kDefaultServerHost;
    m_settings.SetServerHost(std::move(host));
    m_settings.SetDefaultPorts(preferences.GetNumber(Pref::DefaultPorts, 1));
    SetActiveServerSettings(&m_settings);
}

void CSession::LoadSavedLogin()
{
    CPreferences preferences;
    m_autoLogin = preferences.GetNumber(Pref::AutoLogin, 0);
    if (m_autoLogin != 0) {
        m_savedHandle = preferences.GetString(Pref::UserHandle);
        m_savedPassword = preferences.GetString(Pref::Password);
    }
}

void CSession::SaveLogin(const std::string& handle, const std::string& password, bool automaticLogin)
{
    m_savedHandle = handle;
    m_savedPassword = password;
    m_autoLogin = automaticLogin ? 1 : 0;
    CPreferences preferences;
    preferences.SetString(Pref::UserHandle, handle);
    preferences.SetString(Pref::Password, password);
    preferences.SetNumber(Pref::AutoLogin, m_autoLogin);
}

bool CSession::IsLoggedIn() const
{
    std::lock_guard lock(m_lock);
    return m_loggedIn != 0;
}

std::string CSession::Token() const
{
    std::lock_guard lock(m_lock);
    return m_token;
}

bool CSession::KeepAliveSnapshot(std::string& token) const
{
    std::lock_guard lock(m_lock);
    if (m_loggedIn == 0)
        return false;
    token = m_token;
    return true;
}

void CSession::SetSession(const std::string& token)
{
    std::string current;
    {
        std::lock_guard lock(m_lock);
        m_token = token;
        current = m_token;
    }
    const std::string handle = m_handle;
    m_listeners.ForEach([&](ISessionListener* listener) { listener->OnSessionChanged(handle, current); });
}

void CSession::AddSessionListener(ISessionListener* listener)
{
    m_listeners.Add(listener);
    if (IsLoggedIn())
        listener->OnSessionChanged(m_handle, Token());
}

void CSession::RemoveSessionListener(ISessionListener* listener)
{
    m_listeners.Remove(listener);
}

CUserLoginRequest& CSession::LoginRequest()
{
    if (!m_loginRequest) {
        m_loginRequest = std::make_unique<CUserLoginRequest>();
        m_loginRequest->AddListener(this);
    }
    return *m_loginRequest;
}

void CSession::ReleaseLoginRequest()
{
    if (!m_loginRequest)
        return;
    m_loginRequest->RemoveListener(this);
    m_loginRequest.reset();
}

void CSession::LoginFlow(ILoginPrompt& prompt)
{
    CUserLoginRequest& request = LoginRequest();
    if (m_autoLogin != 0 && !m_savedHandle.empty() && !m_savedPassword.empty()) {
        request.LoginPosted(m_savedHandle, m_savedPassword);
        return;
    }
    LoginDialogResult result;
    if (!prompt.RunLoginDialog(request, result))
        return;
    m_handle = result.handle;
    m_userId = result.userId;
    {
        std::lock_guard lock(m_lock);
        m_loggedIn = 1;
    }
    if (result.saveLogin)
        SaveLogin(result.handle, result.password, true);
    SetSession(result.token);
}

void CSession::OnRequestCompleted(CServerRequest* request, std::int32_t, std::int32_t)
{
    if (!m_loginRequest || request != m_loginRequest.get())
        return;
    const std::int32_t userId = m_loginRequest->UserId();
    m_userId = userId;
    if (userId == 0) {
        ShowMessageBox("Automatic login failed", {}, kMbOk);
        return;
    }
    if (m_autoLogin != 0)
        m_handle = m_savedHandle;
    {
        std::lock_guard lock(m_lock);
        m_loggedIn = 1;
    }
    SetSession(m_loginRequest->Token());
}

void CSession::OnRequestFailed(CServerRequest*, HRESULT, std::int32_t, std::int32_t)
{
    // A transport failure of the automatic login leaves the member logged out, silently.
}

void CSession::Logout()
{
    std::string token;
    {
        std::lock_guard lock(m_lock);
        m_loggedIn = 0;
        token = m_token;
    }
    LoginRequest().Logout(token, false);
    m_handle.clear();
    m_userId = 0;
    SetSession({});
}

void CSession::AdoptSession(const std::string& handle, std::int32_t userId, const std::string& token)
{
    m_handle = handle;
    m_userId = userId;
    {
        std::lock_guard lock(m_lock);
        m_loggedIn = 1;
    }
    SetSession(token);
}

void CSession::EndServerSessionKeepingPrevious()
{
    if (!IsLoggedIn())
        return;
    CUserLoginRequest separate;
    separate.LogoutKeepingPreviousSession(Token());
}

void CSession::StartKeepAlive(std::chrono::milliseconds interval)
{
    if (m_keepAlive)
        return;
    m_keepAlive = std::make_unique<CUpdateSessionRequest>();
    m_keepAlive->Start([this](std::string& token) { return KeepAliveSnapshot(token); }, interval);
}

void CSession::StopKeepAlive()
{
    if (!m_keepAlive)
        return;
    m_keepAlive->Stop();
    m_keepAlive.reset();
}
