#include "client/favorites/FavoritesModel.h"
#include "platform/MessageBox.h"
#include "tests/support/RequestFixture.h"

#include <algorithm>
#include <future>
#include <memory>
#include <mutex>
#include <set>

namespace {

constexpr char kFetch[] = "bookmark/GetUserBookmarks.jsp";
constexpr char kAdd[] = "bookmark/AddBookmark.jsp";
constexpr char kDelete[] = "bookmark/DeleteBookmark.jsp";
constexpr char kMove[] = "bookmark/MoveBookmark.jsp";

struct FavoritesEvent {
    std::string slot;
    std::int32_t type = 0;
    std::int32_t index = 0;
    bool success = false;
    std::vector<std::string> names;
};

class CRecordingFavoritesListener : public IFavoritesListener {
public:
    void OnFavoritesReset() override { events.push_back({"reset"}); }
    void OnFavoritesLoaded() override { events.push_back({"loaded"}); }
    void OnFavoritesCleared() override { events.push_back({"cleared"}); }
    void OnFavoritesReload() override { events.push_back({"reload"}); }
    void OnFavoriteAdded(std::int32_t type, std::int32_t index) override { events.push_back({"added", type, index}); }
    void OnOperationFinished(CBookmarkOperation* operation) override
    {
        FavoritesEvent event{"finished", operation->type, 0, operation->success, {}};
        for (const auto& item : operation->items)
            event.names.push_back(item->Name());
        events.push_back(event);
    }
    std::vector<std::string> Slots() const
    {
        std::vector<std::string> slots;
        for (const auto& e : events)
            slots.push_back(e.slot);
        return slots;
    }
    const FavoritesEvent* Last(const std::string& slot) const
    {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->slot == slot)
                return &*it;
        return nullptr;
    }
    std::vector<FavoritesEvent> events;
};

// Answers an add with one BookmarkID per item: base + position.
ScriptedResponse BookmarkIDs(const RecordedRequest& request, int base)
{
    const int items = std::atoi(request.Form("numberOfItems").c_str());
    std::string body = "<R>";
    for (int i = 1; i <= items; ++i)
        body += "<BookmarkID>" + std::to_string(base + i) + "</BookmarkID>";
    return {200, body + "</R>"};
}

class FavoritesModelTest : public RequestFixture {
protected:
    void SetUp() override
    {
        RequestFixture::SetUp();
        SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned type) {
            m_messages.push_back(text);
            EXPECT_EQ(caption, "");
            EXPECT_EQ(type, kMbOk);
            return kIdOk;
        });
        m_model.AddListener(&m_listener);
    }
    void TearDown() override
    {
        m_model.RemoveListener(&m_listener);
        SetMessageBoxHandler({});
        RequestFixture::TearDown();
    }

    /// Logs in with favorites answer as the server's list.
    void LogIn(const std::string& answer)
    {
        Answer(kFetch, answer);
        m_token = "tok";
        const std::size_t before = m_listener.events.size();
        m_model.OnSessionChanged("member", m_token);
        ASSERT_TRUE(m_pump.RunUntil([&] {
            return std::any_of(m_listener.events.begin() + static_cast<std::ptrdiff_t>(before), m_listener.events.end(),
                               [](const auto& e) { return e.slot == "loaded"; });
        }));
    }
    void LogOut()
    {
        m_token.clear();
        m_model.OnSessionChanged("", "");
    }
    bool WaitUntilIdle()
    {
        return m_pump.RunUntil([&] { return m_model.PendingCount() == 0; });
    }
    std::vector<RecordedRequest> Sent(const char* page) const { return m_server.RequestsTo(PathOf(page)); }
    /// The removal's answer waits at the server; the add of "Ninety" is refused.
    void RemoveTheFirstPlaylistHeldAndAddOneThatFails()
    {
        Answer(kAdd, "<R><Error>no</Error></R>");
        Answer(kDelete, "<R><DeleteSuccess/></R>");
        m_server.Hold(PathOf(kDelete));
        std::vector<std::unique_ptr<CItemRef>> items;
        items.push_back(std::make_unique<CItemRef>(m_model.Playlist(0)));
        m_model.RemoveFavorites(std::move(items), kBookmarkPlaylist);
        const PlaylistSummary failing = Playlist(90, "Ninety");
        m_model.AddFavorites(std::vector<const PlaylistSummary*>{&failing});
    }

    static PlaylistSummary Playlist(std::int32_t id, const char* name)
    {
        PlaylistSummary p;
        p.playlistID = id;
        p.Name = name;
        return p;
    }

    std::string m_token;
    CFavoritesModel m_model{[this] { return m_token; }};
    CRecordingFavoritesListener m_listener;
    std::vector<std::string> m_messages;
};

