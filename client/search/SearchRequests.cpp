#include "client/search/SearchForArtistsRequest.h"
#include "client/search/SearchForPerformancesRequest.h"
#include "client/search/SearchForPlaylistsRequest.h"
#include "client/search/SearchForUsersRequest.h"

namespace {
void AppendText(std::string& body, const char* key, const SearchText& field)
{
    if (!field.text.empty())
        AppendSearchPart(body, SearchTextPart(key, field));
}
void AppendNumber(std::string& body, const char* key, const SearchNumber& field)
{
    if (field.value != 0)
        AppendSearchPart(body, SearchNumberPart(key, field));
}
}  // namespace

CSearchForPlaylistsRequest::CSearchForPlaylistsRequest()
    : CSearchRequest("search/SearchForPlaylists.jsp", u"PlaylistSummary")
{
}

std::string CSearchForPlaylistsRequest::Body(const PlaylistSearch& search)
{
    std::string body;
    AppendText(body, "PlaylistTitle", search.title);
    AppendText(body, "ArtistName", search.artistName);
    AppendText(body, "UserHandle", search.userHandle);
    AppendText(body, "PerformanceTitle", search.performanceTitle);
    AppendText(body, "Theme", search.theme);
    AppendNumber(body, "Mood", search.mood);
    AppendNumber(body, "Genre", search.genre);
    return body;
}

std::int32_t CSearchForPlaylistsRequest::Search(const PlaylistSearch& search, std::int32_t value1)
{
    return PostSearch(Body(search), value1);
}

CSearchForUsersRequest::CSearchForUsersRequest() : CSearchRequest("search/SearchForUsers.jsp", u"UserSummary") {}

std::string CSearchForUsersRequest::Body(const std::optional<SearchText>& handle)
{
    return handle ? SearchTextPart("UserHandle", *handle) : std::string();
}

std::int32_t CSearchForUsersRequest::Search(const std::optional<SearchText>& handle, std::int32_t value1)
{
    return PostSearch(Body(handle), value1);
}

CSearchForArtistsRequest::CSearchForArtistsRequest() : CSearchRequest("search/SearchForArtists.jsp", u"ArtistSummary")
{
}

std::string CSearchForArtistsRequest::Body(const ArtistSearch& search)
{
    std::string body;
    AppendText(body, "ArtistName", search.artistName);
    AppendText(body, "PerformanceTitle", search.performanceTitle);
    return body;
}

std::int32_t CSearchForArtistsRequest::Search(const ArtistSearch& search, std::int32_t value1)
{
    return PostSearch(Body(search), value1);
}

CSearchForPerformancesRequest::CSearchForPerformancesRequest()
    : CSearchRequest("search/SearchForPerformances.jsp", u"PerformanceSummary")
{
}

std::string CSearchForPerformancesRequest::Body(const PerformanceSearch& search)
{
    std::string body;
    AppendText(body, "PerformanceTitle", search.performanceTitle);
    AppendText(body, "PrimaryArtistName", search.primaryArtistName);
    AppendText(body, "Version", search.version);
    AppendText(body, "CDTitle", search.cdTitle);
    return body;
}

std::int32_t CSearchForPerformancesRequest::Search(const PerformanceSearch& search, std::int32_t value1)
{
    return PostSearch(Body(search), value1);
}
