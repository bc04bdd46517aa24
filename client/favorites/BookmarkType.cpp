#include "client/favorites/BookmarkType.h"

const char* BookmarkTypeName(std::int32_t type)
{
    switch (type) {
    case kBookmarkArtist:
        return "Artist";
    case kBookmarkPlaylist:
        return "Playlist";
    case kBookmarkTrack:
        return "Track";
    case kBookmarkPlaymaker:
        return "Playmaker";
    default:
        return "Item";
    }
}