constexpr char kOnePlaylist[] =
    "<B><PlaylistSummary playlistID='70'><Name>Seventy</Name><BookmarkID>700</BookmarkID></PlaylistSummary></B>";

}  // namespace

TEST_F(FavoritesModelTest, AddingDropsDuplicatesAndFavoritesAlreadyThere)
{
    LogIn(kOnePlaylist);
    ASSERT_EQ(m_model.PlaylistCount(), 1);
    m_server.SetResponse(PathOf(kAdd), [](const RecordedRequest& r) { return BookmarkIDs(r, 811); });

    const PlaylistSummary twice = Playlist(81, "Eighty-one");
    const PlaylistSummary already = Playlist(70, "Seventy again");
    m_model.AddFavorites(std::vector<const PlaylistSummary*>{&twice, &already, &twice});

    ASSERT_EQ(m_model.PlaylistCount(), 2);
    EXPECT_EQ(m_model.Playlist(1)->playlistID, 81);
    EXPECT_EQ(m_model.Playlist(1)->BookmarkID, -1);
    const FavoritesEvent* added = m_listener.Last("added");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->type, kBookmarkPlaylist);
    EXPECT_EQ(added->index, 1);

    ASSERT_TRUE(WaitUntilIdle());
    ASSERT_EQ(Sent(kAdd).size(), 1u);
    EXPECT_EQ(Sent(kAdd)[0].body, "user=tok&bookmarkType=2&numberOfItems=1&newBookmarkItemID1=81");
    EXPECT_EQ(m_model.Playlist(1)->BookmarkID, 812);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(FavoritesModelTest, FiftyOneTracksGoInTwoOperations)
{
    LogIn("<B/>");
    m_server.SetResponse(PathOf(kAdd), [](const RecordedRequest& r) { return BookmarkIDs(r, 5000); });
    m_server.Hold(PathOf(kAdd));
    std::vector<PerformanceSummary> tracks(51);
    std::vector<const PerformanceSummary*> input;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        tracks[i].performanceID = static_cast<std::int32_t>(100 + i);
        input.push_back(&tracks[i]);
    }
    m_model.AddFavorites(input);

    ASSERT_EQ(m_model.TrackCount(), 51);
    ASSERT_EQ(m_model.PendingCount(), 2u);
    const std::uint32_t first = m_model.PendingOperation(0)->identifier;
    EXPECT_EQ(m_model.PendingOperation(1)->identifier, first + 1);
    EXPECT_EQ(m_model.PendingOperation(0)->items.size(), 50u);
    EXPECT_EQ(m_model.PendingOperation(1)->items.size(), 1u);
    for (std::int32_t i = 0; i < 51; ++i)
        EXPECT_EQ(m_model.Track(i)->BookmarkID, -static_cast<std::int32_t>(i < 50 ? first : first + 1)) << i;

    ASSERT_TRUE(m_server.WaitForHeld(2));
    m_server.Release(PathOf(kAdd));
    ASSERT_TRUE(WaitUntilIdle());
    std::vector<std::string> counts;
    for (const auto& request : Sent(kAdd))
        counts.push_back(request.Form("numberOfItems"));
    std::sort(counts.begin(), counts.end());
    EXPECT_EQ(counts, (std::vector<std::string>{"1", "50"}));
    for (std::int32_t i = 0; i < 51; ++i)
        EXPECT_GT(m_model.Track(i)->BookmarkID, 5000) << i;
}

