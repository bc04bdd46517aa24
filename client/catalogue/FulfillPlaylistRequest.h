#pragma once
// "fulfill/FulfillPlaylist.jsp": the preview of a playlist; the server does
// the work and the answer is not read.
#include "client/protocol/SummaryRequest.h"

#include <string>

class CFulfillPlaylistRequest : public CSummaryRequest {
public:
    CFulfillPlaylistRequest();

    HRESULT Fulfill(const std::string& token, std::int32_t playlistID);
    static std::string Body(const std::string& token, std::int32_t playlistID);
};
