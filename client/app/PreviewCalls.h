#pragma once
// The application's previews of a track or a playlist, as the panes call them.
#include <cstdint>

class IPreviewCalls {
public:
    virtual void PreviewPerformance(std::int32_t performanceID) = 0;
    virtual void PreviewPlaylist(std::int32_t playlistID) = 0;

protected:
    ~IPreviewCalls() = default;
};
