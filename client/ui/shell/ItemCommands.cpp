#include "client/ui/shell/ItemCommands.h"

#include "client/app/PreviewCalls.h"
#include "client/catalogue/ArtistSummary.h"
#include "client/catalogue/ItemRef.h"
#include "client/catalogue/PerformanceSummary.h"
#include "client/catalogue/PlaylistDetail.h"
#include "client/catalogue/PlaylistSummary.h"
#include "client/catalogue/UserSummary.h"
#include "client/localmedia/PerformanceClip.h"
#include "client/resources/ResourceIds.h"
#include "client/ui/shell/DetailPages.h"
#include "client/ui/shell/PaneServices.h"

void ShowItemDetails(const PaneServices& services, const CItemRef& item)
{
    IDetailPages* pages = services.detailPages;
    if (!pages)
        return;
    switch (item.Kind()) {
    case kItemPlaylistDetail: pages->ShowPlaylistDetail(item.AsPlaylistDetail()->Summary.playlistID); break;
    case kItemPlaylist: pages->ShowPlaylistDetail(item.AsPlaylist()->playlistID); break;
    case kItemUser: pages->ShowPlaymakerDetail(item.AsUser()->userID); break;
    case kItemArtist: pages->ShowArtistDetail(item.AsArtist()->artistID); break;
    case kItemPerformance: pages->ShowPerformanceDetail(item.AsPerformance()->performanceID); break;
    }
}

bool ItemCommandEnabled(unsigned id, const CItemRef& item)
{
    switch (id) {
    case ID_EMAIL_PLAYMAKER:
        if (const UserSummary* user = item.AsUser())
            return user->AcceptsEMail != 0;
        if (const PlaylistSummary* playlist = item.AsPlaylist())
            return playlist->Playmaker.AcceptsEMail != 0;
        return true;
    case ID_TRACK_PREVIEW:
        if (const PerformanceSummary* track = item.AsPerformance())
            return track->previewAvailable != 0;
        return true;
    default: return true;
    }
}

bool RunItemCommand(unsigned id, const CItemRef& item, const PaneServices& services)
{
    IDetailPages* pages = services.detailPages;
    IPreviewCalls* previews = services.previews;
    const PlaylistDetail* own = item.AsPlaylistDetail();
    const PlaylistSummary* playlist = item.AsPlaylist();
    const PerformanceSummary* track = item.AsPerformance();
    const UserSummary* user = item.AsUser();
    switch (id) {
    case ID_SHOW_DETAILS: ShowItemDetails(services, item); return true;
    case ID_TRACK_PREVIEW:
        if (track && previews)
            previews->PreviewPerformance(track->performanceID);
        return true;
    case ID_PLAYLIST_PREVIEW:
        if (previews && (playlist || own))
            previews->PreviewPlaylist(playlist ? playlist->playlistID : own->Summary.playlistID);
        return true;
    case ID_ITEM_COPY:
        if (track && services.clipboard)
            CopyPerformanceToClipboard(*services.clipboard, *track);
        return true;
    case ID_SEND_TO_FRIEND:
        if (pages && playlist)
            pages->EmailFriend(playlist->playlistID);
        else if (pages && own && own->Summary.playlistID != 0)
            pages->EmailFriend(own->Summary.playlistID);
        return true;
    case ID_EMAIL_PLAYMAKER:
        if (pages && user)
            pages->EmailPlaymaker(user->userID);
        else if (pages && playlist)
            pages->EmailPlaymaker(playlist->Playmaker.userID);
        return true;
    default: return false;
    }
}
