#include "client/search/SearchResultsPane.h"

#include "client/app/Session.h"
#include "client/catalogue/ItemRef.h"
#include "client/favorites/FavoritesModel.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/search/SearchController.h"
#include "client/search/SearchForms.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "client/ui/shell/ColorButton.h"
#include "client/ui/shell/ContextMenu.h"
#include "client/ui/shell/DialogUnits.h"
#include "client/ui/shell/ItemCommands.h"

#include <QResizeEvent>

#include <vector>

namespace {

// Template 202, in dialog units.
const QRect kClearButton(7, 4, 55, 14);
const QRect kCloseAllButton(66, 4, 45, 14);
const QRect kGridUnits(7, 22, 200, 100);
// Below the grid.
constexpr int kBottomMargin = 10;

std::string Text(unsigned id)
{
    return LoadResourceString(id);
}

}  // namespace

CSearchResultsPane::CSearchResultsPane(const PaneServices& services, QWidget* parent)
    : CBaseDlgPane(IDD_SEARCH_RESULTS, parent), m_services(services), m_moreText(Text(IDS_MORE_RESULTS))
{
    setObjectName(QStringLiteral("search"));
}

CSearchResultsPane::~CSearchResultsPane()
{
    if (m_listening && m_services.search)
        m_services.search->RemoveListener(this);
    if (m_grid) {
        m_grid->RemoveListener(this);
        m_grid->RemoveAll();
    }
}

void CSearchResultsPane::OnInitDialog()
{
    m_clear = PlaceControl(this, new CColorButton(QStringLiteral("Clear Results"), this), IDC_SEARCH_CLEAR_RESULTS,
                           kClearButton);
    m_closeAll =
        PlaceControl(this, new CColorButton(QStringLiteral("Close All"), this), IDC_SEARCH_CLOSE_ALL, kCloseAllButton);
    m_grid = PlaceControl(this, new CItemListGridCtrl(this), IDC_SEARCH_RESULTS_GRID, kGridUnits);
    m_grid->SetupColumns();
    // Results are plain rows of their search's group row, so that a search
    // row inside a form search's group keeps them.
    m_grid->SetOutlineFlag(false);
    m_grid->AddListener(this);
    connect(m_clear, &QPushButton::clicked, this, [this] { ClearResults(); });
    connect(m_closeAll, &QPushButton::clicked, this, [this] { CloseAll(); });
    if (m_services.search) {
        m_listening = true;
        m_services.search->AddListener(this);
    }
}

void CSearchResultsPane::resizeEvent(QResizeEvent* event)
{
    CBaseDlgPane::resizeEvent(event);
    if (!m_grid)
        return;
    const QPoint at = m_grid->pos();
    m_grid->resize(width() - 2 * at.x(), height() - at.y() - kBottomMargin);
}

// ---- groups ----

CSearchResultsPane::ShownSearch* CSearchResultsPane::Shown(std::int32_t index)
{
    const auto found = m_searches.find(index);
    if (found == m_searches.end() || m_grid->IndexOfRow(found->second.group) < 0)
        return nullptr;
    return &found->second;
}

void CSearchResultsPane::MakeRoomForGroup()
{
    while (m_groups.size() >= kMaxGroups)
        RemoveGroup(m_groups.front());
}

void CSearchResultsPane::RemoveGroup(CGridRowId top)
{
    if (const int index = m_grid->IndexOfRow(top); index >= 0) {
        m_grid->RemoveGroupChildren(m_grid->GetRowItem(index));
        m_grid->RemoveRow(m_grid->IndexOfRow(top));
    }
    std::erase(m_groups, top);
    if (m_currentGroup == top)
        m_currentGroup = {};
    // Its searches are not shown any more: their answers and pages are dropped.
    for (auto it = m_searches.begin(); it != m_searches.end();) {
        if (it->second.top == top) {
            DropMoreRow(it->second);
            it = m_searches.erase(it);
        } else {
            ++it;
        }
    }
}

void CSearchResultsPane::ClearResults()
{
    m_grid->RemoveAll();
    m_groups.clear();
    m_currentGroup = {};
    m_searches.clear();
    m_moreRows.clear();
}

void CSearchResultsPane::CloseAll()
{
    m_grid->Outline(0);
}

void CSearchResultsPane::ShowGroupRow(int groupIndex)
{
    m_grid->ShowCell(groupIndex + m_grid->FixedRows());
}

// ---- the search controller ----

void CSearchResultsPane::OnSearchGroupStarted(const std::string& title)
{
    MakeRoomForGroup();
    m_currentGroup = m_grid->RowIdOf(m_grid->AddGroupRow(title));
    m_groups.push_back(m_currentGroup);
}

void CSearchResultsPane::OnSearchGroupEnded()
{
    m_currentGroup = {};
}

