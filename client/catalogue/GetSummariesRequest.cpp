#include "client/catalogue/GetSummariesRequest.h"

#include "client/catalogue/AnswerXml.h"
#include "client/catalogue/SummaryReaders.h"
#include "platform/Url.h"

#include <variant>

struct CGetSummariesRequest::OwnedItem {
    template <class Record>
    explicit OwnedItem(std::unique_ptr<Record> r) : ref(r.get()), record(std::move(r))
    {
    }
    CItemRef ref;
    std::variant<std::unique_ptr<PlaylistSummary>, std::unique_ptr<UserSummary>, std::unique_ptr<ArtistSummary>,
                 std::unique_ptr<PerformanceSummary>>
        record;
};

CGetSummariesRequest::CGetSummariesRequest()
{
    SetPage("search/GetSummaries.jsp", false);
}

CGetSummariesRequest::~CGetSummariesRequest()
{
    CancelPendingJobs();
}

std::string CGetSummariesRequest::Body(SummaryKind kind, const std::string& ids)
{
    static constexpr const char* kTypes[] = {"PLAYLIST", "USER", "ARTIST", "PERFORMANCE"};
    const auto index = static_cast<std::size_t>(kind) < std::size(kTypes) ? static_cast<std::size_t>(kind) : 0;
    return std::string("Type=") + kTypes[index] + "&IDs=" + FormValue(ids);
}

HRESULT CGetSummariesRequest::Fetch(SummaryKind kind, const std::string& ids, std::int32_t tag)
{
    m_kind = kind;
    return Post(Body(kind, ids), tag, 0);
}

HRESULT CGetSummariesRequest::FetchPlaylists(const std::string& ids, std::int32_t tag)
{
    return Fetch(kSummaryPlaylist, ids, tag);
}
HRESULT CGetSummariesRequest::FetchUsers(const std::string& ids, std::int32_t tag)
{
    return Fetch(kSummaryUser, ids, tag);
}
HRESULT CGetSummariesRequest::FetchArtists(const std::string& ids, std::int32_t tag)
{
    return Fetch(kSummaryArtist, ids, tag);
}
HRESULT CGetSummariesRequest::FetchPerformances(const std::string& ids, std::int32_t tag)
{
    return Fetch(kSummaryPerformance, ids, tag);
}

std::int32_t CGetSummariesRequest::Count() const
{
    std::lock_guard lock(m_lock);
    return static_cast<std::int32_t>(m_items.size());
}

CItemRef* CGetSummariesRequest::Item(std::int32_t index) const
{
    std::lock_guard lock(m_lock);
    if (index < 0 || static_cast<std::size_t>(index) >= m_items.size())
        return nullptr;
    return &m_items[static_cast<std::size_t>(index)]->ref;
}

void CGetSummariesRequest::ParseAnswer(const std::string& answer, std::int32_t, std::int32_t)
{
    const XmlDocumentPtr document = LoadAnswerDocument(answer);
    std::vector<std::unique_ptr<OwnedItem>> items;
    if (document) {
        auto readAll = [&](std::u16string_view element, auto reader) {
            for (const CXmlNode* node : ElementsNamed(*document, element))
                items.push_back(std::make_unique<OwnedItem>(reader(*node)));
        };
        switch (m_kind.load()) {
        case kSummaryPlaylist: readAll(u"PlaylistSummary", ReadPlaylistSummary); break;
        case kSummaryUser: readAll(u"UserSummary", ReadUserSummary); break;
        case kSummaryArtist: readAll(u"ArtistSummary", ReadArtistSummary); break;
        case kSummaryPerformance: readAll(u"PerformanceSummary", ReadPerformanceSummary); break;
        }
    }
    std::lock_guard lock(m_lock);
    m_items = std::move(items);
}
