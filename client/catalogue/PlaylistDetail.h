#pragma once
// A playlist with its tracks in order. The detail owns its tracks; a consumer
// that takes them over moves them out of Tracks first.
#include "client/catalogue/PerformanceSummary.h"
#include "client/catalogue/PlaylistSummary.h"

#include <memory>
#include <vector>

struct PlaylistDetail {
    PlaylistSummary Summary;
    std::vector<std::unique_ptr<PerformanceSummary>> Tracks;
    /// Client side: false while the tracks of a playlist known from a list
    /// have not come from the server, so Tracks says nothing about them.
    bool tracksLoaded = true;
};
