#pragma once

#include <cstdint>
#include <string>

namespace corvanta::server {

// The short previews: a few seconds of a tone that differs from track to track.
class CAudioPreview {
public:
    // "preview/<id>.wav" gives the track's id.
    static bool ParsePath(const std::string& page, int64_t& performanceId);
    static std::string Wave(int64_t performanceId);
};

}  // namespace corvanta::server
