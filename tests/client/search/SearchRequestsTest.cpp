#include "client/search/SearchForArtistsRequest.h"
#include "client/search/SearchForPerformancesRequest.h"
#include "client/search/SearchForPlaylistsRequest.h"
#include "client/search/SearchForUsersRequest.h"
#include "tests/support/RequestFixture.h"

namespace {
class SearchRequests : public RequestFixture {};
constexpr char kPerformances[] = "search/SearchForPerformances.jsp";

PerformanceSearch ByTitle(const char* title)
{
    PerformanceSearch search;
    search.performanceTitle = {title, 0};
    return search;
}
}  // namespace

TEST_F(SearchRequests, Bodies)
{
    CSearchForPlaylistsRequest playlists;
    CSearchForUsersRequest users;
    CSearchForArtistsRequest artists;
    CSearchForPerformancesRequest performances;

    PlaylistSearch blueGenre;
    blueGenre.genre = {12, 0};
    blueGenre.title = {"blue", 0};
    PlaylistSearch every{{"t", 0}, {"a b", 1}, {"h", 2}, {"p", 3}, {"th", 4}, {5, 5}, {6, 6}};
    PlaylistSearch moodOnly;
    moodOnly.mood = {3, 0};
    moodOnly.genre = {0, 9};

    const struct {
        const char* what;
        CServerRequest& request;
        std::function<void()> send;
        const char* page;
        const char* body;
    } cases[] = {
        {"title and genre", playlists, [&] { playlists.Search(blueGenre, 0); }, "search/SearchForPlaylists.jsp",
         "PlaylistTitle=blue&PlaylistTitleSearchType=0&Genre=12&GenreSearchType=0"},
        {"every playlist field", playlists, [&] { playlists.Search(every, 0); }, "search/SearchForPlaylists.jsp",
         "PlaylistTitle=t&PlaylistTitleSearchType=0&ArtistName=a+b&ArtistNameSearchType=1&UserHandle=h&"
         "UserHandleSearchType=2&PerformanceTitle=p&PerformanceTitleSearchType=3&Theme=th&ThemeSearchType=4&"
         "Mood=5&MoodSearchType=5&Genre=6&GenreSearchType=6"},
        {"a genre of 0 is left out", playlists, [&] { playlists.Search(moodOnly, 0); }, "search/SearchForPlaylists.jsp",
         "Mood=3&MoodSearchType=0"},
        {"no field", playlists, [&] { playlists.Search({}, 0); }, "search/SearchForPlaylists.jsp", ""},
        {"users: an empty handle is sent", users, [&] { users.Search(SearchText{}, 0); }, "search/SearchForUsers.jsp",
         "UserHandle=&UserHandleSearchType=0"},
        {"users: a handle", users,
         [&] {
             users.Search(SearchText{"dj k", 0}, 0);
         },
         "search/SearchForUsers.jsp", "UserHandle=dj+k&UserHandleSearchType=0"},
        {"users: no handle", users, [&] { users.Search(std::nullopt, 0); }, "search/SearchForUsers.jsp", ""},
        {"artists", artists,
         [&] {
             artists.Search({{"R&B", 0}, {"x=y", 0}}, 0);
         },
         "search/SearchForArtists.jsp",
         "ArtistName=R%26B&ArtistNameSearchType=0&PerformanceTitle=x%3Dy&PerformanceTitleSearchType=0"},
        {"artists: track only", artists,
         [&] {
             artists.Search({{}, {"song", 0}}, 0);
         },
         "search/SearchForArtists.jsp", "PerformanceTitle=song&PerformanceTitleSearchType=0"},
        {"performances", performances,
         [&] {
             performances.Search({{"Hey Jude", 0}, {"Beatles", 1}, {"mono", 0}, {"1+1", 0}}, 0);
         },
         kPerformances,
         "PerformanceTitle=Hey+Jude&PerformanceTitleSearchType=0&PrimaryArtistName=Beatles&"
         "PrimaryArtistNameSearchType=1&Version=mono&VersionSearchType=0&CDTitle=1%2B1&CDTitleSearchType=0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectPosted(c.request, c.send, c.page, c.body);
    }
    // What the server's decoder makes of the escaped values.
    const auto sent = m_server.RequestsTo(PathOf(kPerformances));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Form("CDTitle"), "1+1");
    EXPECT_EQ(sent[0].Form("PerformanceTitle"), "Hey Jude");
}

