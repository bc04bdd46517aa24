#include "client/search/SearchController.h"

#include "client/catalogue/ArtistSummary.h"
#include "client/catalogue/PerformanceSummary.h"
#include "client/catalogue/PlaylistSummary.h"
#include "client/catalogue/UserSummary.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The value of each field code that the query sets; a later criterion wins.
struct CollectedFields {
    std::array<std::string, 9> texts;
    std::array<std::int32_t, 9> numbers{};
};

CollectedFields Collect(const CSearchQuery& query)
{
    CollectedFields fields;
    for (const SearchCriterion& criterion : query.criteria) {
        switch (criterion.field) {
        case kFieldGenre:
        case kFieldMood: fields.numbers[static_cast<std::size_t>(criterion.field)] = criterion.number; break;
        case kFieldPlaylistTitle:
        case kFieldPlaymakerName:
        case kFieldArtistName:
        case kFieldTrackName:
        case kFieldTheme:
        case kFieldAlbumTitle: fields.texts[static_cast<std::size_t>(criterion.field)] = criterion.text; break;
        default: break;
        }
    }
    return fields;
}

// The search controller always asks for search type 0.
SearchText Text(const CollectedFields& fields, SearchField field)
{
    return SearchText{fields.texts[static_cast<std::size_t>(field)], 0};
}

SearchNumber Number(const CollectedFields& fields, SearchField field)
{
    return SearchNumber{fields.numbers[static_cast<std::size_t>(field)], 0};
}

std::unique_ptr<CSearchResultItem> CopyOf(const CItemRef& item)
{
    if (const auto* p = item.AsPlaylist())
        return std::make_unique<CSearchResultItem>(std::make_unique<PlaylistSummary>(*p));
    if (const auto* u = item.AsUser())
        return std::make_unique<CSearchResultItem>(std::make_unique<UserSummary>(*u));
    if (const auto* a = item.AsArtist())
        return std::make_unique<CSearchResultItem>(std::make_unique<ArtistSummary>(*a));
    if (const auto* t = item.AsPerformance())
        return std::make_unique<CSearchResultItem>(std::make_unique<PerformanceSummary>(*t));
    return nullptr;
}

}  // namespace

CSearchController::CSearchController()
{
    m_playlists.AddListener(this);
    m_users.AddListener(this);
    m_artists.AddListener(this);
    m_performances.AddListener(this);
    m_summaries.AddListener(this);
}

CSearchController::~CSearchController() = default;

void CSearchController::AddListener(ISearchListener* listener)
{
    m_listeners.Add(listener);
}

void CSearchController::RemoveListener(ISearchListener* listener)
{
    m_listeners.Remove(listener);
}

CSearchRecord* CSearchController::RecordAt(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_searches.size())
        return nullptr;
    return m_searches[static_cast<std::size_t>(index)].get();
}

const CSearchRecord* CSearchController::Record(std::int32_t index) const
{
    return RecordAt(index);
}

std::int32_t CSearchController::IdentifierCount(std::int32_t index) const
{
    const CSearchRecord* record = RecordAt(index);
    return record ? static_cast<std::int32_t>(record->identifiers.size()) : 0;
}

std::int32_t CSearchController::ResultCount(std::int32_t index) const
{
    const CSearchRecord* record = RecordAt(index);
    return record ? static_cast<std::int32_t>(record->results.size()) : 0;
}

bool CSearchController::HasMoreResults(std::int32_t index) const
{
    const CSearchRecord* record = RecordAt(index);
    return record && record->nextIdentifier < record->identifiers.size();
}

CSearchResultItem* CSearchController::Result(std::int32_t index, std::int32_t i) const
{
    const CSearchRecord* record = RecordAt(index);
    if (!record || i < 0 || static_cast<std::size_t>(i) >= record->results.size())
        return nullptr;
    return record->results[static_cast<std::size_t>(i)].get();
}

const CSearchQuery* CSearchController::Query(std::int32_t index) const
{
    const CSearchRecord* record = RecordAt(index);
    return record ? record->query.get() : nullptr;
}

void CSearchController::BeginGroup(const std::string& title)
{
    m_listeners.ForEach([&](ISearchListener* l) { l->OnSearchGroupStarted(title); });
}

void CSearchController::EndGroup()
{
    m_listeners.ForEach([](ISearchListener* l) { l->OnSearchGroupEnded(); });
}

std::int32_t CSearchController::Search(std::unique_ptr<CSearchQuery> query)
{
    if (!query)
        query = std::make_unique<CSearchQuery>();
    ++m_pendingCount;
    m_listeners.ForEach([](ISearchListener* l) { l->OnSearchBusy(1); });

    const std::int32_t index = m_searchCounter++;
    auto record = std::make_unique<CSearchRecord>();
    record->index = index;
    record->query = std::move(query);
    CSearchRecord& stored = *record;
    m_searches.push_back(std::move(record));
    m_listeners.ForEach([&](ISearchListener* l) { l->OnSearchAdded(index); });

    stored.key = PostQuery(*stored.query, index);
    // Nothing was posted, so no answer will end the busy state for it.
    if (stored.key == 0)
        SearchFinished();
    return index;
}

