#include "client/favorites/BookmarkType.h"

#include "client/resources/StringTable.h"

const char* BookmarkTypeName(std::int32_t type)
{
    switch (type) {
    case kBookmarkArtist: return LoadResourceString(IDS_TYPE_ARTIST);
    case kBookmarkPlaylist: return LoadResourceString(IDS_TYPE_PLAYLIST);
    case kBookmarkTrack: return LoadResourceString(IDS_TYPE_TRACK);
    case kBookmarkPlaymaker: return LoadResourceString(IDS_TYPE_PLAYMAKER);
    default: return LoadResourceString(IDS_TYPE_ITEM);
    }
}