TEST_F(SearchRequests, KeysGrowPerPostAndComeBackAsValue2)
{
    CSearchForPerformancesRequest request;
    m_server.Hold(PathOf(kPerformances));
    CEventListener listener;
    request.AddListener(&listener);
    EXPECT_EQ(request.Search(ByTitle("a"), 70), 1);
    EXPECT_EQ(request.Search(ByTitle("b"), 71), 2);
    EXPECT_EQ(request.Search(ByTitle("c"), 72), 3);
    ASSERT_TRUE(m_server.WaitForHeld(3));
    EXPECT_FALSE(request.HasResult(3));
    m_server.Release(PathOf(kPerformances));
    ASSERT_TRUE(WaitForEvents(listener, 3));
    request.RemoveListener(&listener);
    for (const RequestEvent& event : listener.events)
        EXPECT_EQ(event.value1, event.value2 + 69);
    EXPECT_TRUE(request.HasResult(1) && request.HasResult(2) && request.HasResult(3));
}

TEST_F(SearchRequests, AnswersStoredUnderTheirKey)
{
    CSearchForPerformancesRequest request;
    std::string answer = "<Results>";
    for (int i = 0; i < 20; ++i)
        answer += "<PerformanceSummary performanceID='" + std::to_string(i + 1) + "'/>";
    for (int i = 0; i < 130; ++i)
        answer += "<ID>" + std::to_string(1000 + i) + "</ID>";
    answer += "<ID>oops</ID></Results>";
    Answer(kPerformances, answer);
    const RequestEvent first = SendAndWait(request, [&] { request.Search(ByTitle("a"), 0); });
    EXPECT_EQ(first.value2, 1);
    ASSERT_EQ(request.Count(1), 20);
    EXPECT_EQ(request.Summary(1, 19)->performanceID, 20);
    EXPECT_EQ(request.Summary(1, 20), nullptr);
    const auto ids = request.Identifiers(1);
    ASSERT_EQ(ids.size(), 131u);
    EXPECT_EQ(ids[129], 1129u);
    EXPECT_EQ(ids[130], 0u);

    // Other kinds of summary are not read.
    Answer(kPerformances, "<R><ArtistSummary artistID='1'/><ID>5</ID></R>");
    SendAndWait(request, [&] { request.Search(ByTitle("b"), 0); });
    EXPECT_EQ(request.Count(2), 0);
    EXPECT_EQ(request.Identifiers(2), std::vector<std::uint32_t>{5});

    Answer(kPerformances, "not xml");
    SendAndWait(request, [&] { request.Search(ByTitle("c"), 0); });
    EXPECT_TRUE(request.HasResult(3));
    EXPECT_EQ(request.Count(3), 0);
    EXPECT_TRUE(request.Identifiers(3).empty());

    m_server.SetResponse(PathOf(kPerformances), 500, "<R/>");
    const RequestEvent failed = SendAndWait(request, [&] { request.Search(ByTitle("d"), 0); });
    EXPECT_FALSE(failed.completed);
    EXPECT_EQ(failed.value2, 4);
    EXPECT_FALSE(request.HasResult(4));

    // Earlier results stay until released.
    EXPECT_EQ(request.Count(1), 20);
    request.ReleaseResult(1);
    EXPECT_FALSE(request.HasResult(1));
    EXPECT_EQ(request.Count(1), 0);
}

TEST_F(SearchRequests, EachClassReadsItsOwnSummaries)
{
    const std::string answer =
        "<R><PlaylistSummary playlistID='1'/><UserSummary userID='2'/><ArtistSummary artistID='3'/>"
        "<PerformanceSummary performanceID='4'/></R>";
    CSearchForPlaylistsRequest playlists;
    CSearchForUsersRequest users;
    CSearchForArtistsRequest artists;
    Answer("search/SearchForPlaylists.jsp", answer);
    Answer("search/SearchForUsers.jsp", answer);
    Answer("search/SearchForArtists.jsp", answer);
    SendAndWait(playlists, [&] { playlists.Search({}, 0); });
    SendAndWait(users, [&] { users.Search(SearchText{"x", 0}, 0); });
    SendAndWait(artists, [&] { artists.Search({{"x", 0}, {}}, 0); });
    ASSERT_EQ(playlists.Count(1), 1);
    EXPECT_EQ(playlists.Summary(1, 0)->playlistID, 1);
    ASSERT_EQ(users.Count(1), 1);
    EXPECT_EQ(users.Summary(1, 0)->userID, 2);
    ASSERT_EQ(artists.Count(1), 1);
    EXPECT_EQ(artists.Summary(1, 0)->artistID, 3);
}

TEST_F(SearchRequests, DestroyedWhileAnsweringDropsTheAnswer)
{
    CEventListener listener;
    Answer(kPerformances, "<R><PerformanceSummary performanceID='1'/></R>");
    m_server.Hold(PathOf(kPerformances));
    {
        CSearchForPerformancesRequest request;
        request.AddListener(&listener);
        request.Search(ByTitle("a"), 0);
        ASSERT_TRUE(m_server.WaitForHeld(1));
    }
    m_server.Release(PathOf(kPerformances));
    ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
    m_pump.RunPending();
    EXPECT_TRUE(listener.events.empty());
}
