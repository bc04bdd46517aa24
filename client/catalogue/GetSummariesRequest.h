#pragma once
// "search/GetSummaries.jsp": the summaries of items given by identifier.
#include "client/catalogue/ItemRef.h"
#include "client/protocol/SummaryRequest.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

enum SummaryKind : std::int32_t {
    kSummaryPlaylist = 0,
    kSummaryUser = 1,
    kSummaryArtist = 2,
    kSummaryPerformance = 3,
};

class CGetSummariesRequest : public CSummaryRequest {
public:
    CGetSummariesRequest();
    ~CGetSummariesRequest() override;

    /// ids: decimal identifiers joined by ","; tag comes back as value 1.
    HRESULT FetchPlaylists(const std::string& ids, std::int32_t tag);
    HRESULT FetchUsers(const std::string& ids, std::int32_t tag);
    HRESULT FetchArtists(const std::string& ids, std::int32_t tag);
    HRESULT FetchPerformances(const std::string& ids, std::int32_t tag);
    static std::string Body(SummaryKind kind, const std::string& ids);

    SummaryKind Kind() const { return m_kind; }
    std::int32_t Count() const;
    /// Owned by the request until its next answer; nullptr when out of range.
    CItemRef* Item(std::int32_t index) const;

    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override;

private:
    // An item reference that owns the record it was made for.
    struct OwnedItem;

    HRESULT Fetch(SummaryKind kind, const std::string& ids, std::int32_t tag);

    std::atomic<SummaryKind> m_kind{kSummaryPlaylist};
    mutable std::mutex m_lock;
    std::vector<std::unique_ptr<OwnedItem>> m_items;
};