TEST_F(FavoritesModelTest, DeleteAndMoveWaitForTheAdd)
{
    LogIn("<B/>");
    m_server.SetResponse(PathOf(kAdd), [](const RecordedRequest& r) { return BookmarkIDs(r, 811); });
    Answer(kDelete, "<R><DeleteSuccess/></R>");
    Answer(kMove, "<R><MoveSuccessful/></R>");
    m_server.Hold(PathOf(kAdd));
    PerformanceSummary a, b;
    a.performanceID = 5;
    a.SongName = "First";
    b.performanceID = 6;
    b.SongName = "Second";
    m_model.AddFavorites(std::vector<const PerformanceSummary*>{&a, &b});
    ASSERT_TRUE(m_server.WaitForHeld(1));

    m_model.MoveFavorite(CItemRef(m_model.Track(0)), nullptr);
    std::vector<std::unique_ptr<CItemRef>> items;
    items.push_back(std::make_unique<CItemRef>(m_model.Track(1)));
    m_model.RemoveFavorites(std::move(items), kBookmarkTrack);
    ASSERT_EQ(m_model.PendingCount(), 3u);
    EXPECT_EQ(m_model.PendingOperation(1)->state, kOperationWaiting);
    EXPECT_EQ(m_model.PendingOperation(2)->state, kOperationWaiting);

    m_server.Release(PathOf(kAdd));
    ASSERT_TRUE(WaitUntilIdle());
    ASSERT_EQ(Sent(kMove).size(), 1u);
    EXPECT_EQ(Sent(kMove)[0].body, "user=tok&bookmarkType=3&bookmarkID1=812&newPreviousBookmarkID=0");
    ASSERT_EQ(Sent(kDelete).size(), 1u);
    EXPECT_EQ(Sent(kDelete)[0].body, "user=tok&bookmarkType1=3&numberOfItems=1&bookmarkID1=813");
    ASSERT_EQ(m_model.TrackCount(), 1);
    EXPECT_EQ(m_model.Track(0)->SongName, "First");
    const FavoritesEvent* finished = m_listener.Last("finished");
    ASSERT_NE(finished, nullptr);
    EXPECT_TRUE(finished->success);
    EXPECT_EQ(finished->names, std::vector<std::string>{"Second"});
}

