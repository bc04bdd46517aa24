#pragma once
// Observers of the playlist editor's track rows, told on the user-interface
// thread.
#include <cstdint>

struct ArtistSummary;
struct PerformanceSummary;
struct PlaylistSummary;

class IPlaylistEditListener {
public:
    /// Never raised by the track rows.
    virtual void OnShowPlaylistDetail(const PlaylistSummary& playlist) = 0;
    /// The title cell of a matched row was clicked.
    virtual void OnPerformanceClicked(const PerformanceSummary& performance) = 0;
    /// The artist cell of a matched row was clicked.
    virtual void OnArtistClicked(std::int32_t artistId) = 0;
    /// Never raised by the track rows.
    virtual void OnShowArtistDetail(const ArtistSummary& artist) = 0;
    virtual void OnLocalCountChanged(int count) = 0;

protected:
    ~IPlaylistEditListener() = default;
};
