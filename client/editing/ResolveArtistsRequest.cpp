#include "client/editing/ResolveArtistsRequest.h"

#include "client/catalogue/SummaryReaders.h"
#include "platform/Url.h"

CResolveArtistsRequest::CResolveArtistsRequest()
{
    SetPage("search/ResolveArtists.jsp", false);
}

CResolveArtistsRequest::~CResolveArtistsRequest()
{
    CancelPendingJobs();
}

std::string CResolveArtistsRequest::Body(const std::string& name)
{
    return "ArtistName=" + FormValue(name);
}

std::int32_t CResolveArtistsRequest::Resolve(const std::string& name, std::int32_t context)
{
    const std::int32_t key = ++m_keyCounter;
    Post(Body(name), key, context);
    return key;
}

void CResolveArtistsRequest::ParseAnswer(const std::string& answer, std::int32_t key, std::int32_t)
{
    m_candidates.StoreAnswer(key, answer, u"ArtistSummary", ReadArtistSummary);
}

std::int32_t CResolveArtistsRequest::GetCandidateCount(std::int32_t key) const
{
    return m_candidates.Count(key);
}

const ArtistSummary* CResolveArtistsRequest::GetCandidate(std::int32_t key, std::int32_t index) const
{
    return m_candidates.Get(key, index);
}

std::vector<std::unique_ptr<ArtistSummary>> CResolveArtistsRequest::TakeCandidates(std::int32_t key)
{
    return m_candidates.Take(key);
}
