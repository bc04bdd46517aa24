#pragma once
// The pane of the Create tab (template 158): the member's own playlists, by
// name, with New, Edit, Delete and Play Local. It shows what the playlist
// store holds and owns the one playlist editor, which it shows in its own
// place while a playlist is being edited.
#include "client/editing/PlaylistStoreListener.h"
#include "client/ui/grid/GridListener.h"
#include "client/ui/grid/GridRowItem.h"
#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/PaneServices.h"

#include <QPointer>

class CColorButton;
class CItemListGridCtrl;
class CPlaylistEditorPane;
struct PlaylistDetail;

class CAllPlaylistsPane : public CBaseDlgPane, public IGridListener, public IPlaylistStoreListener {
public:
    /// The services' playlist store, detail pages and session are used when
    /// present; they outlive the pane.
    explicit CAllPlaylistsPane(const PaneServices& services, QWidget* parent = nullptr);
    /// Leaves the store's listeners and closes the editor.
    ~CAllPlaylistsPane() override;

    /// Makes the pane, named "playlisteditor", a child of parent with
    /// controlId, with the editor beside it, and shows it.
    void Create(QWidget* parent, int controlId);

    CItemListGridCtrl* Grid() const { return m_grid; }
    /// The editor (a sibling of the pane); nullptr without a playlist store.
    CPlaylistEditorPane* Editor() const;
    /// The playlist open in the editor; nullptr when none.
    PlaylistDetail* CurrentPlaylist() const { return m_current; }
    bool IsEditing() const { return m_current != nullptr; }

    /// The editor closed: published after Publish, not after Cancel, at
    /// logout or when its playlist left the store. A new playlist that was
    /// not published is deleted again.
    void EditorClosed(bool published);

    /// New, Edit, Delete and Play; while the editor is shown its commands go
    /// to it first.
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

    void New();
    /// The selected playlist; nothing without one.
    void Edit();
    /// Asks before deleting the selected playlist; nothing without one.
    void Delete();
    void PlayLocal();

    // IGridListener
    void OnItemClicked(CGridRowItem* item) override;
    void OnContextRequest(CGridRowItem* item, int x, int y) override;
    void OnCellClicked(int, int) override {}

    // IPlaylistStoreListener
    void OnPlaylistsLoading() override;
    void OnPlaylistsLoaded() override;
    void OnPlaylistsCleared() override;
    void OnPlaylistDetailLoaded(PlaylistDetail*) override {}
    void OnPlaylistAdded(PlaylistDetail* playlist) override;
    void OnPlaylistRemoved(PlaylistDetail* playlist) override;
    void OnPlaylistUpdated(PlaylistDetail* playlist) override;

protected:
    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddPlaylistRow(PlaylistDetail& playlist);
    void ShowTextRow(unsigned stringId);
    /// The playlist of a row, while the store holds it; nullptr for none.
    PlaylistDetail* PlaylistAt(int index) const;
    PlaylistDetail* SelectedPlaylist() const;
    /// The playlist of the row the last context menu was opened on.
    PlaylistDetail* ContextPlaylist() const;
    void OpenEditor(PlaylistDetail& playlist);
    /// The editor's playlist leaves it; the records it named may be gone.
    void ForgetCurrent();
    void UpdatePlayLocal();
    void EnableListButtons(bool enabled);
    void DeletePlaylist(const CGridRowId& row);

    PaneServices m_services;
    CItemListGridCtrl* m_grid = nullptr;
    CColorButton* m_new = nullptr;
    CColorButton* m_edit = nullptr;
    CColorButton* m_delete = nullptr;
    CColorButton* m_playLocal = nullptr;
    QPointer<CPlaylistEditorPane> m_editor;
    // The tab view both panes stand in; its size is the editor's.
    QPointer<QWidget> m_parentWatched;
    PlaylistDetail* m_current = nullptr;
    bool m_isNew = false;
    bool m_hasLocal = false;
    bool m_listening = false;
    CGridRowId m_contextRow;
    // Taken at creation: the band of buttons below the grid.
    int m_buttonBand = 0;
};
