#pragma once
// What the member searches for: a kind of result and the fields to match.
#include <cstdint>
#include <string>
#include <vector>

enum SearchKind : std::int32_t {
    kSearchPlaylists = 1,
    kSearchPlaymakers = 2,
    kSearchArtists = 3,
    kSearchTracks = 4,
};

enum SearchField : std::int32_t {
    kFieldPlaylistTitle = 1,
    kFieldPlaymakerName = 2,
    kFieldArtistName = 3,
    kFieldTrackName = 4,
    kFieldTheme = 5,
    kFieldGenre = 6,  // by number: a lookup table identifier
    kFieldMood = 7,   // by number
    kFieldAlbumTitle = 8,
};

struct SearchCriterion {
    SearchField field = kFieldPlaylistTitle;
    std::int32_t searchType = 0;
    std::string text;
    std::int32_t number = 0;
};

struct CSearchQuery {
    std::int32_t kind = 0;
    std::vector<SearchCriterion> criteria;

    CSearchQuery() = default;
    CSearchQuery(std::int32_t searchKind, std::vector<SearchCriterion> searchCriteria)
        : kind(searchKind), criteria(std::move(searchCriteria))
    {
    }
};
