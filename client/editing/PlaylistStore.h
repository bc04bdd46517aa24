#pragma once
// The member's own playlists with their tracks: loaded at login, forgotten at
// logout, created, published and deleted here. The store owns the records;
// panes and the editor borrow them. User-interface thread only.
#include "client/catalogue/PlaylistDetail.h"
#include "client/editing/PlaylistStoreListener.h"
#include "client/localmedia/LocalPlayer.h"
#include "client/protocol/GuardedList.h"
#include "client/protocol/RequestListener.h"
#include "client/protocol/SessionListener.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CGetPlaylistDetailsRequest;
class CGetUserPlaylistsRequest;
class CUpdatePlaylistRequest;
class IEditingSession;
class ILocalTrackLibrary;

class CPlaylistStore : public ISessionListener, public IRequestListener {
public:
    /// session and library may be null: the token and handle then come from
    /// the last session change, and no track learns a local file. Register
    /// the store as a session listener after making it and remove it before
    /// deleting it.
    CPlaylistStore(IEditingSession* session, ILocalTrackLibrary* library);
    ~CPlaylistStore();
    CPlaylistStore(const CPlaylistStore&) = delete;
    CPlaylistStore& operator=(const CPlaylistStore&) = delete;

    /// A listener added once the store is loaded is told "loading" and
    /// "loaded" at once.
    void AddListener(IPlaylistStoreListener* listener);
    void RemoveListener(IPlaylistStoreListener* listener);

    int GetCount() const { return static_cast<int>(m_playlists.size()); }
    PlaylistDetail* GetAt(int index) const;
    bool IsLoaded() const { return m_loaded; }

    /// A new, empty playlist of the member who is logged in.
    PlaylistDetail* NewPlaylist();
    /// Whether the store holds that record.
    bool Holds(const PlaylistDetail* playlist) const;
    /// Synchronous create or update; the listeners hear OnPlaylistUpdated
    /// whatever the outcome, as the record may have changed. E_FAIL when the
    /// server did not take it (the playlistID then stays as it was). A
    /// playlist whose tracks did not load is not sent: E_FAIL, nobody told.
    HRESULT PublishPlaylist(PlaylistDetail& playlist);
    /// Removes the playlist and tells the server; nothing when the store does
    /// not hold it. When the server does not delete it, the member is told
    /// and the playlist comes back (OnPlaylistAdded).
    void DeletePlaylist(PlaylistDetail* playlist);
    /// Tracks with a catalogue number and a local file.
    static int CountLocalTracks(const PlaylistDetail& playlist);
    /// Opens those tracks as pmt%05d.m3u in the temporary folder; returns how
    /// many were listed (nothing is opened for none). A playlist whose tracks
    /// did not load is refused with a message.
    int PlayPlaylistLocal(const PlaylistDetail& playlist);

    void OnSessionChanged(const std::string& handle, const std::string& token) override;
    void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) override;
    void OnRequestFailed(CServerRequest* request, HRESULT result, std::int32_t value1, std::int32_t value2) override;

private:
    std::string Token() const;
    void MakeLoadRequests();
    void ListLoaded();
    void DetailsLoaded(std::int32_t playlistID);
    void RequestNextDetails();
    void FinishLoading();
    void DeleteAnswered(std::int32_t deleteNumber, bool failed);
    template <typename F>
    void Tell(F&& f)
    {
        m_listeners.ForEach([&](IPlaylistStoreListener* listener) { f(*listener); });
    }

    IEditingSession* m_session;
    ILocalTrackLibrary* m_library;
    std::string m_handle;
    std::string m_token;
    std::vector<std::unique_ptr<PlaylistDetail>> m_playlists;
    int m_summaryCount = 0;
    // Playlists whose details are still to come, in order; the first is being
    // fetched while m_fetching is set.
    std::vector<PlaylistDetail*> m_toLoad;
    bool m_fetching = false;
    bool m_loaded = false;
    // Deleted playlists kept until the server confirms, by delete number.
    std::map<std::int32_t, std::unique_ptr<PlaylistDetail>> m_deleting;
    std::int32_t m_deleteCounter = 0;
    CLocalPlayer m_localPlayer{CLocalPlayer::kStorePrefix};
    std::unique_ptr<CGetUserPlaylistsRequest> m_listRequest;
    std::unique_ptr<CGetPlaylistDetailsRequest> m_detailsRequest;
    std::unique_ptr<CUpdatePlaylistRequest> m_updateRequest;
    CGuardedList<IPlaylistStoreListener*> m_listeners;
};
