#include "client/favorites/BookmarkPane.h"

#include "client/catalogue/ItemRef.h"
#include "client/editing/PlaylistStore.h"
#include "client/favorites/FavoritesModel.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "client/ui/shell/ContextMenu.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/DialogUnits.h"
#include "client/ui/shell/ItemCommands.h"

#include <QApplication>
#include <QResizeEvent>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <unordered_set>

namespace {

constexpr unsigned kGroupTexts[] = {IDS_GROUP_PLAYLISTS, IDS_GROUP_PLAYMAKERS, IDS_GROUP_ARTISTS, IDS_GROUP_TRACKS,
                                    IDS_GROUP_I_CREATED};
// Template 149: the grid at 7,7, 172 by 102 dialog units.
const QRect kGridUnits(7, 7, 172, 102);
// Below the grid.
constexpr int kBottomMargin = 10;

// The group of a BookmarkType; -1 for any other number.
int GroupOfType(std::int32_t type)
{
    switch (type) {
    case kBookmarkArtist: return CBookmarkPane::kArtists;
    case kBookmarkPlaylist: return CBookmarkPane::kPlaylists;
    case kBookmarkTrack: return CBookmarkPane::kTracks;
    case kBookmarkPlaymaker: return CBookmarkPane::kPlaymakers;
    default: return -1;
    }
}

// The BookmarkType of a favorite's item; 0 for an own playlist.
std::int32_t TypeOfItem(const CItemRef& item)
{
    switch (item.Kind()) {
    case kItemArtist: return kBookmarkArtist;
    case kItemPlaylist: return kBookmarkPlaylist;
    case kItemPerformance: return kBookmarkTrack;
    case kItemUser: return kBookmarkPlaymaker;
    default: return 0;
    }
}

CBookmarkPane::Group GroupOfItem(const CItemRef& item)
{
    const int group = GroupOfType(TypeOfItem(item));
    return group < 0 ? CBookmarkPane::kICreated : static_cast<CBookmarkPane::Group>(group);
}

std::string Text(unsigned id)
{
    return LoadResourceString(id);
}

}  // namespace

CBookmarkPane::CBookmarkPane(const PaneServices& services, QWidget* parent)
    : CBaseDlgPane(IDD_BOOKMARK_PANE, parent), m_services(services)
{
    setObjectName(QStringLiteral("tags"));
}

CBookmarkPane::~CBookmarkPane()
{
    if (m_listening) {
        if (m_services.favorites)
            m_services.favorites->RemoveListener(this);
        if (m_services.playlists)
            m_services.playlists->RemoveListener(this);
    }
    if (m_grid) {
        m_grid->RemoveListener(this);
        m_grid->RemoveAll();
    }
}

void CBookmarkPane::Create(QWidget* parent, int controlId)
{
    CreateAndShow(parent, controlId);
}

void CBookmarkPane::OnInitDialog()
{
    m_grid = new CItemListGridCtrl(this);
    SetControlId(m_grid, IDC_BOOKMARK_GRID);
    m_grid->setGeometry(DialogUnitsToPixels(this, kGridUnits));
    m_grid->SetupColumns();
    // Favorites are plain rows under their group rows.
    m_grid->SetOutlineFlag(false);
    m_grid->SetRowMoving(true);
    m_grid->AddListener(this);
    connect(m_grid, &CVSFlexGrid::MouseDown, this, [this](int button, int, float, float) { OnGridMouseDown(button); });
    connect(m_grid, &CVSFlexGrid::MouseMove, this,
            [this](int buttons, int, float, float) { OnGridMouseMove(buttons); });
    connect(m_grid, &CVSFlexGrid::KeyDown, this, [this](int& key, int) {
        if (key == Qt::Key_Delete)
            RemoveSelected();
    });
    connect(m_grid, &CVSFlexGrid::BeforeMoveRow, this, [this](int row, int& position) {
        const int fixed = m_grid->FixedRows();
        int target = position - fixed;
        OnBeforeMoveRow(row - fixed, target);
        position = target + fixed;
    });
    for (int group = 0; group < kGroupCount; ++group)
        m_groups[static_cast<std::size_t>(group)] = m_grid->AddGroupRow(Text(kGroupTexts[group]));

    m_listening = true;
    if (m_services.favorites)
        m_services.favorites->AddListener(this);
    if (m_services.playlists)
        m_services.playlists->AddListener(this);
}

