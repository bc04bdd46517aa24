// A member's journey through the Search tab of a real main frame, over real
// models, against corvanta-server --demo started for the test; what the window
// shows is checked against what the server answers and then holds.
#include "client/catalogue/LookupTablesModel.h"
#include "client/catalogue/PlaylistSummary.h"
#include "client/favorites/BookmarkPane.h"
#include "client/favorites/FavoritesModel.h"
#include "client/favorites/GetUserBookmarksRequest.h"
#include "client/localmedia/PerformanceClip.h"
#include "client/resources/ResourceIds.h"
#include "client/search/AdvancedSearchForm.h"
#include "client/search/SearchController.h"
#include "client/search/SearchFormPane.h"
#include "client/search/SearchResultsPane.h"
#include "client/search/SimpleSearchForm.h"
#include "client/ui/frame/BookmarkView.h"
#include "client/ui/frame/SearchView.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "client/ui/shell/ColorButton.h"
#include "client/ui/shell/ControlId.h"
#include "client/ui/shell/QtClipboardStore.h"
#include "tests/client/search/ResultRows.h"
#include "tests/support/GridDriver.h"
#include "tests/support/ServerJourney.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
using Ids = std::vector<std::uint32_t>;

constexpr char kMore[] = "Click here for more results...";
constexpr char kRetrieving[] = "Retrieving next results...";

// The identifiers the server answers to a search made with a request of the test's own.
template <class Request, class Fields>
Ids ServerMatches(const Fields& fields)
{
    Request request;
    std::int32_t key = 0;
    EXPECT_TRUE(AwaitAnswer(request, [&] { key = request.Search(fields, 0); }));
    return request.Identifiers(key);
}

class SearchJourney : public CDemoJourney {
protected:
    void SetUp() override
    {
        CDemoJourney::SetUp();
        ListenToSession(&m_model);
        PaneServices services;
        services.session = &m_session;
        services.favorites = &m_model;
        services.search = &m_controller;
        services.lookupTables = &m_tables;
        services.clipboard = &m_clipboard;
        MakeFrame(services);
    }

