// The Favorites pane with real widgets over a real favorites model and playlist
// store, answered by a loopback server; the user-interface thread is the pump.
#include "client/editing/PlaylistStore.h"
#include "client/favorites/BookmarkPane.h"
#include "client/favorites/FavoritesModel.h"
#include "client/localmedia/PerformanceClip.h"
#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/ui/grid/ItemListGridCtrl.h"
#include "client/ui/shell/ControlId.h"
#include "platform/MessageBox.h"
#include "tests/support/GridDriver.h"
#include "tests/support/MemoryClipboard.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/RequestFixture.h"
#include "tests/support/SummaryXml.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

constexpr char kFetch[] = "bookmark/GetUserBookmarks.jsp";
constexpr char kAdd[] = "bookmark/AddBookmark.jsp";
constexpr char kDelete[] = "bookmark/DeleteBookmark.jsp";
constexpr char kMove[] = "bookmark/MoveBookmark.jsp";
constexpr char kPlaylists[] = "GetUserPlaylists.jsp";
constexpr char kDetails[] = "GetPlaylistDetails.jsp";

using namespace summary_xml;

const std::string kFavorites =
    "<B>" + Playlist(11, "Night", 5, "ann", 0, 110) + Playlist(12, "Dawn", 6, "bob", 1, 120) +
    Playmaker(5, "ann", 0, 50) + Playmaker(6, "bob", 1, 60) + Artist(7, "Kestrel", 70) + Artist(8, "Heron", 80) +
    Track(101, "Kestrel", "Low Sun", true, 1010) + Track(102, "Kestrel", "High Tide", false, 1020) +
    Track(103, "Heron", "Grey Wing", true, 1030) + Track(104, "Heron", "Still Water", true, 1040) + "</B>";
const std::string kOwnPlaylists =
    "<L>" + Playlist(21, "Road", 1, "demo", 1, 0) + Playlist(22, "Lane", 1, "demo", 1, 0) + "</L>";

// The grid once demo's favorites and playlists are in.
const Strings kLoadedRows = {"# Playlists",
                             "Night by ann",
                             "Dawn by bob",
                             "# Playmakers",
                             "ann",
                             "bob",
                             "# Artists",
                             "Kestrel",
                             "Heron",
                             "# Tracks",
                             "Kestrel : Low Sun",
                             "Kestrel : High Tide",
                             "Heron : Grey Wing",
                             "Heron : Still Water",
                             "# I Created",
                             "Road by demo",
                             "Lane by demo"};
enum Row {
    kNight = 1,
    kDawn = 2,
    kAnn = 4,
    kBob = 5,
    kKestrel = 7,
    kHeron = 8,
    kTracksGroup = 9,
    kLowSun = 10,
    kHighTide = 11,
    kGreyWing = 12,
    kStillWater = 13,
    kICreatedGroup = 14,
    kRoad = 15,
    kLane = 16
};

// Counts the model's loads: its loaded flag stays set from an earlier session,
// so a login is over only once a load follows it.
struct CLoadCounter : IFavoritesListener {
    int loads = 0;
    void OnFavoritesReset() override {}
    void OnFavoritesLoaded() override { ++loads; }
    void OnFavoritesCleared() override {}
    void OnFavoritesReload() override {}
    void OnFavoriteAdded(std::int32_t, std::int32_t) override {}
    void OnOperationFinished(CBookmarkOperation*) override {}
};