void CSearchResultsPane::OnSearchAdded(std::int32_t index)
{
    const CSearchQuery* query = m_services.search ? m_services.search->Query(index) : nullptr;
    const std::string title = query ? SearchTitle(*query) : std::string();
    ShownSearch shown;
    CGridRowItem* group = nullptr;
    if (const int current = m_grid->IndexOfRow(m_currentGroup); current >= 0) {
        // Inside the current group: no new top-level group, nothing to make room for.
        group = m_grid->AddGroupRowInGroup(title, m_grid->GetRowItem(current));
        shown.top = m_currentGroup;
    } else {
        MakeRoomForGroup();
        group = m_grid->AddGroupRow(title);
        shown.top = m_grid->RowIdOf(group);
        m_groups.push_back(shown.top);
    }
    shown.group = m_grid->RowIdOf(group);
    shown.waiting = m_grid->RowIdOf(m_grid->AddRowInGroup(Text(IDS_SEARCHING), group));
    m_searches[index] = std::move(shown);
}

void CSearchResultsPane::OnSearchAnswered(std::int32_t index)
{
    ShownSearch* shown = Shown(index);
    if (!shown)
        return;
    if (const int waiting = m_grid->IndexOfRow(shown->waiting); waiting >= 0)
        m_grid->RemoveRow(waiting);
    shown->waiting = {};
    const int groupIndex = m_grid->IndexOfRow(shown->group);
    CGridRowItem* group = m_grid->GetRowItem(groupIndex);
    const std::int32_t identifiers = m_services.search->IdentifierCount(index);
    m_grid->SetCellText(groupIndex, 0, m_grid->GetCellText(groupIndex, 0) + " (" + std::to_string(identifiers) + ")");
    if (identifiers == 0)
        m_grid->AddRowInGroup(Text(IDS_NO_MATCHES), group);
    AddResults(index, group, 0);
    AddMoreRow(index, *shown, group);
    ShowGroupRow(m_grid->IndexOfRow(shown->group));
}

void CSearchResultsPane::OnResultsAppended(std::int32_t index, std::int32_t firstNew)
{
    ShownSearch* shown = Shown(index);
    if (!shown)
        return;
    const std::int32_t results = m_services.search->ResultCount(index);
    if (const int waiting = m_grid->IndexOfRow(shown->waiting); waiting >= 0)
        m_grid->SetCellText(
            waiting, 0,
            FormatResourceString(IDS_RESULTS_RANGE_FMT, {std::to_string(firstNew + 1), std::to_string(results)}));
    shown->waiting = {};
    CGridRowItem* group = m_grid->GetRowItem(m_grid->IndexOfRow(shown->group));
    AddResults(index, group, firstNew);
    AddMoreRow(index, *shown, group);
    ShowGroupRow(m_grid->IndexOfRow(shown->group));
}

void CSearchResultsPane::OnPageFailed(std::int32_t index)
{
    // The retrieving row becomes a more-results row again, to be clicked again.
    ShownSearch* shown = Shown(index);
    if (!shown)
        return;
    const int waiting = m_grid->IndexOfRow(shown->waiting);
    shown->waiting = {};
    if (waiting >= 0 && !shown->more)
        MakeMoreRow(index, *shown, waiting);
}

void CSearchResultsPane::AddResults(std::int32_t index, CGridRowItem* group, std::int32_t first)
{
    CSearchController& controller = *m_services.search;
    const std::int32_t count = controller.ResultCount(index);
    for (std::int32_t i = first; i < count; ++i) {
        const CSearchResultItem* result = controller.Result(index, i);
        const CItemRef* item = result ? result->Item() : nullptr;
        if (!item)
            continue;
        if (PlaylistSummary* playlist = item->AsPlaylist())
            m_grid->AddPlaylistSummary(*playlist, group);
        else if (UserSummary* user = item->AsUser())
            m_grid->AddPlaymaker(*user, group);
        else if (ArtistSummary* artist = item->AsArtist())
            m_grid->AddArtist(*artist, group);
        else if (PerformanceSummary* track = item->AsPerformance())
            m_grid->AddPerformance(*track, group);
    }
}

void CSearchResultsPane::AddMoreRow(std::int32_t index, ShownSearch& shown, CGridRowItem* group)
{
    // Whether identifiers are left to ask for, not the result count: a page
    // may bring fewer results than it asked for.
    if (shown.more || !m_services.search->HasMoreResults(index))
        return;
    CGridRowItem* row = m_grid->AddRowInGroup(m_moreText, group);
    MakeMoreRow(index, shown, m_grid->IndexOfItem(row));
}

void CSearchResultsPane::MakeMoreRow(std::int32_t index, ShownSearch& shown, int row)
{
    shown.more = std::make_unique<MoreResults>(MoreResults{index});
    shown.moreRow = m_grid->GetRowId(row);
    m_moreRows[shown.more.get()] = index;
    m_grid->SetItemData(row, shown.more.get());
    m_grid->SetCellText(row, 0, m_moreText);
}

