#pragma once
// Observer of the member's playlist store, told on the user-interface thread.
struct PlaylistDetail;

class IPlaylistStoreListener {
public:
    virtual void OnPlaylistsLoading() = 0;
    virtual void OnPlaylistsLoaded() = 0;
    /// The member logged out; the store is empty.
    virtual void OnPlaylistsCleared() = 0;
    virtual void OnPlaylistDetailLoaded(PlaylistDetail* playlist) = 0;
    virtual void OnPlaylistAdded(PlaylistDetail* playlist) = 0;
    /// Told before the record is deleted.
    virtual void OnPlaylistRemoved(PlaylistDetail* playlist) = 0;
    virtual void OnPlaylistUpdated(PlaylistDetail* playlist) = 0;

protected:
    ~IPlaylistStoreListener() = default;
};