class BookmarkPaneTest : public RequestFixture {
protected:
    void SetUp() override
    {
        RequestFixture::SetUp();
        SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            m_messages.push_back(text);
            return kIdOk;
        });
        Answer(kDetails, "<D/>");
        Answer(kMove, "<R><MoveSuccessful>1</MoveSuccessful></R>");
        m_host.resize(420, 640);
        m_host.show();
    }
    void TearDown() override
    {
        delete m_pane;
        m_pane = nullptr;
        SetMessageBoxHandler({});
        RequestFixture::TearDown();
    }

    PaneServices Services()
    {
        PaneServices services;
        services.favorites = &m_model;
        services.playlists = &m_store;
        services.detailPages = &m_pages;
        services.previews = &m_previews;
        services.clipboard = &m_clipboard;
        return services;
    }
    CBookmarkPane& MakePane()
    {
        m_pane = new CBookmarkPane(Services());
        m_pane->Create(&m_host, IDC_TAB_PANE);
        m_pane->resize(m_host.size());
        return *m_pane;
    }
    CItemListGridCtrl& Grid() { return *m_pane->Grid(); }

    /// Logs demo in: both the model and the store load from the loopback server.
    void LogIn(const std::string& favorites = kFavorites, const std::string& own = kOwnPlaylists)
    {
        Answer(kFetch, favorites);
        Answer(kPlaylists, own);
        m_token = "tok";
        CLoadCounter counter;
        m_model.AddListener(&counter);
        counter.loads = 0;
        m_model.OnSessionChanged("demo", m_token);
        m_store.OnSessionChanged("demo", m_token);
        const bool loaded = m_pump.RunUntil([&] { return counter.loads > 0 && m_store.IsLoaded(); });
        m_model.RemoveListener(&counter);
        ASSERT_TRUE(loaded);
    }
    void LogOut()
    {
        m_token.clear();
        m_model.OnSessionChanged("", "");
        m_store.OnSessionChanged("", "");
    }
    bool Idle()
    {
        return m_pump.RunUntil([&] { return m_model.PendingCount() == 0; });
    }

    /// The grid as text: group rows as "# text", hidden rows as "~text".
    Strings Rows()
    {
        Strings rows;
        for (int i = 0; i < Grid().GetRowCount(); ++i) {
            const CGridRowItem* item = Grid().GetRowItem(i);
            const std::string prefix = item && item->IsGroup() ? "# " : Grid().IsRowHidden(i) ? "~" : "";
            rows.push_back(prefix + Grid().GetCellText(i, 0));
        }
        return rows;
    }
    /// Rows first to end - 1.
    Strings Slice(int first, int end)
    {
        const Strings rows = Rows();
        return Strings(rows.begin() + first, rows.begin() + std::min<int>(end, static_cast<int>(rows.size())));
    }
    QPoint Centre(int index) { return RowCentre(Grid(), index); }
    void Click(int index) { ClickRow(Grid(), index); }
    void RightClick(int index) { RightClickRow(Grid(), index); }
    void Select(std::initializer_list<int> indices)
    {
        Grid().SelectRow(*indices.begin());
        for (int index : indices)
            Grid().SetIsSelected(index, true);
    }
    void PressDelete() { QTest::keyClick(&Grid(), Qt::Key_Delete); }
    /// Right-clicks row index and chooses command in its menu.
    void Choose(int index, unsigned command) { EXPECT_EQ(ChooseFromRowMenu(Grid(), index, command), 1); }
    void MoveMouse(const QPoint& at)
    {
        QWidget* viewport = Grid().viewport();
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &move);
    }
    /// A sideways move past half the drag distance (the pane's threshold) and
    /// short of all of it (where the widget would start dragging the rows out).
    static int Nudge() { return QApplication::startDragDistance() / 2 + 2; }
    /// Presses on row from, moves a nudge sideways, then onto row to and releases there.
    void Drag(int from, int to)
    {
        const int nudge = Nudge();
        QWidget* viewport = Grid().viewport();
        const QPoint start = Centre(from);
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        MoveMouse(start + QPoint(nudge, 0));
        MoveMouse(Centre(to));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, Centre(to));
    }
    std::vector<RecordedRequest> Sent(const char* page) const { return m_server.RequestsTo(PathOf(page)); }

    std::string m_token;
    CFavoritesModel m_model{[this] { return m_token; }};
    CPlaylistStore m_store{nullptr, nullptr};
    CRecordingPages m_pages;
    CRecordingPreviews m_previews;
    CMemoryClipboard m_clipboard;
    std::vector<std::string> m_messages;
    QWidget m_host;
    CBookmarkPane* m_pane = nullptr;
};

