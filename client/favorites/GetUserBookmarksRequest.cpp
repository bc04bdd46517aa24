#include "client/favorites/GetUserBookmarksRequest.h"

#include "client/catalogue/AnswerXml.h"
#include "client/catalogue/SummaryReaders.h"
#include "platform/Url.h"

#include <utility>

namespace {

template <class Record>
Record* At(const std::vector<std::unique_ptr<Record>>& list, std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return nullptr;
    return list[static_cast<std::size_t>(index)].get();
}

template <class Record>
void ReadAll(const CXmlDocument& document, std::u16string_view name, std::vector<std::unique_ptr<Record>>& list)
{
    for (const CXmlNode* element : ElementsNamed(document, name)) {
        std::unique_ptr<Record> record;
        ReadSummary(*element, record);
        list.push_back(std::move(record));
    }
}

}  // namespace

CGetUserBookmarksRequest::CGetUserBookmarksRequest()
{
    SetPage("bookmark/GetUserBookmarks.jsp", false);
}

CGetUserBookmarksRequest::~CGetUserBookmarksRequest()
{
    CancelPendingJobs();
}

std::string CGetUserBookmarksRequest::Body(const std::string& token)
{
    return "user=" + FormValue(token);
}

HRESULT CGetUserBookmarksRequest::Fetch(const std::string& token)
{
    return Post(Body(token), 0, 0);
}

PlaylistSummary* CGetUserBookmarksRequest::GetPlaylist(std::int32_t index) const
{
    std::lock_guard lock(m_lock);
    return At(m_lists.playlists, index);
}
ArtistSummary* CGetUserBookmarksRequest::GetArtist(std::int32_t index) const
{
    std::lock_guard lock(m_lock);
    return At(m_lists.artists, index);
}
UserSummary* CGetUserBookmarksRequest::GetPlaymaker(std::int32_t index) const
{
    std::lock_guard lock(m_lock);
    return At(m_lists.playmakers, index);
}
PerformanceSummary* CGetUserBookmarksRequest::GetTrack(std::int32_t index) const
{
    std::lock_guard lock(m_lock);
    return At(m_lists.tracks, index);
}

std::vector<std::unique_ptr<PlaylistSummary>> CGetUserBookmarksRequest::TakePlaylists()
{
    std::lock_guard lock(m_lock);
    return std::exchange(m_lists.playlists, {});
}
std::vector<std::unique_ptr<ArtistSummary>> CGetUserBookmarksRequest::TakeArtists()
{
    std::lock_guard lock(m_lock);
    return std::exchange(m_lists.artists, {});
}
std::vector<std::unique_ptr<UserSummary>> CGetUserBookmarksRequest::TakePlaymakers()
{
    std::lock_guard lock(m_lock);
    return std::exchange(m_lists.playmakers, {});
}
std::vector<std::unique_ptr<PerformanceSummary>> CGetUserBookmarksRequest::TakeTracks()
{
    std::lock_guard lock(m_lock);
    return std::exchange(m_lists.tracks, {});
}

void CGetUserBookmarksRequest::Reset()
{
    std::lock_guard lock(m_lock);
    m_lists = Lists();
}

void CGetUserBookmarksRequest::NotifyCompleted(std::int32_t value1, std::int32_t value2)
{
    {
        std::lock_guard lock(m_lock);
        m_playlistCount = static_cast<std::int32_t>(m_lists.playlists.size());
        m_artistCount = static_cast<std::int32_t>(m_lists.artists.size());
        m_playmakerCount = static_cast<std::int32_t>(m_lists.playmakers.size());
        m_trackCount = static_cast<std::int32_t>(m_lists.tracks.size());
    }
    CSummaryRequest::NotifyCompleted(value1, value2);
}

void CGetUserBookmarksRequest::ParseAnswer(const std::string& answer, std::int32_t, std::int32_t)
{
    Lists lists;
    if (const XmlDocumentPtr document = LoadAnswerDocument(answer)) {
        ReadAll(*document, u"PlaylistSummary", lists.playlists);
        ReadAll(*document, u"ArtistSummary", lists.artists);
        ReadAll(*document, u"UserSummary", lists.playmakers);
        ReadAll(*document, u"PerformanceSummary", lists.tracks);
    }
    // Records of an earlier answer that nobody took are deleted here.
    std::lock_guard lock(m_lock);
    m_lists = std::move(lists);
}
