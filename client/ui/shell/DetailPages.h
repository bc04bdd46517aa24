#pragma once
// The detail viewer's pages as the panes ask for them: an item's detail page,
// or the e-mail pages of a playlist and of a playmaker. The detail viewer
// implements it; each call shows the page in the main window's right column.
#include <cstdint>

class IDetailPages {
public:
    virtual void ShowNoDetails() = 0;
    virtual void ShowPerformanceDetail(std::int32_t performanceID) = 0;
    virtual void ShowArtistDetail(std::int32_t artistID) = 0;
    virtual void ShowPlaymakerDetail(std::int32_t userID) = 0;
    virtual void ShowPlaylistDetail(std::int32_t playlistID) = 0;
    virtual void EmailPlaymaker(std::int32_t userID) = 0;
    virtual void EmailFriend(std::int32_t playlistID) = 0;

protected:
    ~IDetailPages() = default;
};