TEST_F(BookmarkPaneTest, SetUpMakesTheFiveGroupsAndWaitsForTheStore)
{
    MakePane();
    EXPECT_EQ(m_pane->objectName(), "tags");
    EXPECT_EQ(ControlId(m_pane), IDC_TAB_PANE);
    EXPECT_TRUE(m_pane->isVisible()) << "shown at once";
    EXPECT_EQ(FindControlAs<CItemListGridCtrl>(m_pane, IDC_BOOKMARK_GRID), &Grid());
    EXPECT_TRUE(Grid().RowMoving());
    // Before any member logged in the store has said nothing: I Created is empty.
    EXPECT_EQ(Rows(), (Strings{"# Playlists", "# Playmakers", "# Artists", "# Tracks", "# I Created"}));

    // The grid fills the pane but for its margins.
    const QPoint at = Grid().pos();
    m_pane->resize(300, 200);
    EXPECT_EQ(Grid().geometry(), QRect(at.x(), at.y(), 300 - 2 * at.x(), 200 - at.y() - 10));
}

TEST_F(BookmarkPaneTest, AClosedPaneHearsNothingMore)
{
    MakePane();
    LogIn();
    delete m_pane;
    m_pane = nullptr;
    // The model and the store go on changing without it.
    PerformanceSummary dusk;
    dusk.performanceID = 105;
    dusk.ArtistName = "Heron";
    dusk.SongName = "Dusk";
    m_server.SetResponse(PathOf(kAdd), [](const RecordedRequest&) {
        return ScriptedResponse{200, "<R><BookmarkID>1050</BookmarkID></R>"};
    });
    m_model.AddFavorites(std::vector<const PerformanceSummary*>{&dusk});
    ASSERT_TRUE(Idle());
    m_store.NewPlaylist();
    LogOut();
    LogIn();
    EXPECT_EQ(m_model.TrackCount(), 4);
}

TEST_F(BookmarkPaneTest, APaneMadeAfterTheLoadShowsEverythingAtOnce)
{
    LogIn();
    MakePane();
    EXPECT_EQ(Rows(), kLoadedRows);
}

TEST_F(BookmarkPaneTest, FavoritesListenerSlots)
{
    MakePane();
    m_server.SetResponse(PathOf(kAdd), [](const RecordedRequest&) {
        return ScriptedResponse{200, "<R><BookmarkID>1050</BookmarkID></R>"};
    });
    const Strings empty = {"# Playlists", "# Playmakers", "# Artists", "# Tracks", "# I Created"};
    Strings withAdded = kLoadedRows;
    withAdded.insert(withAdded.begin() + kICreatedGroup, "Heron : Dusk");
    Strings iCreatedOnly = empty;
    iCreatedOnly.insert(iCreatedOnly.end(), {"Road by demo", "Lane by demo"});
    Strings loggedOut = empty;
    loggedOut.push_back("You are not logged in.  Log in to create or edit playlists");
    PerformanceSummary dusk;
    dusk.performanceID = 105;
    dusk.ArtistName = "Heron";
    dusk.SongName = "Dusk";

    struct Step {
        const char* event;
        std::function<void()> cause;
        Strings rows;
    };
    const Step steps[] = {
        {"loaded fills the groups, each in the model's order", [&] { LogIn(); }, kLoadedRows},
        {"added appends to its group", [&] { m_model.AddFavorites(std::vector<const PerformanceSummary*>{&dusk}); },
         withAdded},
        {"another type number adds nothing", [&] { m_pane->OnFavoriteAdded(9, 0); }, withAdded},
        {"reset empties the four groups, not I Created",
         [&] {
             ASSERT_TRUE(Idle());
             m_server.Hold(PathOf(kFetch));
             m_model.OnSessionChanged("demo", m_token);
         },
         iCreatedOnly},
        {"loaded again refills them",
         [&] {
             m_server.Release(PathOf(kFetch));
             ASSERT_TRUE(m_pump.RunUntil([&] { return m_model.TrackCount() == 4; }));
         },
         kLoadedRows},
        {"reload empties and refills them",
         [&] {
             m_pane->OnFavoritesReset();
             m_pane->OnFavoritesReload();
         },
         kLoadedRows},
        {"cleared empties them, the store's cleared shows the logged-out text", [&] { LogOut(); }, loggedOut},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.event);
        step.cause();
        EXPECT_EQ(Rows(), step.rows);
    }
}