void CBookmarkPane::resizeEvent(QResizeEvent* event)
{
    CBaseDlgPane::resizeEvent(event);
    if (!m_grid)
        return;
    const QPoint at = m_grid->pos();
    m_grid->resize(width() - 2 * at.x(), height() - at.y() - kBottomMargin);
}

// ---- groups ----

std::pair<int, int> CBookmarkPane::GroupBounds(Group group) const
{
    const int first = m_grid->IndexOfItem(m_groups[group]) + 1;
    const int end = group + 1 < kGroupCount ? m_grid->IndexOfItem(m_groups[group + 1]) : m_grid->GetRowCount();
    return {first, end - 1};
}

std::vector<int> CBookmarkPane::GroupRowsOf(Group group, const void* record) const
{
    const auto [first, last] = GroupBounds(group);
    std::vector<int> rows;
    for (int index : m_grid->RowsOfRecord(record)) {
        if (index >= first && index <= last)
            rows.push_back(index);
    }
    return rows;
}

void CBookmarkPane::ClearFavoriteGroups()
{
    for (Group group : {kPlaylists, kPlaymakers, kArtists, kTracks})
        m_grid->RemoveGroupChildren(m_groups[group]);
}

void CBookmarkPane::FillFavoriteGroups()
{
    CFavoritesModel* model = m_services.favorites;
    if (!model)
        return;
    for (std::int32_t i = 0; i < model->PlaymakerCount(); ++i)
        m_grid->AddPlaymaker(*model->Playmaker(i), m_groups[kPlaymakers]);
    for (std::int32_t i = 0; i < model->ArtistCount(); ++i)
        m_grid->AddArtist(*model->Artist(i), m_groups[kArtists]);
    for (std::int32_t i = 0; i < model->TrackCount(); ++i)
        m_grid->AddPerformance(*model->Track(i), m_groups[kTracks]);
    for (std::int32_t i = 0; i < model->PlaylistCount(); ++i)
        m_grid->AddPlaylistSummary(*model->Playlist(i), m_groups[kPlaylists]);
}

void CBookmarkPane::ClearICreated()
{
    m_grid->RemoveGroupChildren(m_groups[kICreated]);
}

// ---- the favorites model ----

void CBookmarkPane::OnFavoritesReset()
{
    ClearFavoriteGroups();
}

void CBookmarkPane::OnFavoritesLoaded()
{
    ClearFavoriteGroups();
    FillFavoriteGroups();
}

void CBookmarkPane::OnFavoritesCleared()
{
    ClearFavoriteGroups();
}

void CBookmarkPane::OnFavoritesReload()
{
    ClearFavoriteGroups();
    FillFavoriteGroups();
}

void CBookmarkPane::OnFavoriteAdded(std::int32_t type, std::int32_t index)
{
    CFavoritesModel* model = m_services.favorites;
    if (!model)
        return;
    switch (type) {
    case kBookmarkArtist:
        if (ArtistSummary* artist = model->Artist(index))
            m_grid->AddArtist(*artist, m_groups[kArtists]);
        break;
    case kBookmarkPlaylist:
        if (PlaylistSummary* playlist = model->Playlist(index))
            m_grid->AddPlaylistSummary(*playlist, m_groups[kPlaylists]);
        break;
    case kBookmarkTrack:
        if (PerformanceSummary* track = model->Track(index))
            m_grid->AddPerformance(*track, m_groups[kTracks]);
        break;
    case kBookmarkPlaymaker:
        if (UserSummary* playmaker = model->Playmaker(index))
            m_grid->AddPlaymaker(*playmaker, m_groups[kPlaymakers]);
        break;
    default: break;
    }
}

void CBookmarkPane::OnOperationFinished(CBookmarkOperation* operation)
{
    const int group = GroupOfType(operation->type);
    if (group < 0)
        return;
    // Each item takes the first of its rows that no earlier item took; the
    // rows then go together, so that a thousand of them cost one pass.
    std::vector<int> going;
    std::unordered_set<int> taken;
    for (const auto& item : operation->items) {
        const std::vector<int> rows = GroupRowsOf(static_cast<Group>(group), item->Record());
        if (operation->success) {
            const auto first =
                std::find_if(rows.begin(), rows.end(), [&](int index) { return taken.count(index) == 0; });
            if (first != rows.end()) {
                taken.insert(*first);
                going.push_back(*first);
            }
        } else {
            for (int index : rows)
                m_grid->HideRow(index, false);
        }
    }
    m_grid->RemoveRows(going);
}

