#include "client/editing/ResolveArtistsRequest.h"

#include "client/catalogue/AnswerXml.h"
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
    Candidates candidates;
    if (const XmlDocumentPtr document = LoadAnswerDocument(answer))
        for (const CXmlNode* element : ElementsNamed(*document, u"ArtistSummary"))
            candidates.push_back(ReadArtistSummary(*element));
    std::lock_guard lock(m_lock);
    m_results[key] = std::move(candidates);
}

std::int32_t CResolveArtistsRequest::GetCandidateCount(std::int32_t key) const
{
    std::lock_guard lock(m_lock);
    const auto found = m_results.find(key);
    return found == m_results.end() ? 0 : static_cast<std::int32_t>(found->second.size());
}

const ArtistSummary* CResolveArtistsRequest::GetCandidate(std::int32_t key, std::int32_t index) const
{
    std::lock_guard lock(m_lock);
    const auto found = m_results.find(key);
    if (found == m_results.end() || index < 0 || static_cast<std::size_t>(index) >= found->second.size())
        return nullptr;
    return found->second[static_cast<std::size_t>(index)].get();
}

std::vector<std::unique_ptr<ArtistSummary>> CResolveArtistsRequest::TakeCandidates(std::int32_t key)
{
    std::lock_guard lock(m_lock);
    const auto found = m_results.find(key);
    if (found == m_results.end())
        return {};
    Candidates taken = std::move(found->second);
    m_results.erase(found);
    return taken;
}
