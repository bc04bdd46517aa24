#include "client/catalogue/GetUserPlaylistsRequest.h"

#include "client/catalogue/AnswerXml.h"
#include "client/catalogue/SummaryReaders.h"
#include "platform/Url.h"

CGetUserPlaylistsRequest::CGetUserPlaylistsRequest()
{
    SetPage("GetUserPlaylists.jsp", false);
}

CGetUserPlaylistsRequest::~CGetUserPlaylistsRequest()
{
    CancelPendingJobs();
}

std::string CGetUserPlaylistsRequest::Body(const std::string& token)
{
    return "user=" + FormValue(token);
}

HRESULT CGetUserPlaylistsRequest::Fetch(const std::string& token)
{
    return Post(Body(token), 0, 0);
}

PlaylistSummary CGetUserPlaylistsRequest::Get(std::int32_t index) const
{
    std::lock_guard lock(m_lock);
    if (index < 0 || static_cast<std::size_t>(index) >= m_results.size())
        return {};
    return *m_results[static_cast<std::size_t>(index)];
}

void CGetUserPlaylistsRequest::Clear()
{
    std::lock_guard lock(m_lock);
    m_results.clear();
}

void CGetUserPlaylistsRequest::NotifyCompleted(std::int32_t value1, std::int32_t value2)
{
    {
        std::lock_guard lock(m_lock);
        m_count = static_cast<std::int32_t>(m_results.size());
    }
    CSummaryRequest::NotifyCompleted(value1, value2);
}

void CGetUserPlaylistsRequest::ParseAnswer(const std::string& answer, std::int32_t, std::int32_t)
{
    const XmlDocumentPtr document = LoadAnswerDocument(answer);
    if (!document)
        return;
    const auto elements = ElementsNamed(*document, u"PlaylistSummary");
    if (elements.empty())
        return;
    std::vector<std::unique_ptr<PlaylistSummary>> parsed;
    for (const CXmlNode* element : elements)
        parsed.push_back(ReadPlaylistSummary(*element));
    std::lock_guard lock(m_lock);
    for (auto& record : parsed)
        m_results.push_back(std::move(record));
}