// ---- the playlist store ----

void CBookmarkPane::OnPlaylistsLoading()
{
    ClearICreated();
    m_grid->AddRowInGroup(Text(IDS_LOADING_PLAYLISTS), m_groups[kICreated]);
}

void CBookmarkPane::OnPlaylistsLoaded()
{
    ClearICreated();
    CPlaylistStore* store = m_services.playlists;
    if (!store)
        return;
    for (int i = 0; i < store->GetCount(); ++i)
        m_grid->AddPlaylist(*store->GetAt(i), m_groups[kICreated]);
}

void CBookmarkPane::OnPlaylistsCleared()
{
    ClearICreated();
    m_grid->AddRowInGroup(Text(IDS_NOT_LOGGED_IN_I_CREATED), m_groups[kICreated]);
}

void CBookmarkPane::OnPlaylistAdded(PlaylistDetail* playlist)
{
    if (playlist)
        m_grid->AddPlaylist(*playlist, m_groups[kICreated]);
}

void CBookmarkPane::OnPlaylistRemoved(PlaylistDetail* playlist)
{
    const std::vector<int> rows = GroupRowsOf(kICreated, playlist);
    if (!rows.empty())
        m_grid->RemoveRow(rows.front());
}

void CBookmarkPane::OnPlaylistUpdated(PlaylistDetail* playlist)
{
    if (!playlist)
        return;
    const std::string text = playlist->Summary.Name + " by " + playlist->Summary.Playmaker.Handle;
    for (int index : GroupRowsOf(kICreated, playlist))
        m_grid->SetCellText(index, 0, text);
}

// ---- clicks, context menus and commands ----

void CBookmarkPane::OnItemClicked(CGridRowItem* item)
{
    ShowDetails(CItemListGridCtrl::ItemRefOf(item));
}

void CBookmarkPane::ShowDetails(const CItemRef* item)
{
    if (item)
        ShowItemDetails(m_services, *item);
}

void CBookmarkPane::OnContextRequest(CGridRowItem* item, int x, int y)
{
    m_contextRow = m_grid->RowIdOf(item);
    const CItemRef* ref = CItemListGridCtrl::ItemRefOf(item);
    if (!ref || item->IsGroup())
        return;
    unsigned menu = 0;
    switch (ref->Kind()) {
    case kItemPlaylistDetail: menu = IDR_MENU_FAVORITE_CREATED; break;
    case kItemPlaylist: menu = IDR_MENU_FAVORITE_PLAYLIST; break;
    case kItemUser: menu = IDR_MENU_FAVORITE_PLAYMAKER; break;
    case kItemArtist: menu = IDR_MENU_FAVORITE_ARTIST; break;
    case kItemPerformance: menu = IDR_MENU_FAVORITE_TRACK; break;
    }
    // The pane may be gone when the menu returns: nothing may follow.
    TrackContextMenu(menu, QPoint(x, y), *this, this);
}

CItemRef* CBookmarkPane::ContextItem() const
{
    return m_grid ? m_grid->GetItemRef(m_grid->IndexOfRow(m_contextRow)) : nullptr;
}

bool CBookmarkPane::OnCmdMsg(unsigned id, CCommandUpdate* update)
{
    switch (id) {
    case ID_SHOW_DETAILS:
    case ID_ITEM_PLAY:
    case ID_PLAYLIST_PREVIEW:
    case ID_SEND_TO_FRIEND:
    case ID_EMAIL_PLAYMAKER:
    case ID_ITEM_EXPORT:
    case ID_TRACK_PREVIEW:
    case ID_ITEM_COPY:
    case ID_REMOVE_FAVORITE_PLAYMAKER:
    case ID_REMOVE_FAVORITE_PLAYLIST:
    case ID_REMOVE_FAVORITE_TRACK:
    case ID_REMOVE_FAVORITE_ARTIST: {
        // A menu's nested loop may have taken its row away: then nothing acts.
        CItemRef* item = ContextItem();
        if (update)
            update->Enable(item && ItemCommandEnabled(id, *item));
        else if (item)
            RunCommand(id, *item);
        return true;
    }
    default: return CBaseDlgPane::OnCmdMsg(id, update);
    }
}

