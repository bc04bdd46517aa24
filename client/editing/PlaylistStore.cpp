#include "client/editing/PlaylistStore.h"

#include "client/catalogue/GetPlaylistDetailsRequest.h"
#include "client/catalogue/GetUserPlaylistsRequest.h"
#include "client/editing/EditingServices.h"
#include "client/editing/UpdatePlaylistRequest.h"
#include "client/resources/StringTable.h"
#include "platform/MessageBox.h"

#include <algorithm>

CPlaylistStore::CPlaylistStore(IEditingSession* session, ILocalTrackLibrary* library)
    : m_session(session), m_library(library), m_updateRequest(std::make_unique<CUpdatePlaylistRequest>())
{
    MakeLoadRequests();
    m_updateRequest->AddListener(this);
}

CPlaylistStore::~CPlaylistStore()
{
    m_updateRequest->RemoveListener(this);
    m_detailsRequest->RemoveListener(this);
    m_listRequest->RemoveListener(this);
}

void CPlaylistStore::MakeLoadRequests()
{
    // Fresh requests for every session: ending the old ones drops their
    // answers, also those already on their way to this thread, so an earlier
    // session can neither add its playlists to the list nor fill one of the
    // new session's.
    m_listRequest = std::make_unique<CGetUserPlaylistsRequest>();
    m_detailsRequest = std::make_unique<CGetPlaylistDetailsRequest>();
    m_listRequest->AddListener(this);
    m_detailsRequest->AddListener(this);
}

void CPlaylistStore::AddListener(IPlaylistStoreListener* listener)
{
    m_listeners.Add(listener);
    if (m_loaded) {
        listener->OnPlaylistsLoading();
        listener->OnPlaylistsLoaded();
    }
}

void CPlaylistStore::RemoveListener(IPlaylistStoreListener* listener)
{
    m_listeners.Remove(listener);
}

PlaylistDetail* CPlaylistStore::GetAt(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_playlists[static_cast<std::size_t>(index)].get();
}

std::string CPlaylistStore::Token() const
{
    return m_session ? m_session->SessionToken() : m_token;
}

PlaylistDetail* CPlaylistStore::NewPlaylist()
{
    auto playlist = std::make_unique<PlaylistDetail>();
    playlist->Summary.Playmaker.Handle = m_session ? m_session->CurrentHandle() : m_handle;
    playlist->Summary.Playmaker.userID = m_session ? m_session->CurrentUserId() : 0;
    PlaylistDetail* made = playlist.get();
    m_playlists.push_back(std::move(playlist));
    Tell([&](IPlaylistStoreListener& listener) { listener.OnPlaylistAdded(made); });
    return made;
}

bool CPlaylistStore::Holds(const PlaylistDetail* playlist) const
{
    return std::any_of(m_playlists.begin(), m_playlists.end(),
                       [&](const auto& held) { return held.get() == playlist; });
}

HRESULT CPlaylistStore::PublishPlaylist(PlaylistDetail& playlist)
{
    // Its empty track list would empty the playlist on the server.
    if (!playlist.tracksLoaded)
        return E_FAIL;
    const HRESULT result = m_updateRequest->Publish(Token(), playlist);
    Tell([&](IPlaylistStoreListener& listener) { listener.OnPlaylistUpdated(&playlist); });
    return result;
}

void CPlaylistStore::DeletePlaylist(PlaylistDetail* playlist)
{
    const auto found =
        std::find_if(m_playlists.begin(), m_playlists.end(), [&](const auto& held) { return held.get() == playlist; });
    if (found == m_playlists.end())
        return;
    std::unique_ptr<PlaylistDetail> removed = std::move(*found);
    m_playlists.erase(found);
    // A playlist whose details are being fetched stays first in the queue, so
    // its answer is recognised as belonging to no playlist and dropped.
    const auto queued = std::find(m_toLoad.begin(), m_toLoad.end(), playlist);
    if (queued != m_toLoad.end()) {
        if (queued == m_toLoad.begin() && m_fetching)
            *queued = nullptr;
        else
            m_toLoad.erase(queued);
    }
    const std::int32_t deleteNumber = ++m_deleteCounter;
    m_updateRequest->Delete(Token(), removed->Summary.playlistID, deleteNumber);
    Tell([&](IPlaylistStoreListener& listener) { listener.OnPlaylistRemoved(playlist); });
    // A playlist never published is not on the server: nothing to keep it for.
    if (removed->Summary.playlistID != 0)
        m_deleting[deleteNumber] = std::move(removed);
}