TEST_F(FavoritesModelTest, MovesReachTheServerOneAfterTheOtherInTheMembersOrder)
{
    LogIn(
        "<B><PlaylistSummary playlistID='70'><Name>Seventy</Name><BookmarkID>700</BookmarkID></PlaylistSummary>"
        "<PlaylistSummary playlistID='71'><Name>Seventy-one</Name><BookmarkID>710</BookmarkID></PlaylistSummary>"
        "<PlaylistSummary playlistID='72'><Name>Seventy-two</Name><BookmarkID>720</BookmarkID></PlaylistSummary></B>");
    ASSERT_EQ(m_model.PlaylistCount(), 3);
    Answer(kMove, "<R><MoveSuccessful/></R>");
    m_server.Hold(PathOf(kMove));
    // The same favorite twice in quick succession: were both on their way at
    // once, the first could arrive last and win.
    const CItemRef seventy(m_model.Playlist(0));
    const CItemRef seventyOne(m_model.Playlist(1));
    const CItemRef seventyTwo(m_model.Playlist(2));
    m_model.MoveFavorite(seventy, &seventyTwo);
    m_model.MoveFavorite(seventy, &seventyOne);
    m_model.MoveFavorite(seventyTwo, nullptr);
    ASSERT_TRUE(m_server.WaitForHeld(1));
    EXPECT_EQ(m_model.PendingOperation(1)->state, kOperationWaiting);
    EXPECT_EQ(m_model.PendingOperation(2)->state, kOperationWaiting);
    EXPECT_EQ(Sent(kMove).size(), 1u);

    m_server.Release(PathOf(kMove));
    ASSERT_TRUE(WaitUntilIdle());
    std::vector<std::string> sent;
    for (const auto& request : Sent(kMove))
        sent.push_back(request.Form("bookmarkID1") + " after " + request.Form("newPreviousBookmarkID"));
    EXPECT_EQ(sent, (std::vector<std::string>{"700 after 720", "700 after 710", "720 after 0"}));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(FavoritesModelTest, ARemovalWaitsForTheMovesAskedForBeforeIt)
{
    LogIn(
        "<B><PlaylistSummary playlistID='70'><Name>Seventy</Name><BookmarkID>700</BookmarkID></PlaylistSummary>"
        "<PlaylistSummary playlistID='71'><Name>Seventy-one</Name><BookmarkID>710</BookmarkID></PlaylistSummary>"
        "<PlaylistSummary playlistID='72'><Name>Seventy-two</Name><BookmarkID>720</BookmarkID></PlaylistSummary></B>");
    // As the server does: a move naming a favorite that is gone is refused.
    auto removed = std::make_shared<std::set<std::string>>();
    auto removedLock = std::make_shared<std::mutex>();
    m_server.SetResponse(PathOf(kDelete), [=](const RecordedRequest& r) {
        std::lock_guard lock(*removedLock);
        removed->insert(r.Form("bookmarkID1"));
        return ScriptedResponse{200, "<R><DeleteSuccess/></R>"};
    });
    m_server.SetResponse(PathOf(kMove), [=](const RecordedRequest& r) {
        std::lock_guard lock(*removedLock);
        const bool gone =
            removed->count(r.Form("bookmarkID1")) != 0 || removed->count(r.Form("newPreviousBookmarkID")) != 0;
        return ScriptedResponse{200, gone ? "<R><Error>not in your list</Error></R>" : "<R><MoveSuccessful/></R>"};
    });
    m_server.Hold(PathOf(kMove));
    // Seventy-two goes first, Seventy-one behind it (that move waits for the
    // first), then Seventy-two is removed and Seventy-one too.
    const CItemRef seventyOne(m_model.Playlist(1));
    const CItemRef seventyTwo(m_model.Playlist(2));
    m_model.MoveFavorite(seventyTwo, nullptr);
    m_model.MoveFavorite(seventyOne, &seventyTwo);
    for (const CItemRef* item : {&seventyTwo, &seventyOne}) {
        std::vector<std::unique_ptr<CItemRef>> items;
        items.push_back(std::make_unique<CItemRef>(*item));
        m_model.RemoveFavorites(std::move(items), kBookmarkPlaylist);
    }
    ASSERT_TRUE(m_server.WaitForHeld(1));
    EXPECT_EQ(m_model.PendingOperation(2)->state, kOperationWaiting);
    EXPECT_EQ(m_model.PendingOperation(3)->state, kOperationWaiting);

    m_server.Release(PathOf(kMove));
    ASSERT_TRUE(WaitUntilIdle());
    std::vector<std::string> order;
    for (const auto& request : m_server.Requests()) {
        if (request.path == PathOf(kMove))
            order.push_back("move " + request.Form("bookmarkID1"));
        else if (request.path == PathOf(kDelete))
            order.push_back("delete " + request.Form("bookmarkID1"));
    }
    ASSERT_EQ(order.size(), 4u);
    // The two removals go together, in either order.
    std::sort(order.begin() + 2, order.end());
    EXPECT_EQ(order, (std::vector<std::string>{"move 720", "move 710", "delete 710", "delete 720"}));
    EXPECT_TRUE(m_messages.empty());
    ASSERT_EQ(m_model.PlaylistCount(), 1);
    EXPECT_EQ(m_model.Playlist(0)->playlistID, 70);
}

TEST_F(FavoritesModelTest, MoveAfterAFavoriteBeingAddedSendsItsConfirmedNumber)
{
    LogIn(kOnePlaylist);
    m_server.SetResponse(PathOf(kAdd), [](const RecordedRequest& r) { return BookmarkIDs(r, 899); });
    Answer(kMove, "<R><MoveSuccessful/></R>");
    m_server.Hold(PathOf(kAdd));
    const PlaylistSummary added = Playlist(81, "New");
    m_model.AddFavorites(std::vector<const PlaylistSummary*>{&added});
    ASSERT_TRUE(m_server.WaitForHeld(1));
    const CItemRef predecessor(m_model.Playlist(1));
    m_model.MoveFavorite(CItemRef(m_model.Playlist(0)), &predecessor);
    EXPECT_EQ(m_model.PendingOperation(1)->state, kOperationWaiting);
    m_server.Release(PathOf(kAdd));
    ASSERT_TRUE(WaitUntilIdle());
    ASSERT_EQ(Sent(kMove).size(), 1u);
    EXPECT_EQ(Sent(kMove)[0].body, "user=tok&bookmarkType=2&bookmarkID1=700&newPreviousBookmarkID=900");
}

TEST_F(FavoritesModelTest, FailedAddIsReportedAndPurged)
{
    const struct {
        const char* what;
        int status;
        const char* answer;
        std::vector<std::string> failed;
        std::int32_t kept;
    } cases[] = {
        {"refused by the server", 200, "<R><Error>Not allowed</Error></R>", {"Nina", "Otis"}, 0},
        {"transport failure", 500, "<R><BookmarkID>1</BookmarkID></R>", {"Nina", "Otis"}, 0},
        // Items the answer gives no number are not on the server.
        {"fewer numbers than items", 200, "<R><BookmarkID>77</BookmarkID></R>", {"Otis"}, 1},
    };
    LogIn("<B/>");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_messages.clear();
        m_server.SetResponse(PathOf(kAdd), c.status, c.answer);
        ArtistSummary one, two;
        one.artistID = 1;
        one.Name = "Nina";
        two.artistID = 2;
        two.Name = "Otis";
        m_model.AddFavorites(std::vector<const ArtistSummary*>{&one, &two});
        ASSERT_EQ(m_model.ArtistCount(), 2);
        ASSERT_TRUE(WaitUntilIdle());

        const FavoritesEvent* finished = m_listener.Last("finished");
        ASSERT_NE(finished, nullptr);
        EXPECT_TRUE(finished->success);
        EXPECT_EQ(finished->names, c.failed);
        std::string names;
        for (const std::string& name : c.failed)
            names += "\n" + name;
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0], "An error occurred at the Corvanta server.\nThe following Artist(s) have not been "
                                 "added to your favorites:\n" +
                                     names);
        ASSERT_EQ(m_model.ArtistCount(), c.kept);
        if (c.kept == 1) {
            EXPECT_EQ(m_model.Artist(0)->Name, "Nina");
            EXPECT_EQ(m_model.Artist(0)->BookmarkID, 77);
        }
    }
}