// Every command acts on the row the menu was opened on (the row its greying
// was decided for); the removals on every selected row.
void CBookmarkPane::RunCommand(unsigned id, const CItemRef& item)
{
    switch (id) {
    case ID_ITEM_PLAY:
        if (const PlaylistDetail* own = item.AsPlaylistDetail(); own && m_services.playlists)
            m_services.playlists->PlayPlaylistLocal(*own);
        break;
    case ID_REMOVE_FAVORITE_PLAYMAKER:
    case ID_REMOVE_FAVORITE_PLAYLIST:
    case ID_REMOVE_FAVORITE_TRACK:
    case ID_REMOVE_FAVORITE_ARTIST: RemoveSelected(); break;
    default:  // Export has no action here.
        RunItemCommand(id, item, m_services);
        break;
    }
}

void CBookmarkPane::RemoveSelected()
{
    CFavoritesModel* model = m_services.favorites;
    if (!model)
        return;
    // By BookmarkType - 1: artists, playlists, tracks, playmakers.
    std::array<std::vector<std::unique_ptr<CItemRef>>, 4> lists;
    for (int index : m_grid->GetSelectedIndices()) {
        const CItemRef* item = m_grid->GetItemRef(index);
        const std::int32_t type = item ? TypeOfItem(*item) : 0;
        // Group rows, text rows, own playlists and removals under way stay.
        if (type == 0 || m_grid->IsRowHidden(index))
            continue;
        m_grid->HideRow(index);
        lists[static_cast<std::size_t>(type - 1)].push_back(std::make_unique<CItemRef>(*item));
    }
    for (std::int32_t type = kBookmarkArtist; type <= kBookmarkPlaymaker; ++type) {
        auto& list = lists[static_cast<std::size_t>(type - 1)];
        if (!list.empty())
            model->RemoveFavorites(std::move(list), type);
    }
}

// ---- dragging a favorite within its group ----

void CBookmarkPane::OnGridMouseDown(int button)
{
    if (button != 1)
        return;
    m_pressPoint = m_grid->MouseScreenPos();
    m_pressRow = m_grid->GetRowId(m_grid->MouseRow() - m_grid->FixedRows());
}

void CBookmarkPane::OnGridMouseMove(int buttons)
{
    if ((buttons & 1) == 0 || m_grid->IsDraggingRow())
        return;
    const int under = m_grid->MouseRow() - m_grid->FixedRows();
    if (under <= 0 || under != m_grid->GetSelectedIndex())
        return;
    // Within the drag rectangle around the press, edges included, nothing starts.
    const QPoint at = m_grid->MouseScreenPos();
    const int half = QApplication::startDragDistance() / 2;
    if (std::abs(at.x() - m_pressPoint.x()) <= half && std::abs(at.y() - m_pressPoint.y()) <= half)
        return;
    const int pressed = m_grid->IndexOfRow(m_pressRow);
    if (pressed < 0)
        return;
    OnItemClicked(m_grid->GetRowItem(pressed));
    m_grid->DragRow(pressed + m_grid->FixedRows());
}

void CBookmarkPane::OnBeforeMoveRow(int s, int& t)
{
    const CGridRowItem* from = m_grid->GetRowItem(s);
    const CGridRowItem* to = m_grid->GetRowItem(t);
    const CItemRef* moved = CItemListGridCtrl::ItemRefOf(from);
    const CItemRef* target = CItemListGridCtrl::ItemRefOf(to);
    // A favorite whose removal is under way (Delete pressed during the drag)
    // stays where it is: a move sent for it could reach the server after it is gone.
    if (!moved || !target || from->IsGroup() || to->IsGroup() || moved->Kind() != target->Kind() ||
        m_grid->IsRowHidden(s)) {
        t = s;
        return;
    }
    // Own playlists move on the screen only.
    if (TypeOfItem(*moved) == 0 || !m_services.favorites)
        return;
    m_services.favorites->MoveFavorite(*moved, MovePredecessor(GroupOfItem(*moved), s, t));
}

const CItemRef* CBookmarkPane::MovePredecessor(Group group, int s, int t) const
{
    const int groupRow = m_grid->IndexOfItem(m_groups[group]);
    // Moving up, the row lands before row t; moving down, after it.
    int previous = s > t ? t - 1 : t;
    // A row whose removal is under way is about to leave the server's list:
    // the favorite follows the nearest row that stays.
    while (previous > groupRow && m_grid->IsRowHidden(previous))
        --previous;
    return previous > groupRow ? m_grid->GetItemRef(previous) : nullptr;
}
