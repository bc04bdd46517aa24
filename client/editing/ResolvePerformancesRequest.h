#pragma once
// "search/ResolvePerformances.jsp": candidate catalogue tracks for a typed or
// dropped title and artist. Lookups of one editor grid run one at a time, in
// the order they were asked for.
#include "client/catalogue/PerformanceSummary.h"
#include "client/editing/CandidateStore.h"
#include "client/protocol/QueuedServerRequest.h"

#include <atomic>
#include <memory>
#include <vector>

class CResolvePerformancesRequest : public CQueuedServerRequest {
public:
    /// Create with new, end with Shutdown().
    CResolvePerformancesRequest();

    /// Queues one lookup; returns its key (value 1 of the notifications; the
    /// first key is 0). context comes back as value 2.
    std::int32_t Resolve(const std::string& title, const std::string& artist, std::int32_t context);
    static std::string Body(const std::string& title, const std::string& artist);

    /// Whether the answer of that key has arrived.
    bool HasResult(std::int32_t key) const;
    /// The records stay with the request until taken; nullptr when the list
    /// is absent, empty or index out of range.
    const PerformanceSummary* GetFirstCandidate(std::int32_t key) const;
    std::int32_t GetCandidateCount(std::int32_t key) const;
    const PerformanceSummary* GetCandidate(std::int32_t key, std::int32_t index) const;
    /// Hands every candidate of that key to the caller and forgets the key.
    std::vector<std::unique_ptr<PerformanceSummary>> TakeCandidates(std::int32_t key);

    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

protected:
    ~CResolvePerformancesRequest() override;

private:
    std::atomic<std::int32_t> m_nextKey{0};
    CCandidateStore<PerformanceSummary> m_candidates;
};
