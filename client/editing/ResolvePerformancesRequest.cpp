#include "client/editing/ResolvePerformancesRequest.h"

#include "client/catalogue/AnswerXml.h"
#include "client/catalogue/SummaryReaders.h"
#include "platform/Url.h"

CResolvePerformancesRequest::CResolvePerformancesRequest()
{
    SetPage("search/ResolvePerformances.jsp", false);
}

CResolvePerformancesRequest::~CResolvePerformancesRequest()
{
    CancelPendingJobs();
}

std::string CResolvePerformancesRequest::Body(const std::string& title, const std::string& artist)
{
    std::string body;
    if (!title.empty())
        body = "PerformanceTitle=" + FormValue(title);
    if (!artist.empty()) {
        if (!body.empty())
            body += '&';
        body += "PrimaryArtistName=" + FormValue(artist);
    }
    return body;
}

std::int32_t CResolvePerformancesRequest::Resolve(const std::string& title, const std::string& artist,
                                                  std::int32_t context)
{
    const std::int32_t key = m_nextKey++;
    QueuedPost(Body(title, artist), key, context);
    return key;
}

void CResolvePerformancesRequest::ParseAnswer(const std::string& answer, std::int32_t key, std::int32_t)
{
    Candidates candidates;
    if (const XmlDocumentPtr document = LoadAnswerDocument(answer))
        for (const CXmlNode* element : ElementsNamed(*document, u"PerformanceSummary"))
            candidates.push_back(ReadPerformanceSummary(*element));
    std::lock_guard lock(m_lock);
    m_results[key] = std::move(candidates);
}

bool CResolvePerformancesRequest::HasResult(std::int32_t key) const
{
    std::lock_guard lock(m_lock);
    return m_results.count(key) != 0;
}

const PerformanceSummary* CResolvePerformancesRequest::GetFirstCandidate(std::int32_t key) const
{
    return GetCandidate(key, 0);
}

std::int32_t CResolvePerformancesRequest::GetCandidateCount(std::int32_t key) const
{
    std::lock_guard lock(m_lock);
    const auto found = m_results.find(key);
    return found == m_results.end() ? 0 : static_cast<std::int32_t>(found->second.size());
}

const PerformanceSummary* CResolvePerformancesRequest::GetCandidate(std::int32_t key, std::int32_t index) const
{
    std::lock_guard lock(m_lock);
    const auto found = m_results.find(key);
    if (found == m_results.end() || index < 0 || static_cast<std::size_t>(index) >= found->second.size())
        return nullptr;
    return found->second[static_cast<std::size_t>(index)].get();
}

std::vector<std::unique_ptr<PerformanceSummary>> CResolvePerformancesRequest::TakeCandidates(std::int32_t key)
{
    std::lock_guard lock(m_lock);
    const auto found = m_results.find(key);
    if (found == m_results.end())
        return {};
    Candidates taken = std::move(found->second);
    m_results.erase(found);
    return taken;
}
