#pragma once
// The application-wide searches: posts each query with the search request of
// its kind, keeps every search's identifiers and results, and fetches further
// results a page at a time. Everything runs on the user-interface thread.
#include "client/catalogue/GetSummariesRequest.h"
#include "client/protocol/GuardedList.h"
#include "client/protocol/RequestListener.h"
#include "client/search/SearchForArtistsRequest.h"
#include "client/search/SearchForPerformancesRequest.h"
#include "client/search/SearchForPlaylistsRequest.h"
#include "client/search/SearchForUsersRequest.h"
#include "client/search/SearchListener.h"
#include "client/search/SearchQuery.h"
#include "client/search/SearchRecord.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class CSearchController : public IRequestListener {
public:
    /// Identifiers asked for by one page.
    static constexpr std::int32_t kPageSize = 50;

    CSearchController();
    virtual ~CSearchController();
    CSearchController(const CSearchController&) = delete;
    CSearchController& operator=(const CSearchController&) = delete;

    void AddListener(ISearchListener* listener);
    void RemoveListener(ISearchListener* listener);

    /// Takes the query; returns the search index (the first search is 0).
    std::int32_t Search(std::unique_ptr<CSearchQuery> query);
    /// Asks for the next identifiers of that search that have no result yet.
    void FetchNextPage(std::int32_t index);
    void BeginGroup(const std::string& title);
    void EndGroup();

    std::int32_t SearchCount() const { return static_cast<std::int32_t>(m_searches.size()); }
    /// Searches posted and neither answered nor failed.
    std::int32_t PendingCount() const { return m_pendingCount; }
    std::int32_t IdentifierCount(std::int32_t index) const;
    std::int32_t ResultCount(std::int32_t index) const;
    /// Whether some identifiers of that search have not been asked for yet.
    /// It is not the result count: a page may bring fewer summaries than it
    /// asked for (an item deleted since the search).
    bool HasMoreResults(std::int32_t index) const;
    /// Still owned by the controller; nullptr when out of range.
    CSearchResultItem* Result(std::int32_t index, std::int32_t i) const;
    const CSearchQuery* Query(std::int32_t index) const;
    const CSearchRecord* Record(std::int32_t index) const;

    void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) override;
    void OnRequestFailed(CServerRequest* request, HRESULT result, std::int32_t value1, std::int32_t value2) override;

private:
    CSearchRecord* RecordAt(std::int32_t index) const;
    /// Posts the search; 0 when the kind has no search.
    std::int32_t PostQuery(const CSearchQuery& query, std::int32_t index);
    template <class Request>
    void TakeFirstAnswer(Request& request, CSearchRecord& record);
    void SearchFinished();
    void PostNextPage();
    void TakePage(CSearchRecord& record, std::size_t pageEnd);

    std::int32_t m_pendingCount = 0;
    std::int32_t m_searchCounter = 0;
    CGuardedList<ISearchListener*> m_listeners;
    std::vector<std::unique_ptr<CSearchRecord>> m_searches;
    // Pages wait here while another is being fetched: the summaries request
    // keeps one answer at a time.
    std::deque<std::int32_t> m_pageQueue;
    bool m_pageInFlight = false;
    // Where the search's next page starts once the page in flight is answered.
    std::size_t m_pageInFlightEnd = 0;
    // Declared last so they go first: no answer arrives once the records go.
    CSearchForPlaylistsRequest m_playlists;
    CSearchForUsersRequest m_users;
    CSearchForArtistsRequest m_artists;
    CSearchForPerformancesRequest m_performances;
    CGetSummariesRequest m_summaries;
};
