#include "client/app/CheckForUpgradeRequest.h"

#include "client/xml/XmlDocumentWrapper.h"
#include "client/xml/XmlText.h"
#include "platform/Url.h"

#include <mutex>

CCheckForUpgradeRequest::CCheckForUpgradeRequest()
{
    SetPage("CheckForUpgrade.jsp", false);
}

CCheckForUpgradeRequest::~CCheckForUpgradeRequest()
{
    CancelPendingJobs();
}

std::string CCheckForUpgradeRequest::CheckBody(const std::string& version)
{
    return "version=" + FormValue(version);
}

HRESULT CCheckForUpgradeRequest::Check(const std::string& version)
{
    return Post(CheckBody(version), 0, 0);
}

bool CCheckForUpgradeRequest::CheckOnDemand(const std::string& version)
{
    if (Answered())
        return true;
    Check(version);
    return false;
}

bool CCheckForUpgradeRequest::Answered() const
{
    std::lock_guard lock(m_lock);
    return m_answered;
}

bool CCheckForUpgradeRequest::UpgradeAvailable() const
{
    std::lock_guard lock(m_lock);
    return m_upgradeAvailable;
}

bool CCheckForUpgradeRequest::LastAnswerFailed() const
{
    std::lock_guard lock(m_lock);
    return m_failed;
}

std::string CCheckForUpgradeRequest::NewVersion() const
{
    std::lock_guard lock(m_lock);
    return m_newVersion;
}

std::string CCheckForUpgradeRequest::DownloadUrl() const
{
    std::lock_guard lock(m_lock);
    return m_downloadUrl;
}

bool CCheckForUpgradeRequest::ShowStatusOnCompletion() const
{
    std::lock_guard lock(m_lock);
    return !m_failed && m_upgradeAvailable;
}

std::string CCheckForUpgradeRequest::DownloadAddress() const
{
    std::lock_guard lock(m_lock);
    return m_downloadUrl.empty() ? std::string(kProductWebSite) : m_downloadUrl;
}

void CCheckForUpgradeRequest::ParseAnswer(const std::string& answer, std::int32_t, std::int32_t)
{
    const XmlDocumentPtr document = LoadXmlFromText(answer);
    const CXmlNode* available = document ? FirstElementByTagName(document.get(), u"UpgradeAvailable") : nullptr;
    std::lock_guard lock(m_lock);
    if (!available) {
        m_failed = true;
        return;
    }
    if (ParseDecimal(ElementText(available)) != 0) {
        m_upgradeAvailable = true;
        if (const CXmlNode* version = FirstElementByTagName(document.get(), u"NewVersion"))
            m_newVersion = ElementTextUtf8(version);
        const CXmlNode* url = FirstElementByTagName(document.get(), u"DownloadURL");
        m_downloadUrl = url ? ElementTextUtf8(url) : std::string(kProductWebSite);
    }
    m_answered = true;
    m_failed = false;
}
