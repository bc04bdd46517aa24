#include "client/search/SearchForms.h"

#include "client/resources/StringTable.h"
#include "client/search/SearchController.h"

#include <iterator>
#include <memory>

namespace {

constexpr SearchByEntry kPlaylistEntries[] = {
    {IDS_BY_PLAYLIST_TITLE, kFieldPlaylistTitle}, {IDS_BY_PLAYLIST_PLAYMAKER, kFieldPlaymakerName},
    {IDS_BY_PLAYLIST_ARTIST, kFieldArtistName},   {IDS_BY_PLAYLIST_TRACK, kFieldTrackName},
    {IDS_BY_PLAYLIST_THEME, kFieldTheme},         {IDS_BY_PLAYLIST_GENRE, kFieldGenre},
    {IDS_BY_PLAYLIST_MOOD, kFieldMood},
};
constexpr SearchByEntry kPlaymakerEntries[] = {{IDS_BY_PLAYMAKER_NAME, kFieldPlaymakerName}};
constexpr SearchByEntry kArtistEntries[] = {{IDS_BY_ARTIST_ARTIST, kFieldArtistName},
                                            {IDS_BY_ARTIST_TRACK, kFieldTrackName}};
constexpr SearchByEntry kTrackEntries[] = {{IDS_BY_TRACK_ARTIST, kFieldArtistName},
                                           {IDS_BY_TRACK_TRACK, kFieldTrackName},
                                           {IDS_BY_TRACK_ALBUM, kFieldAlbumTitle}};

void SearchOne(CSearchController& controller, std::int32_t kind, SearchField field, const std::string& text)
{
    controller.Search(std::make_unique<CSearchQuery>(kind, std::vector<SearchCriterion>{{field, 0, text, 0}}));
}

void SearchPlaylists(CSearchController& controller, const std::string& text)
{
    for (SearchField field : {kFieldPlaylistTitle, kFieldPlaymakerName, kFieldArtistName, kFieldTrackName})
        SearchOne(controller, kSearchPlaylists, field, text);
}

// The string of a search's title; 0 for none.
unsigned TitleString(std::int32_t kind, SearchField field)
{
    switch (kind) {
    case kSearchPlaylists:
        switch (field) {
        case kFieldPlaylistTitle: return IDS_SEARCH_PLAYLISTS_TITLE;
        case kFieldPlaymakerName: return IDS_SEARCH_PLAYLISTS_PLAYMAKER;
        case kFieldArtistName: return IDS_SEARCH_PLAYLISTS_ARTIST;
        case kFieldTrackName: return IDS_SEARCH_PLAYLISTS_TRACK;
        case kFieldTheme: return IDS_SEARCH_PLAYLISTS_THEME;
        case kFieldGenre: return IDS_SEARCH_PLAYLISTS_GENRE;
        case kFieldMood: return IDS_SEARCH_PLAYLISTS_MOOD;
        default: return 0;
        }
    case kSearchPlaymakers: return IDS_SEARCH_PLAYMAKERS_NAME;
    case kSearchArtists:
        return field == kFieldArtistName  ? IDS_SEARCH_ARTISTS_ARTIST
               : field == kFieldTrackName ? IDS_SEARCH_ARTISTS_TRACK
                                          : 0;
    case kSearchTracks:
        switch (field) {
        case kFieldArtistName: return IDS_SEARCH_TRACKS_ARTIST;
        case kFieldTrackName: return IDS_SEARCH_TRACKS_TRACK;
        case kFieldAlbumTitle: return IDS_SEARCH_TRACKS_ALBUM;
        default: return 0;
        }
    default: return 0;
    }
}

}  // namespace

std::int32_t SimpleSearchModeOfRadio(int index)
{
    return (index + 1) % 5;
}

void RunSimpleSearch(CSearchController& controller, std::int32_t mode, const std::string& text)
{
    switch (mode) {
    case kModeAll:
        controller.BeginGroup(FormatResourceString(IDS_SEARCH_ALL_FMT, {text}));
        SearchPlaylists(controller, text);
        SearchOne(controller, kSearchPlaymakers, kFieldPlaymakerName, text);
        SearchOne(controller, kSearchArtists, kFieldArtistName, text);
        SearchOne(controller, kSearchTracks, kFieldTrackName, text);
        controller.EndGroup();
        break;
    case kModePlaylists:
        controller.BeginGroup(FormatResourceString(IDS_SEARCH_PLAYLISTS_FMT, {text}));
        SearchPlaylists(controller, text);
        controller.EndGroup();
        break;
    case kModePlaymakers: SearchOne(controller, kSearchPlaymakers, kFieldPlaymakerName, text); break;
    case kModeArtists: SearchOne(controller, kSearchArtists, kFieldArtistName, text); break;
    case kModeTracks: SearchOne(controller, kSearchTracks, kFieldTrackName, text); break;
    default: break;
    }
}

std::span<const SearchByEntry> SearchByEntries(std::int32_t kind)
{
    switch (kind) {
    case kSearchPlaylists: return kPlaylistEntries;
    case kSearchPlaymakers: return kPlaymakerEntries;
    case kSearchArtists: return kArtistEntries;
    case kSearchTracks: return kTrackEntries;
    default: return {};
    }
}

bool IsTypedField(SearchField field)
{
    return field != kFieldTheme && field != kFieldGenre && field != kFieldMood;
}

std::string SearchTitle(const CSearchQuery& query)
{
    if (query.criteria.empty())
        return {};
    const SearchCriterion& first = query.criteria.front();
    const unsigned id = TitleString(query.kind, first.field);
    return id == 0 ? std::string() : LoadResourceString(id) + ("\"" + first.text + "\"");
}