std::int32_t CSearchController::PostQuery(const CSearchQuery& query, std::int32_t index)
{
    const CollectedFields fields = Collect(query);
    switch (query.kind) {
    case kSearchPlaylists: {
        PlaylistSearch search;
        search.title = Text(fields, kFieldPlaylistTitle);
        search.artistName = Text(fields, kFieldArtistName);
        search.userHandle = Text(fields, kFieldPlaymakerName);
        search.performanceTitle = Text(fields, kFieldTrackName);
        search.theme = Text(fields, kFieldTheme);
        search.mood = Number(fields, kFieldMood);
        search.genre = Number(fields, kFieldGenre);
        return m_playlists.Search(search, index);
    }
    case kSearchPlaymakers: return m_users.Search(Text(fields, kFieldPlaymakerName), index);
    case kSearchArtists:
        return m_artists.Search({Text(fields, kFieldArtistName), Text(fields, kFieldTrackName)}, index);
    case kSearchTracks: {
        PerformanceSearch search;
        search.performanceTitle = Text(fields, kFieldTrackName);
        search.primaryArtistName = Text(fields, kFieldArtistName);
        search.cdTitle = Text(fields, kFieldAlbumTitle);
        return m_performances.Search(search, index);
    }
    default: return 0;
    }
}

void CSearchController::SearchFinished()
{
    if (m_pendingCount > 0 && --m_pendingCount == 0)
        m_listeners.ForEach([](ISearchListener* l) { l->OnSearchBusy(0); });
}

template <class Request>
void CSearchController::TakeFirstAnswer(Request& request, CSearchRecord& record)
{
    const std::int32_t count = request.Count(record.key);
    for (std::int32_t i = 0; i < count; ++i) {
        if (const auto* summary = request.Summary(record.key, i)) {
            using Record = std::remove_cv_t<std::remove_pointer_t<decltype(summary)>>;
            record.results.push_back(std::make_unique<CSearchResultItem>(std::make_unique<Record>(*summary)));
        }
    }
    record.identifiers = request.Identifiers(record.key);
    // The first answer holds the summaries of the first identifiers.
    record.nextIdentifier = std::min(record.results.size(), record.identifiers.size());
    // The results are the controller's now.
    request.ReleaseResult(record.key);
}

void CSearchController::FetchNextPage(std::int32_t index)
{
    if (!RecordAt(index))
        return;
    m_pageQueue.push_back(index);
    if (!m_pageInFlight)
        PostNextPage();
}

void CSearchController::PostNextPage()
{
    while (!m_pageQueue.empty()) {
        const std::int32_t index = m_pageQueue.front();
        m_pageQueue.pop_front();
        const CSearchRecord* record = RecordAt(index);
        const std::size_t start = record->nextIdentifier;
        // Every identifier was asked for: there is no next page.
        if (start >= record->identifiers.size())
            continue;
        const std::size_t last =
            std::min(record->identifiers.size() - 1, start + static_cast<std::size_t>(kPageSize) - 1);
        std::string ids;
        for (std::size_t i = start; i <= last; ++i) {
            if (i > start)
                ids += ',';
            ids += std::to_string(record->identifiers[i]);
        }
        m_pageInFlight = true;
        m_pageInFlightEnd = last + 1;
        switch (record->query->kind) {
        case kSearchPlaylists: m_summaries.FetchPlaylists(ids, index); return;
        case kSearchPlaymakers: m_summaries.FetchUsers(ids, index); return;
        case kSearchArtists: m_summaries.FetchArtists(ids, index); return;
        case kSearchTracks: m_summaries.FetchPerformances(ids, index); return;
        default: m_pageInFlight = false; break;
        }
    }
}

void CSearchController::TakePage(CSearchRecord& record, std::size_t pageEnd)
{
    record.nextIdentifier = std::max(record.nextIdentifier, pageEnd);
    const auto start = static_cast<std::int32_t>(record.results.size());
    const std::int32_t count = m_summaries.Count();
    for (std::int32_t i = 0; i < count; ++i)
        if (const CItemRef* item = m_summaries.Item(i))
            if (auto result = CopyOf(*item))
                record.results.push_back(std::move(result));
    const std::int32_t index = record.index;
    m_listeners.ForEach([&](ISearchListener* l) { l->OnResultsAppended(index, start); });
}

void CSearchController::OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2)
{
    CSearchRecord* record = RecordAt(value1);
    if (request == &m_summaries) {
        m_pageInFlight = false;
        if (record)
            TakePage(*record, m_pageInFlightEnd);
        PostNextPage();
        return;
    }
    if (!record || record->key != value2)
        return;
    if (request == &m_playlists)
        TakeFirstAnswer(m_playlists, *record);
    else if (request == &m_users)
        TakeFirstAnswer(m_users, *record);
    else if (request == &m_artists)
        TakeFirstAnswer(m_artists, *record);
    else if (request == &m_performances)
        TakeFirstAnswer(m_performances, *record);
    else
        return;
    const std::int32_t index = record->index;
    m_listeners.ForEach([&](ISearchListener* l) { l->OnSearchAnswered(index); });
    SearchFinished();
}

void CSearchController::OnRequestFailed(CServerRequest* request, HRESULT, std::int32_t value1, std::int32_t value2)
{
    if (request == &m_summaries) {
        // The page stays unanswered; the next one may still go.
        m_pageInFlight = false;
        if (RecordAt(value1))
            m_listeners.ForEach([&](ISearchListener* l) { l->OnPageFailed(value1); });
        PostNextPage();
        return;
    }
    const CSearchRecord* record = RecordAt(value1);
    if (!record || record->key != value2)
        return;
    SearchFinished();
}
