#pragma once
// "UserLogin.jsp" over https: login (posted or synchronous) and logout, and the
// reader of the login answer (token, user identifier, exception text).
#include <cstdint>
#include <string>

#include "client/protocol/SummaryRequest.h"
#include "platform/Threading.h"

class CUserLoginRequest : public CSummaryRequest {
public:
    CUserLoginRequest();

    /// Asynchronous login; listeners hear of it when the answer has been read.
    HRESULT LoginPosted(const std::string& handle, const std::string& password);
    /// Synchronous login. E_FAIL when no user identifier came back; errorText then
    /// holds the server's exception text, else the raw answer, else "Server Error".
    HRESULT Login(const std::string& handle, const std::string& password, std::string& errorText);
    /// Logs token out, then clears the "Previous Session" preference.
    HRESULT Logout(const std::string& token, bool posted);
    /// Synchronous logout that leaves "Previous Session" as it is.
    HRESULT LogoutKeepingPreviousSession(const std::string& token);

    std::string Token() const;
    std::int32_t UserId() const;
    std::string ExceptionText() const;

    static std::string LoginBody(const std::string& handle, const std::string& password,
                                 const std::string& previousSession);
    static std::string LogoutBody(const std::string& token);
    /// The part of a token after its first ':' (the whole token without one).
    static std::string PreviousSessionOf(const std::string& token);
    /// The part of an exception text after its last ':' when that text has a
    /// ':' past its first character; otherwise the text itself.
    static std::string ExceptionMessageOf(const std::string& text);

protected:
    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;
    /// Forgets the results of the last exchange.
    void ResetResults();

private:
    mutable CCriticalSection m_lock;  // the hook of a posted login writes on a worker thread
    std::string m_exceptionText;
    std::string m_token;
    std::int32_t m_userId = 0;
};