TEST_F(FavoritesModelTest, FailedAddIsSettledBeforeItsMessageAndItsRecordsOutliveAnswersDeliveredMeanwhile)
{
    // The message box runs a nested loop: the removal's answer arrives while it
    // is open, and the member logs in again and adds another favorite there.
    LogIn(kOnePlaylist);
    RemoveTheFirstPlaylistHeldAndAddOneThatFails();
    ASSERT_TRUE(m_server.WaitForHeld(1));
    LogOut();

    bool opened = false;
    SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
        m_messages.push_back(text);
        if (opened)
            return kIdOk;
        opened = true;
        m_server.Release(PathOf(kDelete));
        EXPECT_TRUE(m_pump.RunUntil([&] { return m_model.PendingCount() == 0; }));
        m_server.SetResponse(PathOf(kAdd), [](const RecordedRequest& r) { return BookmarkIDs(r, 950); });
        LogIn("<B/>");
        const PlaylistSummary later = Playlist(95, "Ninety-five");
        m_model.AddFavorites(std::vector<const PlaylistSummary*>{&later});
        return kIdOk;
    });
    ASSERT_TRUE(m_pump.RunUntil([&] { return opened && m_model.PendingCount() == 0; }));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find("\n\nNinety"), std::string::npos);
    ASSERT_EQ(m_model.PlaylistCount(), 1);
    EXPECT_EQ(m_model.Playlist(0)->playlistID, 95);
    EXPECT_EQ(m_model.Playlist(0)->BookmarkID, 951);
}