    CSearchView& View() { return *m_frame->GetChildView()->SearchView(); }
    CSearchFormPane& Forms() { return *View().FormPane(); }
    CSearchResultsPane& Results() { return *View().ResultsPane(); }
    CItemListGridCtrl& Grid() { return *Results().Grid(); }
    Strings Rows() { return ResultRows(Grid()); }
    int RowIndex(const std::string& text, int from = 0)
    {
        const Strings rows = Rows();
        const auto found =
            std::find(rows.begin() + std::min<int>(from, static_cast<int>(rows.size())), rows.end(), text);
        return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
    }
    void Click(int index) { ClickRow(Grid(), index); }
    bool Idle()
    {
        return SpinUntil([&] { return m_controller.PendingCount() == 0; }) &&
               SpinUntil([&] { return m_model.PendingCount() == 0; });
    }
    /// Clicks the group's more-results row until there is none; false when a page did not come.
    bool PageToTheEnd(int group)
    {
        for (int more; (more = RowIndex(kMore, group)) >= 0;) {
            Click(more);
            if (!SpinUntil([&] { return Grid().GetCellText(more, 0) != kRetrieving; }))
                return false;
        }
        return true;
    }
    /// The rows of a group, from the row after it up to the next group row of
    /// its level or above.
    std::pair<int, int> GroupBounds(int group)
    {
        int end = group + 1;
        const int level = Grid().RowOutlineLevel(group);
        while (end < Grid().GetRowCount() &&
               !(Grid().GetRowItem(end)->IsGroup() && Grid().RowOutlineLevel(end) <= level))
            ++end;
        return {group + 1, end};
    }
    std::vector<const CItemRef*> ResultsOf(int group)
    {
        std::vector<const CItemRef*> items;
        const auto [first, end] = GroupBounds(group);
        for (int i = first; i < end; ++i)
            if (const CItemRef* item = Grid().GetItemRef(i))
                items.push_back(item);
        return items;
    }
    std::string MenuShape(int index) { return RowMenuShape(Grid(), index); }
    void Choose(int index, unsigned command) { EXPECT_EQ(ChooseFromRowMenu(Grid(), index, command), 1); }
    void ChooseEntry(QComboBox& combo, const QString& text)
    {
        const int index = combo.findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo.setFocus();
        QTest::keyClick(&combo, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(&combo, Qt::Key_Down);
        ASSERT_EQ(combo.currentIndex(), index);
    }
    template <class Control>
    Control& In(QWidget* pane, int id)
    {
        Control* control = FindControlAs<Control>(pane, id);
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }

    CSearchController m_controller;
    CFavoritesModel m_model{[this] { return m_session.Token(); }};
    CLookupTablesModel m_tables;
    CQtClipboardStore m_clipboard;
};

TEST_F(SearchJourney, DemoSearchesPagesAddsAFavoriteAndSearchesByGenre)
{
    ClickTab(2);
    ASSERT_EQ(m_frame->GetChildView()->CurrentTabView(), &View());
    EXPECT_TRUE(Forms().isVisible());
    EXPECT_TRUE(Results().isVisible());
    // The form at its natural height above the results, both as wide as the tab.
    for (const QSize& size : {QSize(900, 700), QSize(1100, 800)}) {
        m_frame->resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(Forms().geometry(), QRect(0, 0, View().width(), Forms().NaturalHeight()));
        EXPECT_EQ(Results().geometry(),
                  QRect(0, Forms().NaturalHeight(), View().width(), View().height() - Forms().NaturalHeight()));
    }

    CDemoLogin login;
    m_session.LoginFlow(login);
    ASSERT_TRUE(m_session.IsLoggedIn());
    ASSERT_EQ(m_tables.Fetch(), S_OK);
    ASSERT_TRUE(SpinUntil([&] { return m_model.Loaded() && m_tables.Tables().Lookup("Mood") != nullptr; }));

    // "All" for a word of the catalogue: seven searches in one group, each with the server's count.
    CSimpleSearchForm& simple = *Forms().SimpleForm();
    QTest::keyClicks(&In<QLineEdit>(&simple, IDC_SEARCH_TEXT), "love");
    QTest::mouseClick(&In<QRadioButton>(&simple, IDC_SEARCH_ALL), Qt::LeftButton);
    QTest::mouseClick(&In<CColorButton>(&simple, IDC_SEARCH_BUTTON), Qt::LeftButton);
    ASSERT_TRUE(Idle());
    const SearchText love{"love", 0};
    const Ids tracks = ServerMatches<CSearchForPerformancesRequest>(PerformanceSearch{love, {}, {}, {}});
    const struct {
        const char* title;
        Ids matches;
    } groups[] = {
        {"Playlists Where Playlist Title Is ", ServerMatches<CSearchForPlaylistsRequest>(PlaylistSearch{love})},
        {"Playlists Where Playmaker Name Is ", ServerMatches<CSearchForPlaylistsRequest>(PlaylistSearch{{}, {}, love})},
        {"Playlists Where Artist Name Is ", ServerMatches<CSearchForPlaylistsRequest>(PlaylistSearch{{}, love})},
        {"Playlists Where Track Name Is ", ServerMatches<CSearchForPlaylistsRequest>(PlaylistSearch{{}, {}, {}, love})},
        {"Playmakers Where Playmaker Name Is ", ServerMatches<CSearchForUsersRequest>(std::optional<SearchText>(love))},
        {"Artists Where Artist Name Is ", ServerMatches<CSearchForArtistsRequest>(ArtistSearch{love, {}})},
        {"Tracks Where Track Name Is ", tracks},
    };
    ASSERT_GT(tracks.size(), 100u) << "enough tracks for several pages";
    const Strings rows = Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), "# Search For All Items Containing \"love\"");
    int at = 0;
    for (const auto& group : groups) {
        SCOPED_TRACE(group.title);
        const int row =
            RowIndex("## " + std::string(group.title) + "\"love\" (" + std::to_string(group.matches.size()) + ")");
        EXPECT_GT(row, at) << "in the order of the searches";
        at = row;
        if (group.matches.empty()) {
            EXPECT_EQ(Grid().GetCellText(row + 1, 0), "No matches found.");
        }
    }

    // The tracks' more-results rows, clicked until every match is shown: the
    // server's identifiers in its order, none missing, none twice.
    const int tracksGroup = at;
    ASSERT_TRUE(PageToTheEnd(tracksGroup));
    Ids shown;
    for (const CItemRef* item : ResultsOf(tracksGroup))
        shown.push_back(static_cast<std::uint32_t>(item->Identifier()));
    EXPECT_EQ(shown, tracks);
    EXPECT_GE(RowIndex("Results 21 - 70", tracksGroup), 0);
    EXPECT_GE(RowIndex("Results 71 - 120", tracksGroup), 0);

    // A track that is no favorite of demo's yet joins the favorites.
    std::vector<int> favorites;
    for (std::int32_t i = 0; i < m_model.TrackCount(); ++i)
        favorites.push_back(m_model.Track(i)->performanceID);
    const auto [first, end] = GroupBounds(tracksGroup);
    int added = -1;
    for (int i = first; i < end && added < 0; ++i) {
        const CItemRef* item = Grid().GetItemRef(i);
        if (item && std::find(favorites.begin(), favorites.end(), item->Identifier()) == favorites.end())
            added = i;
    }
    ASSERT_GE(added, 0);
    const PerformanceSummary track = *Grid().GetItemRef(added)->AsPerformance();
    Choose(added, ID_ADD_TO_FAVORITES);
    ASSERT_TRUE(Idle());
    CGetUserBookmarksRequest fresh;
    ASSERT_TRUE(AwaitAnswer(fresh, [&] { fresh.Fetch(m_session.Token()); }));
    const auto held = fresh.TakeTracks();
    EXPECT_TRUE(std::any_of(held.begin(), held.end(), [&](const auto& t) {
        return t->performanceID == track.performanceID;
    })) << "the server holds the new favorite";
    ClickTab(3);
    CBookmarkPane& favoritesPane = *m_frame->GetChildView()->BookmarkView()->BookmarkPane();
    const CItemListGridCtrl& favoritesGrid = *favoritesPane.Grid();
    const int tracksRow = favoritesGrid.IndexOfItem(favoritesPane.GroupRow(CBookmarkPane::kTracks));
    const int tracksEnd = favoritesGrid.IndexOfItem(favoritesPane.GroupRow(CBookmarkPane::kICreated));
    EXPECT_EQ(favoritesGrid.GetCellText(tracksEnd - 1, 0), PerformanceDisplayText(track)) << "last of its group";
    EXPECT_GT(tracksEnd - 1, tracksRow);

    // Copy puts the track on the clipboard for the editor.
    ClickTab(2);
    Choose(added, ID_ITEM_COPY);
    const auto copied = ReadPerformanceFromClipboard(m_clipboard);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->performanceID, track.performanceID);

    // An advanced search by genre lists that genre's playlists, all of them.
    CColorTabCtrl& formTabs = In<CColorTabCtrl>(&Forms(), IDC_SEARCH_TABS);
    QTest::mouseClick(&formTabs, Qt::LeftButton, {}, formTabs.GetItemRect(CSearchFormPane::kAdvancedTab).center());
    CAdvancedSearchForm& advanced = *Forms().AdvancedForm();
    ASSERT_TRUE(advanced.isVisible());
    ChooseEntry(In<QComboBox>(&advanced, IDC_SEARCH_FOR), "Playlists");
    ChooseEntry(In<QComboBox>(&advanced, IDC_SEARCH_BY), "Genre");
    QComboBox& genres = In<QComboBox>(&advanced, IDC_SEARCH_LIST);
    ChooseEntry(genres, "Rock");
    const int rock = genres.currentData().toInt();
    QTest::mouseClick(&In<CColorButton>(&advanced, IDC_SEARCH_BUTTON), Qt::LeftButton);
    ASSERT_TRUE(Idle());
    PlaylistSearch byGenre;
    byGenre.genre = SearchNumber{rock, 0};
    const Ids rockPlaylists = ServerMatches<CSearchForPlaylistsRequest>(byGenre);
    ASSERT_FALSE(rockPlaylists.empty());
    const int genreGroup =
        RowIndex("# Playlists Where Genre Is \"Rock\" (" + std::to_string(rockPlaylists.size()) + ")");
    ASSERT_GE(genreGroup, 0);
    ASSERT_TRUE(PageToTheEnd(genreGroup));
    const std::vector<const CItemRef*> listed = ResultsOf(genreGroup);
    EXPECT_EQ(listed.size(), rockPlaylists.size());
    for (const CItemRef* item : listed)
        EXPECT_EQ(item->AsPlaylist()->PrimaryGenreID, rock) << item->Name();

    // Logged out, a result cannot be added to the favorites.
    const int result = GroupBounds(genreGroup).first;
    EXPECT_EQ(MenuShape(result), "32819 32810 32812 32813 32825");
    m_session.Logout();
    EXPECT_EQ(MenuShape(result), "32819 32810 32812 32813 !32825");
    EXPECT_TRUE(m_messages.empty()) << m_messages.front();
}

}  // namespace
