#pragma once
// The pane of the Favorites tab: one item list in which the member's favorites
// stand in four groups (Playlists, Playmakers, Artists, Tracks) and the
// member's own playlists in a fifth, I Created. The pane changes no favorite
// itself: removals and moves go to the favorites model, and the rows follow
// what the model and the playlist store report. A removal hides its rows until
// the model reports the outcome; a favorite dragged within its group is moved
// behind the record of the row it lands after.
#include "client/editing/PlaylistStoreListener.h"
#include "client/favorites/FavoritesListener.h"
#include "client/ui/grid/GridListener.h"
#include "client/ui/grid/GridRowItem.h"
#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/PaneServices.h"

#include <QPoint>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

class CItemListGridCtrl;
class CItemRef;

class CBookmarkPane : public CBaseDlgPane,
                      public IGridListener,
                      public IPlaylistStoreListener,
                      public IFavoritesListener {
public:
    /// The groups, in grid order.
    enum Group { kPlaylists, kPlaymakers, kArtists, kTracks, kICreated, kGroupCount };

    /// The services' favorites model, playlist store, detail pages, previews
    /// and clipboard are used when present; they outlive the pane.
    explicit CBookmarkPane(const PaneServices& services, QWidget* parent = nullptr);
    /// Leaves the model's and the store's listeners.
    ~CBookmarkPane() override;

    /// Makes the pane, named "tags", a child of parent with controlId, builds
    /// its grid and groups, registers with the model and the store, and shows it.
    void Create(QWidget* parent, int controlId);

    CItemListGridCtrl* Grid() const { return m_grid; }
    CGridRowItem* GroupRow(Group group) const { return m_groups[group]; }

    /// The context menus' commands: enabled for the row the last menu was
    /// opened on while that row lives (E-mail Playmaker and a track's Preview
    /// greyed as the row says), run on that row.
    bool OnCmdMsg(unsigned id, CCommandUpdate* update) override;

    // IGridListener
    void OnItemClicked(CGridRowItem* item) override;
    void OnContextRequest(CGridRowItem* item, int x, int y) override;
    void OnCellClicked(int, int) override {}

    // IPlaylistStoreListener: the I Created group.
    void OnPlaylistsLoading() override;
    void OnPlaylistsLoaded() override;
    void OnPlaylistsCleared() override;
    void OnPlaylistDetailLoaded(PlaylistDetail*) override {}
    void OnPlaylistAdded(PlaylistDetail* playlist) override;
    void OnPlaylistRemoved(PlaylistDetail* playlist) override;
    void OnPlaylistUpdated(PlaylistDetail* playlist) override;

    // IFavoritesListener: the four favorites groups.
    void OnFavoritesReset() override;
    void OnFavoritesLoaded() override;
    void OnFavoritesCleared() override;
    void OnFavoritesReload() override;
    void OnFavoriteAdded(std::int32_t type, std::int32_t index) override;
    void OnOperationFinished(CBookmarkOperation* operation) override;

protected:
    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ClearFavoriteGroups();
    void FillFavoriteGroups();
    void ClearICreated();
    /// Data indices of the group's first and last child row (first > last
    /// when it has none).
    std::pair<int, int> GroupBounds(Group group) const;
    /// The rows of the group whose item refers to record, in grid order.
    std::vector<int> GroupRowsOf(Group group, const void* record) const;

    void ShowDetails(const CItemRef* item);
    /// The item of the row the last context menu was opened on, while that row lives.
    CItemRef* ContextItem() const;
    void RunCommand(unsigned id, const CItemRef& item);
    /// Hides the selected favorites and asks the model to remove them, one
    /// operation per kind: artists, playlists, tracks, playmakers.
    void RemoveSelected();

    void OnGridMouseDown(int button);
    void OnGridMouseMove(int buttons);
    /// The widget's question before it moves a dragged row from s to t: t is
    /// set back to s to refuse.
    void OnBeforeMoveRow(int s, int& t);
    /// The favorite the row moved from s to t is to follow; nullptr for the
    /// first place of its group.
    const CItemRef* MovePredecessor(Group group, int s, int t) const;

    PaneServices m_services;
    CItemListGridCtrl* m_grid = nullptr;
    std::array<CGridRowItem*, kGroupCount> m_groups{};
    bool m_listening = false;
    CGridRowId m_contextRow;
    QPoint m_pressPoint;
    CGridRowId m_pressRow;
};