TEST_F(FavoritesModelTest, FailedAddRecordsAreSettledWhileItsMessageIsOpen)
{
    LogIn("<B/>");
    Answer(kAdd, "<R><Error>no</Error></R>");
    std::vector<std::pair<std::int32_t, std::int32_t>> seen;
    SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
        m_messages.push_back(text);
        for (std::int32_t i = 0; i < m_model.TrackCount(); ++i)
            seen.emplace_back(m_model.Track(i)->performanceID, m_model.Track(i)->BookmarkID);
        return kIdOk;
    });
    PerformanceSummary track;
    track.performanceID = 12;
    m_model.AddFavorites(std::vector<const PerformanceSummary*>{&track});
    ASSERT_TRUE(WaitUntilIdle());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 0}}));
    EXPECT_EQ(m_model.TrackCount(), 0);
}

TEST_F(FavoritesModelTest, MoveAfterTheSecondFavoriteOfOneAddWaitsForThatFavorite)
{
    LogIn(kOnePlaylist);
    m_server.SetResponse(PathOf(kAdd), [](const RecordedRequest& r) { return BookmarkIDs(r, 900); });
    Answer(kMove, "<R><MoveSuccessful/></R>");
    m_server.Hold(PathOf(kAdd));
    const PlaylistSummary first = Playlist(81, "First");
    const PlaylistSummary second = Playlist(82, "Second");
    m_model.AddFavorites(std::vector<const PlaylistSummary*>{&first, &second});
    ASSERT_TRUE(m_server.WaitForHeld(1));
    const CItemRef predecessor(m_model.Playlist(2));
    m_model.MoveFavorite(CItemRef(m_model.Playlist(0)), &predecessor);
    m_server.Release(PathOf(kAdd));
    ASSERT_TRUE(WaitUntilIdle());
    ASSERT_EQ(Sent(kMove).size(), 1u);
    EXPECT_EQ(Sent(kMove)[0].body, "user=tok&bookmarkType=2&bookmarkID1=700&newPreviousBookmarkID=902");
}

TEST_F(FavoritesModelTest, RemovalOfAFavoriteWhoseAddFailsSendsNothing)
{
    LogIn("<B/>");
    Answer(kAdd, "<R><Error>no</Error></R>");
    Answer(kDelete, "<R><DeleteSuccess/></R>");
    m_server.Hold(PathOf(kAdd));
    PerformanceSummary track;
    track.performanceID = 5;
    track.SongName = "Gone";
    m_model.AddFavorites(std::vector<const PerformanceSummary*>{&track});
    std::vector<std::unique_ptr<CItemRef>> items;
    items.push_back(std::make_unique<CItemRef>(m_model.Track(0)));
    m_model.RemoveFavorites(std::move(items), kBookmarkTrack);
    ASSERT_EQ(m_model.PendingOperation(1)->state, kOperationWaiting);

    ASSERT_TRUE(m_server.WaitForHeld(1));
    m_server.Release(PathOf(kAdd));
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_TRUE(Sent(kDelete).empty()) << "a removal of nothing is not sent";
    ASSERT_EQ(m_messages.size(), 1u) << "only the failed add is reported";
    EXPECT_NE(m_messages[0].find("have not been added"), std::string::npos);
    EXPECT_EQ(m_model.TrackCount(), 0);
}

