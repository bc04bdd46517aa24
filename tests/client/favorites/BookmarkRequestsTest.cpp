#include "client/catalogue/ArtistSummary.h"
#include "client/catalogue/PerformanceSummary.h"
#include "client/catalogue/UserSummary.h"
#include "client/favorites/AddBookmarkRequest.h"
#include "client/favorites/BookmarkType.h"
#include "client/favorites/DeleteBookmarkRequest.h"
#include "client/favorites/GetUserBookmarksRequest.h"
#include "client/favorites/MoveBookmarkRequest.h"
#include "tests/support/RequestFixture.h"

namespace {

class BookmarkRequests : public RequestFixture {};

constexpr char kAdd[] = "bookmark/AddBookmark.jsp";
constexpr char kDelete[] = "bookmark/DeleteBookmark.jsp";
constexpr char kMove[] = "bookmark/MoveBookmark.jsp";

template <class Record>
CBookmarkOperation Operation(std::uint32_t id, std::int32_t type, std::int32_t kind, std::vector<Record>& records)
{
    CBookmarkOperation operation;
    operation.identifier = id;
    operation.type = type;
    operation.kind = kind;
    for (Record& record : records)
        operation.items.push_back(std::make_unique<CItemRef>(&record));
    return operation;
}

PerformanceSummary Track(std::int32_t id, std::int32_t bookmark = 0)
{
    PerformanceSummary t;
    t.performanceID = id;
    t.BookmarkID = bookmark;
    return t;
}

}  // namespace

TEST_F(BookmarkRequests, Bodies)
{
    std::vector<PerformanceSummary> tracks = {Track(31), Track(32), Track(33)};
    std::vector<UserSummary> playmakers(2);
    playmakers[0].BookmarkID = 501;
    playmakers[1].BookmarkID = 502;
    CBookmarkOperation add = Operation(1, kBookmarkTrack, kBookmarkAdd, tracks);
    CBookmarkOperation remove = Operation(2, kBookmarkPlaymaker, kBookmarkDelete, playmakers);
    CBookmarkOperation move;
    move.identifier = 3;
    move.type = kBookmarkPlaylist;
    move.kind = kBookmarkMove;
    move.bookmarkID = 77;
    move.newPreviousBookmarkID = 0;

    CGetUserBookmarksRequest fetch;
    CAddBookmarkRequest addRequest;
    CDeleteBookmarkRequest deleteRequest;
    CMoveBookmarkRequest moveRequest;
    const struct {
        const char* what;
        CServerRequest& request;
        std::function<void()> send;
        const char* page;
        const char* body;
        std::int32_t value1;
    } cases[] = {
        {"fetch", fetch, [&] { fetch.Fetch("tok en"); }, "bookmark/GetUserBookmarks.jsp", "user=tok+en", 0},
        {"add three tracks", addRequest, [&] { addRequest.Send(add, "tok"); }, kAdd,
         "user=tok&bookmarkType=3&numberOfItems=3&newBookmarkItemID1=31&newBookmarkItemID2=32&newBookmarkItemID3=33",
         1},
        {"delete two playmakers", deleteRequest, [&] { deleteRequest.Send(remove, "tok"); }, kDelete,
         "user=tok&bookmarkType1=4&numberOfItems=2&bookmarkID1=501&bookmarkID2=502", 2},
        {"move to the top", moveRequest, [&] { moveRequest.Send(move, "tok"); }, kMove,
         "user=tok&bookmarkType=2&bookmarkID1=77&newPreviousBookmarkID=0", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RequestEvent event = ExpectPosted(c.request, c.send, c.page, c.body);
        EXPECT_TRUE(event.completed);
        EXPECT_EQ(event.value1, c.value1);
        EXPECT_EQ(event.value2, 0);
    }
    EXPECT_EQ(add.state, kOperationAnswered);
}

TEST_F(BookmarkRequests, AddAnswers)
{
    const struct {
        const char* what;
        const char* answer;
        bool success;
        const char* error;
        std::vector<std::int32_t> bookmarks;
    } cases[] = {
        {"one id per item", "<R><BookmarkID>901</BookmarkID><BookmarkID>902</BookmarkID></R>", true, "", {901, 902}},
        {"extra ids ignored",
         "<R><BookmarkID>1</BookmarkID><BookmarkID>2</BookmarkID><BookmarkID>3</BookmarkID></R>",
         true,
         "",
         {1, 2}},
        {"only an error", "<R><Error>Already a favorite</Error></R>", false, "Already a favorite", {-1, -2}},
        {"neither", "<R><Nothing/></R>", false, "Unspecified Error", {-1, -2}},
        {"not a document", "Internal error", false, "", {-1, -2}},
    };
    CAddBookmarkRequest request;
    std::uint32_t id = 10;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<PerformanceSummary> tracks = {Track(1, -1), Track(2, -2)};
        CBookmarkOperation operation = Operation(++id, kBookmarkTrack, kBookmarkAdd, tracks);
        Answer(kAdd, c.answer);
        const RequestEvent event = SendAndWait(request, [&] { request.Send(operation, "t"); });
        EXPECT_TRUE(event.completed);
        EXPECT_EQ(static_cast<std::uint32_t>(event.value1), id);
        EXPECT_EQ(operation.state, kOperationAnswered);
        EXPECT_EQ(operation.success, c.success);
        EXPECT_EQ(operation.errorText, c.error);
        EXPECT_EQ(tracks[0].BookmarkID, c.bookmarks[0]);
        EXPECT_EQ(tracks[1].BookmarkID, c.bookmarks[1]);
    }
    EXPECT_EQ(request.CarriedCount(), 0u);
}

