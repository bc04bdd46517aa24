#include "client/catalogue/FulfillPlaylistRequest.h"

#include "platform/Url.h"

CFulfillPlaylistRequest::CFulfillPlaylistRequest()
{
    SetPage("fulfill/FulfillPlaylist.jsp", false);
}

std::string CFulfillPlaylistRequest::Body(const std::string& token, std::int32_t playlistID)
{
    return "user=" + FormValue(token) + "&PlaylistID=" + std::to_string(playlistID) + "&App=Tessarin";
}

HRESULT CFulfillPlaylistRequest::Fulfill(const std::string& token, std::int32_t playlistID)
{
    return Post(Body(token, playlistID), 0, 0);
}