void CPlaylistStore::DeleteAnswered(std::int32_t deleteNumber, bool failed)
{
    const auto found = m_deleting.find(deleteNumber);
    if (found == m_deleting.end())
        return;
    std::unique_ptr<PlaylistDetail> playlist = std::move(found->second);
    m_deleting.erase(found);
    if (!failed)
        return;
    PlaylistDetail* kept = playlist.get();
    m_playlists.push_back(std::move(playlist));
    Tell([&](IPlaylistStoreListener& listener) { listener.OnPlaylistAdded(kept); });
    ShowMessageBox(LoadResourceString(IDS_DELETE_PLAYLIST_FAILED));
}

int CPlaylistStore::CountLocalTracks(const PlaylistDetail& playlist)
{
    return static_cast<int>(std::count_if(playlist.Tracks.begin(), playlist.Tracks.end(), [](const auto& track) {
        return track->performanceID != 0 && !track->localFilePath.empty();
    }));
}

int CPlaylistStore::PlayPlaylistLocal(const PlaylistDetail& playlist)
{
    if (!playlist.tracksLoaded) {
        ShowMessageBox(LoadResourceString(IDS_PLAYLIST_TRACKS_NOT_LOADED));
        return 0;
    }
    return m_localPlayer.Play(playlist);
}

void CPlaylistStore::OnSessionChanged(const std::string& handle, const std::string& token)
{
    m_handle = handle;
    m_token = token;
    m_loaded = false;
    m_toLoad.clear();
    m_fetching = false;
    m_playlists.clear();
    // What the earlier session's deletes answer no longer concerns this one.
    m_deleting.clear();
    m_summaryCount = 0;
    MakeLoadRequests();
    if (token.empty()) {
        Tell([](IPlaylistStoreListener& listener) { listener.OnPlaylistsCleared(); });
        return;
    }
    Tell([](IPlaylistStoreListener& listener) { listener.OnPlaylistsLoading(); });
    m_listRequest->Fetch(token);
}

void CPlaylistStore::OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t)
{
    if (request == m_listRequest.get())
        ListLoaded();
    else if (request == m_detailsRequest.get())
        DetailsLoaded(value1);
    else if (request == m_updateRequest.get())
        DeleteAnswered(value1, m_updateRequest->TakeDeleteRefused(value1));
}

void CPlaylistStore::OnRequestFailed(CServerRequest* request, HRESULT, std::int32_t value1, std::int32_t)
{
    // Loading stops where it failed; the next session change starts it anew.
    // The playlists whose tracks did not come stay marked so, and are neither
    // published (that would empty them on the server) nor played.
    if (request == m_detailsRequest.get())
        m_fetching = false;
    else if (request == m_updateRequest.get())
        DeleteAnswered(value1, true);
}

void CPlaylistStore::ListLoaded()
{
    // Playlists made with NewPlaylist while the list was on its way stay, after
    // the member's published ones: an editor may hold them.
    std::vector<std::unique_ptr<PlaylistDetail>> made = std::move(m_playlists);
    m_playlists.clear();
    m_toLoad.clear();
    m_summaryCount = m_listRequest->Count();
    for (std::int32_t i = 0; i < m_summaryCount; ++i) {
        auto playlist = std::make_unique<PlaylistDetail>();
        playlist->Summary = m_listRequest->Get(i);
        playlist->tracksLoaded = false;
        m_toLoad.push_back(playlist.get());
        m_playlists.push_back(std::move(playlist));
    }
    m_listRequest->Clear();
    for (auto& playlist : made)
        m_playlists.push_back(std::move(playlist));
    RequestNextDetails();
}

void CPlaylistStore::RequestNextDetails()
{
    while (!m_toLoad.empty() && !m_toLoad.front())
        m_toLoad.erase(m_toLoad.begin());
    if (m_toLoad.empty()) {
        FinishLoading();
        return;
    }
    m_fetching = true;
    m_detailsRequest->Fetch(m_toLoad.front()->Summary.playlistID);
}

void CPlaylistStore::DetailsLoaded(std::int32_t playlistID)
{
    if (!m_fetching)
        return;
    m_fetching = false;
    std::unique_ptr<PlaylistDetail> answer = m_detailsRequest->TakeDetail();
    PlaylistDetail* playlist = m_toLoad.empty() ? nullptr : m_toLoad.front();
    if (!m_toLoad.empty())
        m_toLoad.erase(m_toLoad.begin());
    if (playlist && answer && playlist->Summary.playlistID == playlistID) {
        playlist->Tracks = std::move(answer->Tracks);
        playlist->tracksLoaded = true;
        // Listeners count the local tracks as soon as they hear of the detail.
        if (m_library)
            for (const auto& track : playlist->Tracks)
                track->localFilePath = m_library->GetLocalFile(track->performanceID);
        Tell([&](IPlaylistStoreListener& listener) { listener.OnPlaylistDetailLoaded(playlist); });
    }
    RequestNextDetails();
}

void CPlaylistStore::FinishLoading()
{
    m_loaded = true;
    Tell([](IPlaylistStoreListener& listener) { listener.OnPlaylistsLoaded(); });
}