TEST_F(BookmarkRequests, DeleteAndMoveAnswers)
{
    CDeleteBookmarkRequest deleteRequest;
    CMoveBookmarkRequest moveRequest;
    const struct {
        const char* what;
        CBookmarkChangeRequest& request;
        const char* page;
        const char* answer;
        bool success;
        const char* error;
    } cases[] = {
        {"delete succeeded", deleteRequest, kDelete, "<R><DeleteSuccess/></R>", true, ""},
        {"delete refused", deleteRequest, kDelete, "<R><Error>No such favorite</Error></R>", false, "No such favorite"},
        {"delete answered by a move", deleteRequest, kDelete, "<R><MoveSuccessful/></R>", false, "Unspecified Error"},
        {"move succeeded", moveRequest, kMove, "<R><MoveSuccessful>yes</MoveSuccessful></R>", true, ""},
        {"move refused", moveRequest, kMove, "<R/>", false, "Unspecified Error"},
    };
    std::uint32_t id = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ArtistSummary> artists(1);
        artists[0].BookmarkID = 40;
        CBookmarkOperation operation = Operation(++id, kBookmarkArtist, kBookmarkDelete, artists);
        operation.bookmarkID = 40;
        Answer(c.page, c.answer);
        SendAndWait(c.request, [&] {
            if (&c.request == &deleteRequest)
                deleteRequest.Send(operation, "t");
            else
                moveRequest.Send(operation, "t");
        });
        EXPECT_EQ(operation.state, kOperationAnswered);
        EXPECT_EQ(operation.success, c.success);
        EXPECT_EQ(operation.errorText, c.error);
    }
}

TEST_F(BookmarkRequests, FailedAndForgottenOperations)
{
    CAddBookmarkRequest request;
    std::vector<PerformanceSummary> tracks = {Track(1, -1)};

    CBookmarkOperation failed = Operation(5, kBookmarkTrack, kBookmarkAdd, tracks);
    m_server.SetResponse(PathOf(kAdd), 500, "<R><BookmarkID>9</BookmarkID></R>");
    const RequestEvent event = SendAndWait(request, [&] { request.Send(failed, "t"); });
    EXPECT_FALSE(event.completed);
    EXPECT_EQ(event.result, E_FAIL);
    EXPECT_EQ(event.value1, 5);
    EXPECT_EQ(failed.state, kOperationSent);
    EXPECT_EQ(tracks[0].BookmarkID, -1);
    EXPECT_EQ(request.CarriedCount(), 0u);

    // An operation the model dropped is not written to when its answer comes.
    CBookmarkOperation dropped = Operation(6, kBookmarkTrack, kBookmarkAdd, tracks);
    Answer(kAdd, "<R><BookmarkID>9</BookmarkID></R>");
    m_server.Hold(PathOf(kAdd));
    CEventListener listener;
    request.AddListener(&listener);
    request.Send(dropped, "t");
    ASSERT_TRUE(m_server.WaitForHeld(1));
    request.Forget(6);
    m_server.Release(PathOf(kAdd));
    ASSERT_TRUE(WaitForEvents(listener, 1));
    request.RemoveListener(&listener);
    EXPECT_EQ(dropped.state, kOperationSent);
    EXPECT_FALSE(dropped.success);
    EXPECT_EQ(tracks[0].BookmarkID, -1);
}

TEST_F(BookmarkRequests, UserBookmarksByKind)
{
    CGetUserBookmarksRequest request;
    Answer("bookmark/GetUserBookmarks.jsp",
           "<B><UserSummary userID='1'><BookmarkID>11</BookmarkID></UserSummary><UserSummary userID='2'/></B>");
    SendAndWait(request, [&] { request.Fetch("t"); });
    EXPECT_EQ(request.PlaylistCount(), 0);
    EXPECT_EQ(request.ArtistCount(), 0);
    EXPECT_EQ(request.TrackCount(), 0);
    ASSERT_EQ(request.PlaymakerCount(), 2);
    EXPECT_EQ(request.GetPlaymaker(0)->BookmarkID, 11);
    auto playmakers = request.TakePlaymakers();
    ASSERT_EQ(playmakers.size(), 2u);
    EXPECT_EQ(playmakers[1]->userID, 2);
    EXPECT_EQ(request.GetPlaymaker(0), nullptr);

    Answer("bookmark/GetUserBookmarks.jsp",
           "<B><PerformanceSummary performanceID='3'/><PlaylistSummary playlistID='4'/>"
           "<ArtistSummary artistID='5'/><ArtistSummary artistID='6'/></B>");
    SendAndWait(request, [&] { request.Fetch("t"); });
    EXPECT_EQ(request.PlaylistCount(), 1);
    EXPECT_EQ(request.ArtistCount(), 2);
    EXPECT_EQ(request.TrackCount(), 1);
    EXPECT_EQ(request.PlaymakerCount(), 0);
    EXPECT_EQ(request.GetArtist(1)->artistID, 6);

    Answer("bookmark/GetUserBookmarks.jsp", "garbage");
    SendAndWait(request, [&] { request.Fetch("t"); });
    EXPECT_EQ(request.ArtistCount(), 0);
    EXPECT_EQ(request.GetArtist(0), nullptr);
}

TEST(BookmarkType, Names)
{
    EXPECT_STREQ(BookmarkTypeName(kBookmarkArtist), "Artist");
    EXPECT_STREQ(BookmarkTypeName(kBookmarkPlaylist), "Playlist");
    EXPECT_STREQ(BookmarkTypeName(kBookmarkTrack), "Track");
    EXPECT_STREQ(BookmarkTypeName(kBookmarkPlaymaker), "Playmaker");
    EXPECT_STREQ(BookmarkTypeName(0), "Item");
    EXPECT_STREQ(BookmarkTypeName(7), "Item");
}
