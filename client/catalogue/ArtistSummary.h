#pragma once
// An artist as the server summarises it.
#include <cstdint>
#include <string>

struct ArtistSummary {
    std::int32_t NumberOfSongsInDB = 0;
    std::int32_t NumberOfBookmarks = 0;
    std::string Name;
    std::int32_t artistID = 0;
    std::int32_t Ranking = 0;
    std::int32_t BookmarkID = 0;
    std::int32_t ComesAfterID = 0;
};
