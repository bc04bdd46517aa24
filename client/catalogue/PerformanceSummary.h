#pragma once
// A track ("performance") as the server summarises it, with the client's own
// fields that travel with copies of the record.
#include <cstdint>
#include <string>

struct PerformanceSummary {
    std::int32_t clientNumber = 0;  // carried by copies and the clipboard record
    std::int32_t primaryArtistID = 0;
    std::int32_t performanceID = 0;
    std::int32_t clientNumber2 = 0;
    std::int32_t clientNumber3 = 0;
    std::string ArtistName;
    std::string SongName;
    std::int32_t Length = 0;
    std::int32_t PrimaryGenreID = 0;
    std::int32_t NumberTimesBookmarked = 0;
    std::int32_t NumberTimesUsedInPlaylists = 0;
    std::int32_t Ranking = 0;
    std::int32_t PerformanceSourceID = 0;
    std::int32_t previewAvailable = 0;  // 1 when PreviewAvailability is 0
    std::int32_t playAvailable = 0;     // 1 when PlayAvailability is 0
    std::string Comment;
    std::string Version;
    std::int32_t BookmarkID = 0;
    std::int32_t ComesAfterID = 0;
    std::string localFilePath;  // the member's MP3 file for this track
};

/// "ArtistName : SongName", with " (Version)" when there is a version.
std::string PerformanceDisplayText(const PerformanceSummary& performance);
