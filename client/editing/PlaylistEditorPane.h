#pragma once
// The playlist editor (template 130): a playlist's title, description, theme,
// genre and mood, the member's handle, the track grid, and Publish, Cancel,
// Import, Export and Play Local. The my-playlists pane makes it once, hidden,
// and shows it in its own place for each playlist it opens (LoadPlaylist);
// the editor tells that owner when it closes.
#include "client/catalogue/LookupTablesModel.h"
#include "client/editing/EditingServices.h"
#include "client/editing/PlaylistEditListener.h"
#include "client/editing/PlaylistEditorModel.h"
#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/PaneServices.h"

#include <memory>
#include <string>

class CAllPlaylistsPane;
class CColorButton;
class CPlaylistEditGridCtrl;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

/// The session as the editing models ask for it; empty while there is none.
class CPaneEditingSession : public IEditingSession {
public:
    explicit CPaneEditingSession(const CSession* session) : m_session(session) {}
    std::string SessionToken() const override;
    std::string CurrentHandle() const override;
    std::int32_t CurrentUserId() const override;

private:
    const CSession* m_session;
};

class CPlaylistEditorPane : public CBaseDlgPane,
                            public IPlaylistEditListener,
                            public IPlaylistEditorListener,
                            public ITablesListener {
public:
    /// The services' playlist store is required; owner may be null.
    CPlaylistEditorPane(CAllPlaylistsPane* owner, const PaneServices& services, QWidget* parent = nullptr);
    ~CPlaylistEditorPane() override;

    /// The playlist to edit (the store's record): its values and tracks into
    /// the controls, the title selected and focused.
    void LoadPlaylist(PlaylistDetail& detail);
    /// The record being edited; nullptr when none (or it left the store).
    PlaylistDetail* Playlist() const { return m_editor->Playlist(); }

    /// Publish (32785) and Import Playlist (32776) while the editor is shown.
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

    /// Publish: refused while rows are unresolved (3501); the owner is told
    /// only when the store says the playlist is published.
    void Publish();
    /// Cancel: the owner is told, nothing is written.
    void Cancel();

    CPlaylistEditorModel& Editor() { return *m_editor; }
    CPlaylistEditGridCtrl* Grid() const { return m_grid; }
    bool HasLocal() const { return m_hasLocal; }

    // IPlaylistEditListener
    void OnShowPlaylistDetail(const PlaylistSummary& playlist) override;
    void OnPerformanceClicked(const PerformanceSummary& performance) override;
    void OnArtistClicked(std::int32_t artistId) override;
    void OnShowArtistDetail(const ArtistSummary& artist) override;
    void OnLocalCountChanged(int count) override;

    // IPlaylistEditorListener
    void OnEditedPlaylistGone() override;

    // ITablesListener: the three lists are filled again, their values kept.
    void OnTablesChanged() override;

protected:
    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;
    /// Files dropped on the pane outside the grid: XML playlist documents.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    /// The playlist file commands (Import, Export, Play Local) are not offered
    /// by this editor; their buttons stay disabled.
    static constexpr bool kFileCommands = false;

    /// The model's values into the controls, and back.
    void ValuesToControls();
    void ControlsToValues();
    void FillLists();
    void SelectTitle();

    CAllPlaylistsPane* m_owner;
    PaneServices m_services;
    CPaneEditingSession m_session;
    std::unique_ptr<CPlaylistEditorModel> m_editor;
    QLineEdit* m_title = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QComboBox* m_theme = nullptr;
    QComboBox* m_genre = nullptr;
    QComboBox* m_mood = nullptr;
    QLabel* m_playmaker = nullptr;
    CPlaylistEditGridCtrl* m_grid = nullptr;
    CColorButton* m_publish = nullptr;
    CColorButton* m_cancel = nullptr;
    CColorButton* m_import = nullptr;
    CColorButton* m_export = nullptr;
    CColorButton* m_playLocal = nullptr;
    bool m_hasLocal = false;
    // Taken at creation: the grid's margin to the right edge and the band below it.
    int m_gridRight = 0;
    int m_buttonBand = 0;
};