TEST_F(FavoritesModelTest, FailedAddLeftoversStayWhileAnotherOperationIsPending)
{
    LogIn(kOnePlaylist);
    RemoveTheFirstPlaylistHeldAndAddOneThatFails();
    ASSERT_TRUE(m_pump.RunUntil([&] { return m_model.PendingCount() == 1; }));
    ASSERT_EQ(m_model.PlaylistCount(), 2);
    EXPECT_EQ(m_model.Playlist(1)->playlistID, 0);
    EXPECT_EQ(m_model.Playlist(1)->BookmarkID, 0);

    m_server.Release(PathOf(kDelete));
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(m_model.PlaylistCount(), 0);
}

TEST_F(FavoritesModelTest, FailedRemovalAndMoveAreReported)
{
    LogIn("<B><UserSummary userID='3'><Handle>dj k</Handle><BookmarkID>30</BookmarkID></UserSummary>"
          "<UserSummary userID='4'><Handle>mc l</Handle><BookmarkID>40</BookmarkID></UserSummary></B>");
    Answer(kDelete, "<R><Error>no</Error></R>");
    m_server.SetResponse(PathOf(kMove), 500, "");

    std::vector<std::unique_ptr<CItemRef>> items;
    items.push_back(std::make_unique<CItemRef>(m_model.Playmaker(0)));
    items.push_back(std::make_unique<CItemRef>(m_model.Playmaker(1)));
    m_model.RemoveFavorites(std::move(items), kBookmarkPlaymaker);
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(Sent(kDelete)[0].body, "user=tok&bookmarkType1=4&numberOfItems=2&bookmarkID1=30&bookmarkID2=40");
    const FavoritesEvent* finished = m_listener.Last("finished");
    ASSERT_NE(finished, nullptr);
    EXPECT_FALSE(finished->success);
    EXPECT_EQ(m_model.PlaymakerCount(), 2);

    m_model.MoveFavorite(CItemRef(m_model.Playmaker(1)), nullptr);
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(m_model.Playmaker(0)->Handle, "dj k");
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(
        m_messages[0],
        "An error occurred at the Corvanta server.\nThe following Playmaker(s) have not been removed:\n\ndj k\nmc l");
    EXPECT_EQ(m_messages[1],
              "An error occurred at the Corvanta server.\nPlaymaker: \nmc l\nhas not been permanently moved.");
}

TEST_F(FavoritesModelTest, LogoutAndLogin)
{
    LogIn(kOnePlaylist);
    EXPECT_EQ(m_listener.Slots(), (std::vector<std::string>{"reset", "loaded"}));
    EXPECT_EQ(Sent(kFetch)[0].body, "user=tok");

    LogOut();
    EXPECT_EQ(m_listener.events.back().slot, "cleared");
    EXPECT_EQ(m_model.PlaylistCount(), 0);

    LogIn(kOnePlaylist);
    EXPECT_EQ(m_listener.Slots(), (std::vector<std::string>{"reset", "loaded", "cleared", "reset", "loaded"}));
    EXPECT_EQ(Sent(kFetch).size(), 2u);
    EXPECT_EQ(m_model.PlaylistCount(), 1);

    // A listener that comes once the favorites are loaded is told at once.
    CRecordingFavoritesListener late;
    m_model.AddListener(&late);
    EXPECT_EQ(late.Slots(), std::vector<std::string>{"loaded"});
    m_model.RemoveListener(&late);
}

TEST_F(FavoritesModelTest, AnswerToAFetchOvertakenByLogoutIsDropped)
{
    Answer(kFetch, kOnePlaylist);
    m_server.Hold(PathOf(kFetch));
    m_token = "tok";
    m_model.OnSessionChanged("member", m_token);
    ASSERT_TRUE(m_server.WaitForHeld(1));
    LogOut();
    m_server.Release(PathOf(kFetch));
    ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
    m_pump.RunPending();
    EXPECT_EQ(m_listener.Slots(), (std::vector<std::string>{"reset", "cleared"}));
    EXPECT_EQ(m_model.PlaylistCount(), 0);
    EXPECT_FALSE(m_model.Loaded());
}

