#pragma once
// "search/ResolveArtists.jsp": candidate catalogue artists for a name.
#include "client/catalogue/ArtistSummary.h"
#include "client/editing/CandidateStore.h"
#include "client/protocol/SummaryRequest.h"

#include <atomic>
#include <memory>
#include <vector>

class CResolveArtistsRequest : public CSummaryRequest {
public:
    CResolveArtistsRequest();
    ~CResolveArtistsRequest() override;

    /// Posts one lookup; returns its key (value 1; the first key is 1).
    /// context comes back as value 2.
    std::int32_t Resolve(const std::string& name, std::int32_t context);
    static std::string Body(const std::string& name);

    std::int32_t GetCandidateCount(std::int32_t key) const;
    /// Owned by the request; nullptr when out of range.
    const ArtistSummary* GetCandidate(std::int32_t key, std::int32_t index) const;
    std::vector<std::unique_ptr<ArtistSummary>> TakeCandidates(std::int32_t key);

    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    std::atomic<std::int32_t> m_keyCounter{0};
    CCandidateStore<ArtistSummary> m_candidates;
};