TEST_F(BookmarkPaneTest, PlaylistStoreListenerSlots)
{
    MakePane();
    LogIn();
    PlaylistDetail* road = m_store.GetAt(0);
    Strings rows = kLoadedRows;
    struct Step {
        const char* event;
        std::function<void()> cause;
        std::function<void(Strings&)> change;
    };
    const Step steps[] = {
        {"loading shows the loading text",
         [&] {
             m_server.Hold(PathOf(kPlaylists));
             m_store.OnSessionChanged("demo", m_token);
         },
         [](Strings& r) {
             r.resize(kRoad);
             r.push_back("Loading playlists from server");
         }},
        {"loaded lists the store's playlists in its order",
         [&] {
             m_server.Release(PathOf(kPlaylists));
             ASSERT_TRUE(m_pump.RunUntil([&] { return m_store.IsLoaded(); }));
             road = m_store.GetAt(0);
         },
         [](Strings& r) {
             r.resize(kRoad);
             r.insert(r.end(), {"Road by demo", "Lane by demo"});
         }},
        {"detail loaded changes nothing", [&] { m_pane->OnPlaylistDetailLoaded(road); }, [](Strings&) {}},
        {"added appends", [&] { m_store.NewPlaylist(); }, [](Strings& r) { r.push_back("New Playlist by demo"); }},
        {"updated renames every row of it",
         [&] {
             road->Summary.Name = "Long Road";
             m_pane->OnPlaylistUpdated(road);
         },
         [](Strings& r) { r[kRoad] = "Long Road by demo"; }},
        {"removed takes its row away",
         [&] {
             Answer("UpdatePlaylistXML.jsp", "<R><PlaylistID>21</PlaylistID></R>");
             m_store.DeletePlaylist(road);
         },
         [](Strings& r) { r.erase(r.begin() + kRoad); }},
        {"cleared shows the logged-out text",
         [&] {
             m_token.clear();
             m_store.OnSessionChanged("", "");
         },
         [](Strings& r) {
             r.resize(kRoad);
             r.push_back("You are not logged in.  Log in to create or edit playlists");
         }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.event);
        step.cause();
        step.change(rows);
        EXPECT_EQ(Rows(), rows);
    }
}

TEST_F(BookmarkPaneTest, DeleteHidesTheSelectedFavoritesAndTheAnswersDecide)
{
    MakePane();
    LogIn();
    m_server.Hold(PathOf(kDelete));
    // Artists are removed, tracks refused.
    m_server.SetResponse(PathOf(kDelete), [](const RecordedRequest& r) {
        return ScriptedResponse{200, r.Form("bookmarkType1") == "1" ? "<R><DeleteSuccess/></R>"
                                                                    : "<R><Error>no</Error></R>"};
    });
    // Group rows and own playlists in the selection are passed over.
    Select({kHeron, kLowSun, kGreyWing, kTracksGroup, kRoad});
    PressDelete();
    Strings hidden = kLoadedRows;
    for (int row : {kHeron, kLowSun, kGreyWing})
        hidden[static_cast<std::size_t>(row)] = "~" + hidden[static_cast<std::size_t>(row)];
    EXPECT_EQ(Rows(), hidden);
    ASSERT_EQ(m_model.PendingCount(), 2u);
    EXPECT_EQ(m_model.PendingOperation(0)->type, kBookmarkArtist) << "the artists first";
    EXPECT_EQ(m_model.PendingOperation(1)->type, kBookmarkTrack);
    EXPECT_EQ(m_model.PendingOperation(1)->items.size(), 2u);

    // Again before the answers: the hidden rows start nothing new.
    Select({kHeron, kLowSun, kGreyWing});
    PressDelete();
    EXPECT_EQ(m_model.PendingCount(), 2u);

    ASSERT_TRUE(m_server.WaitForHeld(2));
    m_server.Release(PathOf(kDelete));
    ASSERT_TRUE(Idle());
    Strings after = kLoadedRows;
    after.erase(after.begin() + kHeron);
    EXPECT_EQ(Rows(), after) << "the removed artist goes, the refused tracks come back";
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find("have not been removed:\n\nLow Sun\nGrey Wing"), std::string::npos) << m_messages[0];
    EXPECT_EQ(m_model.ArtistCount(), 1);
    EXPECT_EQ(m_model.TrackCount(), 4);
}

