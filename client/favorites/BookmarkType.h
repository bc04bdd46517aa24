#pragma once
// The kinds of favorites, as numbered on the wire.
#include <cstdint>

enum BookmarkType : std::int32_t {
    kBookmarkArtist = 1,
    kBookmarkPlaylist = 2,
    kBookmarkTrack = 3,
    kBookmarkPlaymaker = 4,
};

/// The name the failure messages use: "Artist", "Playlist", "Track",
/// "Playmaker", or "Item" for any other number.
const char* BookmarkTypeName(std::int32_t type);
