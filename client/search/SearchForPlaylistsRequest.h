#pragma once
// "search/SearchForPlaylists.jsp": playlists by title, artist, playmaker,
// track, theme, mood and genre.
#include "client/catalogue/PlaylistSummary.h"
#include "client/search/SearchRequest.h"

struct PlaylistSearch {
    SearchText title;
    SearchText artistName;
    SearchText userHandle;
    SearchText performanceTitle;
    SearchText theme;
    SearchNumber mood;
    SearchNumber genre;
};

class CSearchForPlaylistsRequest : public CSearchRequest<PlaylistSummary> {
public:
    CSearchForPlaylistsRequest();
    /// Posts the search; returns its key (value 2 of the notifications).
    std::int32_t Search(const PlaylistSearch& search, std::int32_t value1);
    /// The fields that are set, in the page's order; empty when none is.
    static std::string Body(const PlaylistSearch& search);
};