TEST_F(BookmarkPaneTest, LoggedOutTheDeleteKeyFindsNothingToRemove)
{
    MakePane();
    LogIn();
    LogOut();
    const int text = Grid().GetRowCount() - 1;
    EXPECT_EQ(Grid().GetCellText(text, 0), "You are not logged in.  Log in to create or edit playlists");
    Select({text});
    PressDelete();
    EXPECT_FALSE(Grid().IsRowHidden(text));
    EXPECT_EQ(m_model.PendingCount(), 0u);
}

TEST_F(BookmarkPaneTest, ClicksShowTheItemsDetails)
{
    MakePane();
    LogIn();
    for (int row : {kNight, kAnn, kKestrel, kLowSun, kRoad, kTracksGroup})
        Click(row);
    EXPECT_EQ(m_pages.calls, (Strings{"playlist 11", "playmaker 5", "artist 7", "track 101", "playlist 21"}));
}

TEST_F(BookmarkPaneTest, ContextMenusByKindWithTheirGreying)
{
    MakePane();
    LogIn();
    struct Case {
        int row;
        const char* shape;
    };
    const Case cases[] = {
        {kNight, "32819 32810 32812 !32813 - 32821"},  // ann takes no mail
        {kDawn, "32819 32810 32812 32813 - 32821"},
        {kAnn, "32819 !32813 - 32820"},
        {kBob, "32819 32813 - 32820"},
        {kKestrel, "32819 - 32823"},
        {kLowSun, "32819 32818 32832 - 32822"},
        {kHighTide, "32819 !32818 32832 - 32822"},  // no preview
        {kRoad, "32819 32811 32810 32812 32814"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(RowMenuShape(Grid(), c.row), c.shape);
        EXPECT_TRUE(Grid().IsSelected(c.row)) << "the right button selects its row";
    }
    // Group rows and text rows have no menu.
    int shown = 0;
    CPopupMenuDriver driver([&](QMenu* menu) {
        ++shown;
        CPopupMenuDriver::Dismiss(menu);
    });
    RightClick(kTracksGroup);
    LogOut();
    RightClick(Grid().GetRowCount() - 1);
    EXPECT_EQ(shown, 0);
}

TEST_F(BookmarkPaneTest, CommandsActOnTheRowTheMenuWasOpenedOn)
{
    MakePane();
    LogIn();
    // Two playlists selected, the menu opened on the second: mail goes for
    // the second, whose greying the menu showed.
    Select({kNight, kDawn});
    Choose(kDawn, ID_SEND_TO_FRIEND);
    Choose(kDawn, ID_EMAIL_PLAYMAKER);
    Choose(kDawn, ID_PLAYLIST_PREVIEW);
    Choose(kBob, ID_EMAIL_PLAYMAKER);
    Choose(kKestrel, ID_SHOW_DETAILS);
    Choose(kLowSun, ID_TRACK_PREVIEW);
    Choose(kRoad, ID_PLAYLIST_PREVIEW);
    Choose(kRoad, ID_SEND_TO_FRIEND);
    Choose(kRoad, ID_ITEM_EXPORT);
    EXPECT_EQ(m_pages.calls,
              (Strings{"mail friend 12", "mail playmaker 6", "mail playmaker 6", "artist 7", "mail friend 21"}));
    EXPECT_EQ(m_previews.calls, (Strings{"playlist 12", "track 101", "playlist 21"}));

    Choose(kStillWater, ID_ITEM_COPY);
    const auto copied = ReadPerformanceFromClipboard(m_clipboard);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->performanceID, 104);
    EXPECT_EQ(m_clipboard.text, "Heron - Still Water");

    // Remove From Favorites takes every selected favorite.
    Select({kAnn, kBob});
    Choose(kBob, ID_REMOVE_FAVORITE_PLAYMAKER);
    ASSERT_EQ(m_model.PendingCount(), 1u);
    EXPECT_EQ(m_model.PendingOperation(0)->items.size(), 2u);
    EXPECT_TRUE(Grid().IsRowHidden(kAnn));
    EXPECT_TRUE(Grid().IsRowHidden(kBob));
}