void CSearchResultsPane::DropMoreRow(ShownSearch& shown)
{
    if (!shown.more)
        return;
    if (const int row = m_grid->IndexOfRow(shown.moreRow); row >= 0)
        m_grid->SetItemData(row, nullptr);
    m_moreRows.erase(shown.more.get());
    shown.more.reset();
    shown.moreRow = {};
}

// ---- clicks, menus and commands ----

void CSearchResultsPane::OnItemClicked(CGridRowItem* item)
{
    if (!item || item->IsGroup())
        return;
    if (const CItemRef* ref = CItemListGridCtrl::ItemRefOf(item)) {
        ShowItemDetails(m_services, *ref);
        return;
    }
    // The more-results row is known by its data, never by its text: a result
    // may carry any name.
    const auto more = m_moreRows.find(item->Data());
    if (more == m_moreRows.end())
        return;
    const std::int32_t index = more->second;
    ShownSearch* shown = Shown(index);
    if (!shown || !m_services.search)
        return;
    const CGridRowId row = m_grid->RowIdOf(item);
    DropMoreRow(*shown);
    m_grid->SetCellText(m_grid->IndexOfRow(row), 0, Text(IDS_RETRIEVING_RESULTS));
    shown->waiting = row;
    m_services.search->FetchNextPage(index);
}

void CSearchResultsPane::OnContextRequest(CGridRowItem* item, int x, int y)
{
    m_contextRow = m_grid->RowIdOf(item);
    const CItemRef* ref = CItemListGridCtrl::ItemRefOf(item);
    if (!ref || item->IsGroup())
        return;
    unsigned menu = 0;
    switch (ref->Kind()) {
    case kItemPlaylist: menu = IDR_MENU_SEARCH_PLAYLIST; break;
    case kItemUser: menu = IDR_MENU_SEARCH_PLAYMAKER; break;
    case kItemArtist: menu = IDR_MENU_SEARCH_ARTIST; break;
    case kItemPerformance: menu = IDR_MENU_SEARCH_TRACK; break;
    default: return;
    }
    // The pane may be gone when the menu returns: nothing may follow.
    TrackContextMenu(menu, QPoint(x, y), *this, this);
}

CItemRef* CSearchResultsPane::ContextItem() const
{
    return m_grid ? m_grid->GetItemRef(m_grid->IndexOfRow(m_contextRow)) : nullptr;
}

bool CSearchResultsPane::OnCmdMsg(unsigned id, CCommandUpdate* update)
{
    switch (id) {
    case ID_SHOW_DETAILS:
    case ID_PLAYLIST_PREVIEW:
    case ID_TRACK_PREVIEW:
    case ID_SEND_TO_FRIEND:
    case ID_EMAIL_PLAYMAKER:
    case ID_ITEM_COPY:
    case ID_ADD_TO_FAVORITES: {
        // A menu's nested loop may have taken its row away: then nothing acts.
        const CItemRef* item = ContextItem();
        if (update)
            update->Enable(item && CommandEnabled(id, *item));
        else if (item && id == ID_ADD_TO_FAVORITES)
            AddSelectedToFavorites();
        else if (item)
            RunItemCommand(id, *item, m_services);
        return true;
    }
    default: return CBaseDlgPane::OnCmdMsg(id, update);
    }
}

bool CSearchResultsPane::CommandEnabled(unsigned id, const CItemRef& item) const
{
    if (id == ID_ADD_TO_FAVORITES)
        return m_services.favorites && m_services.session && m_services.session->IsLoggedIn();
    return ItemCommandEnabled(id, item);
}

void CSearchResultsPane::AddSelectedToFavorites()
{
    CFavoritesModel* model = m_services.favorites;
    if (!model)
        return;
    std::vector<const ArtistSummary*> artists;
    std::vector<const PlaylistSummary*> playlists;
    std::vector<const PerformanceSummary*> tracks;
    std::vector<const UserSummary*> playmakers;
    for (int index : m_grid->GetSelectedIndices()) {
        const CItemRef* item = m_grid->GetItemRef(index);
        if (!item)
            continue;
        if (const ArtistSummary* artist = item->AsArtist())
            artists.push_back(artist);
        else if (const PlaylistSummary* playlist = item->AsPlaylist())
            playlists.push_back(playlist);
        else if (const PerformanceSummary* track = item->AsPerformance())
            tracks.push_back(track);
        else if (const UserSummary* user = item->AsUser())
            playmakers.push_back(user);
    }
    if (!artists.empty())
        model->AddFavorites(artists);
    if (!playlists.empty())
        model->AddFavorites(playlists);
    if (!tracks.empty())
        model->AddFavorites(tracks);
    if (!playmakers.empty())
        model->AddFavorites(playmakers);
}
