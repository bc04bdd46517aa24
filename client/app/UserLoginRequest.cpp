#include "client/app/UserLoginRequest.h"

#include "client/app/Preferences.h"
#include "client/xml/XmlDocumentWrapper.h"
#include "client/xml/XmlText.h"
#include "platform/Url.h"
#include "platform/Utf.h"

#include <mutex>

CUserLoginRequest::CUserLoginRequest()
{
    SetPage("UserLogin.jsp", true);
}

std::string CUserLoginRequest::LoginBody(const std::string& handle, const std::string& password,
                                         const std::string& previousSession)
{
    return "Action=Login&App=Tessarin&UserHandle=" + FormValue(handle) + "&PWD=" + FormValue(password) +
           "&PrevSession=" + FormValue(previousSession);
}

std::string CUserLoginRequest::LogoutBody(const std::string& token)
{
    return "Action=Logout&UserToken=" + FormValue(token);
}

std::string CUserLoginRequest::PreviousSessionOf(const std::string& token)
{
    const std::size_t colon = token.find(':');
    return colon == std::string::npos ? token : token.substr(colon + 1);
}

std::string CUserLoginRequest::ExceptionMessageOf(const std::string& text)
{
    const std::size_t colon = text.rfind(':');
    return (colon != std::string::npos && colon > 0) ? text.substr(colon + 1) : text;
}

void CUserLoginRequest::ResetResults()
{
    std::lock_guard lock(m_lock);
    m_exceptionText.clear();
    m_token.clear();
    m_userId = 0;
}

HRESULT CUserLoginRequest::LoginPosted(const std::string& handle, const std::string& password)
{
    ResetResults();
    const std::string previous = CPreferences().GetString(Pref::PreviousSession);
    return Post(LoginBody(handle, password, previous), 0, 0);
}

HRESULT CUserLoginRequest::Login(const std::string& handle, const std::string& password, std::string& errorText)
{
    errorText.clear();
    ResetResults();
    const std::string previous = CPreferences().GetString(Pref::PreviousSession);
    std::string answer;
    HRESULT hr = Execute(LoginBody(handle, password, previous), answer);
    if (UserId() == 0) {
        hr = E_FAIL;
        errorText = ExceptionText();
        if (errorText.empty())
            errorText = answer;
        if (errorText.empty())
            errorText = "Server Error";
    }
    return hr;
}

HRESULT CUserLoginRequest::Logout(const std::string& token, bool posted)
{
    HRESULT hr = S_OK;
    if (posted) {
        hr = Post(LogoutBody(token), 0, 0);
    } else {
        std::string answer;
        hr = Execute(LogoutBody(token), answer);
    }
    CPreferences().SetString(Pref::PreviousSession, "");
    return hr;
}

HRESULT CUserLoginRequest::LogoutKeepingPreviousSession(const std::string& token)
{
    std::string answer;
    return Execute(LogoutBody(token), answer);
}

std::string CUserLoginRequest::Token() const
{
    std::lock_guard lock(m_lock);
    return m_token;
}

std::int32_t CUserLoginRequest::UserId() const
{
    std::lock_guard lock(m_lock);
    return m_userId;
}

std::string CUserLoginRequest::ExceptionText() const
{
    std::lock_guard lock(m_lock);
    return m_exceptionText;
}

void CUserLoginRequest::ParseAnswer(const std::string& answer, std::int32_t, std::int32_t)
{
    const XmlDocumentPtr document = LoadXmlFromText(answer);
    if (!document)
        return;
    std::lock_guard lock(m_lock);
    if (const CXmlNode* session = FirstElementByTagName(document.get(), u"Session")) {
        // A Session without "userToken" counts as an empty token.
        m_token = Utf16ToUtf8(AttributeValue(session, u"userToken"));
        for (const CXmlNode* child = session->firstChild(); child; child = child->nextSibling()) {
            if (child->nodeName() == u"UserID")
                m_userId = static_cast<std::int32_t>(ParseDecimal(ElementText(child)));
        }
        if (!m_token.empty()) {
            const std::string previous = PreviousSessionOf(m_token);
            if (!previous.empty())
                CPreferences().SetString(Pref::PreviousSession, previous);
        }
    }
    if (const CXmlNode* exception = FirstElementByTagName(document.get(), u"Exception"))
        m_exceptionText = ExceptionMessageOf(ElementTextUtf8(exception));
}