TEST_F(BookmarkPaneTest, ARowThatGoesWhileItsMenuIsOpenIsNotActedOn)
{
    MakePane();
    LogIn();
    // A track being added: its add is refused while the member holds its menu
    // open, and another favorite's row comes in meanwhile.
    m_server.SetResponse(PathOf(kAdd), [](const RecordedRequest& r) {
        return ScriptedResponse{200, r.Form("newBookmarkItemID1") == "105" ? "<R><Error>no</Error></R>"
                                                                           : "<R><BookmarkID>1060</BookmarkID></R>"};
    });
    m_server.Hold(PathOf(kAdd));
    PerformanceSummary dusk;
    dusk.performanceID = 105;
    dusk.ArtistName = "Heron";
    dusk.SongName = "Dusk";
    PerformanceSummary dawn = dusk;
    dawn.performanceID = 106;
    dawn.SongName = "Dawn Chorus";
    m_model.AddFavorites(std::vector<const PerformanceSummary*>{&dusk});
    const int row = kICreatedGroup;
    ASSERT_EQ(Grid().GetCellText(row, 0), "Heron : Dusk");

    CPopupMenuDriver driver([&](QMenu* menu) {
        m_server.Release(PathOf(kAdd));
        ASSERT_TRUE(Idle());
        m_model.AddFavorites(std::vector<const PerformanceSummary*>{&dawn});
        EXPECT_EQ(Grid().GetCellText(row, 0), "Heron : Dawn Chorus") << "a new row where the menu's row was";
        CPopupMenuDriver::Choose(menu, ID_ITEM_COPY);
    });
    RightClick(row);
    EXPECT_EQ(driver.shown, 1);
    EXPECT_TRUE(m_clipboard.blocks.empty()) << "nothing is copied: the menu's row is gone";
    ASSERT_EQ(m_messages.size(), 1u) << "the refused add is reported";
    ASSERT_TRUE(Idle());
}

TEST_F(BookmarkPaneTest, DraggingAFavoriteWithinItsGroup)
{
    MakePane();
    LogIn();
    struct Case {
        const char* what;
        int from;
        int to;
        const char* moved;  // bookmarkID1 sent, or nullptr for no move
        const char* previous;
        Strings tracks;  // the Tracks group afterwards
    };
    const Case cases[] = {
        {"to the first place",
         kGreyWing,
         kLowSun,
         "1030",
         "0",
         {"Heron : Grey Wing", "Kestrel : Low Sun", "Kestrel : High Tide", "Heron : Still Water"}},
        {"up onto row t: behind row t - 1",
         kStillWater,
         kHighTide,
         "1040",
         "1030",
         {"Heron : Grey Wing", "Heron : Still Water", "Kestrel : Low Sun", "Kestrel : High Tide"}},
        {"down onto row t: behind row t",
         kLowSun,
         kGreyWing,
         "1030",
         "1010",
         {"Heron : Still Water", "Kestrel : Low Sun", "Heron : Grey Wing", "Kestrel : High Tide"}},
        {"onto an artist",
         kLowSun,
         kKestrel,
         nullptr,
         nullptr,
         {"Heron : Still Water", "Kestrel : Low Sun", "Heron : Grey Wing", "Kestrel : High Tide"}},
        {"onto a group row",
         kLowSun,
         kTracksGroup,
         nullptr,
         nullptr,
         {"Heron : Still Water", "Kestrel : Low Sun", "Heron : Grey Wing", "Kestrel : High Tide"}},
        {"onto an own playlist",
         kStillWater,
         kRoad,
         nullptr,
         nullptr,
         {"Heron : Still Water", "Kestrel : Low Sun", "Heron : Grey Wing", "Kestrel : High Tide"}},
    };
    std::size_t moves = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_pages.calls.clear();
        Drag(c.from, c.to);
        ASSERT_TRUE(Idle());
        const std::vector<RecordedRequest> sent = Sent(kMove);
        if (c.moved) {
            ASSERT_EQ(sent.size(), ++moves);
            EXPECT_EQ(sent.back().Form("bookmarkID1"), c.moved);
            EXPECT_EQ(sent.back().Form("newPreviousBookmarkID"), c.previous);
            EXPECT_EQ(sent.back().Form("bookmarkType"), "3");
        } else {
            EXPECT_EQ(sent.size(), moves) << "the model hears nothing";
        }
        EXPECT_EQ(Slice(kLowSun, kICreatedGroup), c.tracks);
        EXPECT_FALSE(m_pages.calls.empty()) << "the drag showed the dragged row's details first";
        EXPECT_FALSE(Grid().IsDraggingRow());
    }

    // Own playlists move on the screen only.
    Drag(kLane, kRoad);
    EXPECT_EQ(Grid().GetCellText(kRoad, 0), "Lane by demo");
    EXPECT_EQ(Sent(kMove).size(), moves);

    // A press and a small movement start no drag.
    QWidget* viewport = Grid().viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, Centre(kHighTide));
    MoveMouse(Centre(kHighTide) + QPoint(QApplication::startDragDistance() / 2, 0));
    EXPECT_FALSE(Grid().IsDraggingRow());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, Centre(kHighTide));
    // Nor does a row that is not the first selected one, nor the grid's first row.
    Select({kLowSun, kGreyWing});
    QTest::mousePress(viewport, Qt::LeftButton, Qt::ControlModifier, Centre(kGreyWing));
    MoveMouse(Centre(kGreyWing) + QPoint(Nudge(), 0));
    EXPECT_FALSE(Grid().IsDraggingRow());
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::ControlModifier, Centre(kGreyWing));
    QTest::mousePress(viewport, Qt::LeftButton, {}, Centre(0));
    MoveMouse(Centre(0) + QPoint(Nudge(), 0));
    EXPECT_FALSE(Grid().IsDraggingRow());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, Centre(0));
    EXPECT_EQ(Sent(kMove).size(), moves);
}