TEST_F(FavoritesModelTest, OnlyTheLatestSessionsFetchFillsTheLists)
{
    const struct {
        const char* what;
        int status;
        const char* answer;
        std::int32_t playlists;
    } cases[] = {
        {"the new session's answer comes first", 200,
         "<B><PlaylistSummary playlistID='90'><Name>Ninety</Name><BookmarkID>900</BookmarkID></PlaylistSummary></B>",
         1},
        {"the new session's fetch fails first", 500, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // The first session's answer is held until the second session's outcome is on its way.
        auto letFirstGo = std::make_shared<std::promise<void>>();
        std::shared_future<void> firstMayAnswer = letFirstGo->get_future().share();
        m_server.SetResponse(PathOf(kFetch), [&c, firstMayAnswer](const RecordedRequest& r) {
            if (r.Form("user") == "first") {
                firstMayAnswer.wait_for(std::chrono::seconds(20));
                return ScriptedResponse{200, kOnePlaylist};
            }
            return ScriptedResponse{c.status, c.answer};
        });
        const std::size_t before = m_server.RequestsTo(PathOf(kFetch)).size();
        m_token = "first";
        m_model.OnSessionChanged("first", m_token);
        ASSERT_TRUE(m_server.WaitForRequests(before + 1));
        LogOut();
        m_token = "second";
        m_model.OnSessionChanged("second", m_token);
        ASSERT_TRUE(m_pump.WaitForQueued(1));
        letFirstGo->set_value();
        ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
        m_pump.RunPending();

        ASSERT_EQ(m_model.PlaylistCount(), c.playlists);
        if (c.playlists == 1) {
            EXPECT_EQ(m_model.Playlist(0)->playlistID, 90);
        }
        EXPECT_EQ(m_listener.Slots().back(), c.playlists == 1 ? "loaded" : "reset");
        LogOut();
    }
}

TEST_F(FavoritesModelTest, RecordsOfPendingOperationsOutliveTheSession)
{
    LogIn(kOnePlaylist);
    Answer(kDelete, "<R><Error>no</Error></R>");
    m_server.Hold(PathOf(kDelete));
    std::vector<std::unique_ptr<CItemRef>> items;
    items.push_back(std::make_unique<CItemRef>(m_model.Playlist(0)));
    m_model.RemoveFavorites(std::move(items), kBookmarkPlaylist);
    ASSERT_TRUE(m_server.WaitForHeld(1));
    LogOut();
    EXPECT_EQ(m_model.PlaylistCount(), 0);
    m_server.Release(PathOf(kDelete));
    ASSERT_TRUE(WaitUntilIdle());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find("\n\nSeventy"), std::string::npos);
}

TEST_F(FavoritesModelTest, AddFavoriteNeedsALoginAndAKnownType)
{
    m_model.AddFavorite(kBookmarkTrack, 5, "Song", "Artist", "Live");
    EXPECT_EQ(m_model.TrackCount(), 0);
    LogIn("<B/>");
    m_model.AddFavorite(5, 5, "Song", "Artist", "Live");
    EXPECT_EQ(m_model.PendingCount(), 0u);

    m_server.SetResponse(PathOf(kAdd), [](const RecordedRequest& r) { return BookmarkIDs(r, 0); });
    m_model.AddFavorite(kBookmarkTrack, 5, "Song", "Artist", "Live");
    m_model.AddFavorite(kBookmarkPlaylist, 6, "List", "owner", "");
    ASSERT_EQ(m_model.TrackCount(), 1);
    EXPECT_EQ(m_model.Track(0)->performanceID, 5);
    EXPECT_EQ(m_model.Track(0)->SongName, "Song");
    EXPECT_EQ(m_model.Track(0)->ArtistName, "Artist");
    EXPECT_EQ(m_model.Track(0)->Version, "Live");
    ASSERT_EQ(m_model.PlaylistCount(), 1);
    EXPECT_EQ(m_model.Playlist(0)->Playmaker.Handle, "owner");
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(Sent(kAdd).size(), 2u);
}
