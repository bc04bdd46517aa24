#include "client/editing/ResolvePerformancesRequest.h"

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
    m_candidates.StoreAnswer(key, answer, u"PerformanceSummary", ReadPerformanceSummary);
}

bool CResolvePerformancesRequest::HasResult(std::int32_t key) const
{
    return m_candidates.Has(key);
}

const PerformanceSummary* CResolvePerformancesRequest::GetFirstCandidate(std::int32_t key) const
{
    return GetCandidate(key, 0);
}

std::int32_t CResolvePerformancesRequest::GetCandidateCount(std::int32_t key) const
{
    return m_candidates.Count(key);
}

const PerformanceSummary* CResolvePerformancesRequest::GetCandidate(std::int32_t key, std::int32_t index) const
{
    return m_candidates.Get(key, index);
}

std::vector<std::unique_ptr<PerformanceSummary>> CResolvePerformancesRequest::TakeCandidates(std::int32_t key)
{
    return m_candidates.Take(key);
}