TEST_F(BookmarkPaneTest, AFavoriteRemovedWhileItIsDraggedStaysWhereItWas)
{
    MakePane();
    LogIn();
    // Delete pressed with the button still down: the dragged favorite is on
    // its way out, so the drop moves nothing and sends no move.
    m_server.Hold(PathOf(kDelete));
    Answer(kDelete, "<R><DeleteSuccess/></R>");
    QWidget* viewport = Grid().viewport();
    const QPoint start = Centre(kStillWater);
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    MoveMouse(start + QPoint(Nudge(), 0));
    ASSERT_TRUE(Grid().IsDraggingRow());
    const QPoint drop = Centre(kLowSun);
    PressDelete();
    ASSERT_TRUE(Grid().IsRowHidden(kStillWater));
    MoveMouse(drop);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, drop);
    EXPECT_FALSE(Grid().IsDraggingRow());
    EXPECT_EQ(Grid().GetCellText(kStillWater, 0), "Heron : Still Water");
    m_server.Release(PathOf(kDelete));
    ASSERT_TRUE(Idle());
    EXPECT_TRUE(Sent(kMove).empty());
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(Slice(kLowSun, kICreatedGroup - 1),
              (Strings{"Kestrel : Low Sun", "Kestrel : High Tide", "Heron : Grey Wing"}));
}

TEST_F(BookmarkPaneTest, AFavoriteMovedBehindARowBeingRemovedFollowsTheRowAboveIt)
{
    MakePane();
    LogIn();
    // High Tide's removal waits at the server; Still Water is dragged up onto
    // Grey Wing, right below the hidden row.
    m_server.Hold(PathOf(kDelete));
    Answer(kDelete, "<R><DeleteSuccess/></R>");
    Select({kHighTide});
    PressDelete();
    Grid().Flush();
    Drag(kStillWater, kGreyWing);
    ASSERT_TRUE(m_pump.RunUntil([&] { return Sent(kMove).size() == 1; }));
    EXPECT_EQ(Sent(kMove)[0].Form("newPreviousBookmarkID"), "1010") << "Low Sun, not the favorite on its way out";
    m_server.Release(PathOf(kDelete));
    ASSERT_TRUE(Idle());
    EXPECT_EQ(Slice(kLowSun, kICreatedGroup - 1),
              (Strings{"Kestrel : Low Sun", "Heron : Still Water", "Heron : Grey Wing"}));
}

}  // namespace
