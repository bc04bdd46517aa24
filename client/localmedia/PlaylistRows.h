#pragma once
// The track rows of a playlist being edited, as playlist import and export
// see them. The editor's model implements it; row 0 is the top track and the
// blank input row is no track.
#include <cstdint>
#include <string>

class IPlaylistRows {
public:
    virtual ~IPlaylistRows() = default;

    virtual int GetTrackCount() const = 0;
    virtual std::string GetTitle(int row) const = 0;
    virtual std::string GetArtist(int row) const = 0;
    /// 0 while the row is no catalogue performance.
    virtual std::int32_t GetPerformanceID(int row) const = 0;
    virtual std::string GetComment(int row) const = 0;
    /// The member's file for the row; empty when it has none.
    virtual std::string GetLocalFilePath(int row) const = 0;
    /// The file the track library holds for the row's performance; empty when none.
    virtual std::string GetLibraryPath(int row) const = 0;

    /// Adds a track row with no comment below the others; it starts matching.
    virtual void AddTrackRow(const std::string& title, const std::string& artist, const std::string& filePath) = 0;
};
