#pragma once
// What the playlist editor pane shows and does without its window: the
// playlist's values, its track rows, loading a stored playlist, publishing it
// and files dropped on the pane.
#include "client/editing/PlaylistEditModel.h"
#include "client/editing/PlaylistStoreListener.h"

#include <cstdint>
#include <string>
#include <vector>

class CPlaylistStore;
class IEditingSession;
struct PlaylistDetail;

/// Shown on its own thread while a publish blocks the user-interface thread.
class IPublishProgress {
public:
    virtual void Show() = 0;
    virtual void Hide() = 0;

protected:
    ~IPublishProgress() = default;
};

enum class PublishOutcome {
    Refused,    ///< rows still unresolved, or the playlist's tracks never loaded; nothing was sent
    Failed,     ///< the server did not take it; the editor stays open
    Published,  ///< the editor closes
    Closed,     ///< the store no longer holds the playlist; nothing was sent, the editor closes
};

/// Told on the user-interface thread.
class IPlaylistEditorListener {
public:
    /// The playlist being edited left the store (a logout, a new login, a
    /// delete): the editor closes without publishing, as at logout.
    virtual void OnEditedPlaylistGone() = 0;

protected:
    ~IPlaylistEditorListener() = default;
};

class CPlaylistEditorModel : private IPlaylistStoreListener {
public:
    /// The store must outlive the editor.
    CPlaylistEditorModel(CPlaylistStore& store, IEditingSession* session, ILocalTrackLibrary* library);
    ~CPlaylistEditorModel();
    CPlaylistEditorModel(const CPlaylistEditorModel&) = delete;
    CPlaylistEditorModel& operator=(const CPlaylistEditorModel&) = delete;

    // The values of the pane's controls; the pane moves them in and out.
    std::string title;
    std::string description;
    std::string theme;
    std::string playmaker;
    std::int32_t genre = 0;
    std::int32_t mood = 0;

    void SetListener(IPlaylistEditorListener* listener) { m_listener = listener; }

    CPlaylistEditModel& Rows() { return m_rows; }
    const CPlaylistEditModel& Rows() const { return m_rows; }
    /// The record being edited, owned by the store; null before LoadPlaylist.
    PlaylistDetail* Playlist() const { return m_playlist; }

    void LoadPlaylist(PlaylistDetail& detail);
    /// Refuses with message 3501 while rows are unresolved, and a playlist
    /// whose tracks never loaded, else writes the values and rows into the
    /// record and publishes it through the store. Only a record the store
    /// still holds is published.
    PublishOutcome Publish(IPublishProgress* progress = nullptr);
    /// Files dropped on the pane outside the grid: only XML playlist documents.
    void DropFilesOnPane(const std::vector<std::string>& paths);

private:
    std::string CurrentHandle() const;
    void PlaylistGone();

    // The record is forgotten when the store lets it go.
    void OnPlaylistsLoading() override { PlaylistGone(); }
    void OnPlaylistsLoaded() override {}
    void OnPlaylistsCleared() override { PlaylistGone(); }
    void OnPlaylistDetailLoaded(PlaylistDetail*) override {}
    void OnPlaylistAdded(PlaylistDetail*) override {}
    void OnPlaylistRemoved(PlaylistDetail* playlist) override;
    void OnPlaylistUpdated(PlaylistDetail*) override {}

    CPlaylistStore& m_store;
    IEditingSession* m_session;
    CPlaylistEditModel m_rows;
    PlaylistDetail* m_playlist = nullptr;
    IPlaylistEditorListener* m_listener = nullptr;
};
