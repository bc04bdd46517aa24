#pragma once
// A playlist as the server summarises it.
#include "client/catalogue/OleDateTime.h"
#include "client/catalogue/UserSummary.h"

#include <array>
#include <cstdint>
#include <string>

/// The default name of a playlist (string 3099).
inline constexpr const char* kNewPlaylistName = "New Playlist";

struct PlaylistSummary {
    std::int32_t playlistID = 0;
    std::string Name = kNewPlaylistName;
    std::string PlaylistDescription;
    std::int32_t NumberOfPerformances = 0;
    UserSummary Playmaker;
    COleDateTime CreationDate;
    COleDateTime LastModifiedDate;
    COleDateTime clientDate;                      // not read from any answer
    std::array<std::int32_t, 3> clientNumbers{};  // not read from any answer
    std::int32_t PrimaryMoodID = 0;
    std::string Theme;
    std::int32_t Ranking = 0;
    std::int32_t NumberOfBookmarks = 0;
    std::int32_t PrimaryGenreID = 0;
    std::int32_t BookmarkID = 0;
    std::int32_t ComesAfterID = 0;
    std::int32_t Delete = 0;
};
