#include "client/catalogue/FulfillPerformanceRequest.h"
#include "client/catalogue/FulfillPlaylistRequest.h"
#include "client/catalogue/GetPlaylistDetailsRequest.h"
#include "client/catalogue/GetSummariesRequest.h"
#include "client/catalogue/GetUserPlaylistsRequest.h"
#include "client/catalogue/LookupTables.h"
#include "client/catalogue/LookupTablesModel.h"
#include "client/catalogue/TablesToXMLRequest.h"
#include "tests/support/RequestFixture.h"

#include <functional>
#include <thread>

namespace {
class CatalogueRequests : public RequestFixture {};
constexpr char kToken[] = "ab 12:x&y";
}  // namespace

TEST_F(CatalogueRequests, BodiesAsPosted)
{
    CTablesToXMLRequest tables;
    CLookupTables lookup;
    CGetUserPlaylistsRequest playlists;
    CGetPlaylistDetailsRequest details;
    CGetSummariesRequest summaries;
    CFulfillPerformanceRequest fulfillTrack;
    CFulfillPlaylistRequest fulfillPlaylist;
    const struct {
        const char* what;
        CServerRequest& request;
        std::function<void()> send;
        const char* page;
        const char* body;
        std::int32_t value1;
    } cases[] = {
        {"tables", tables, [&] { tables.Fetch(&lookup); }, "TablesToXML.jsp", "", 0},
        {"user playlists", playlists, [&] { playlists.Fetch(kToken); }, "GetUserPlaylists.jsp", "user=ab+12:x%26y", 0},
        {"playlist details", details, [&] { details.Fetch(815); }, "GetPlaylistDetails.jsp", "playlist=815", 815},
        {"summaries of playlists", summaries, [&] { summaries.FetchPlaylists("1,2,3", 4); }, "search/GetSummaries.jsp",
         "Type=PLAYLIST&IDs=1,2,3", 4},
        {"summaries of users", summaries, [&] { summaries.FetchUsers("9", 5); }, "search/GetSummaries.jsp",
         "Type=USER&IDs=9", 5},
        {"summaries of artists", summaries, [&] { summaries.FetchArtists("7,8", 6); }, "search/GetSummaries.jsp",
         "Type=ARTIST&IDs=7,8", 6},
        {"summaries of performances", summaries, [&] { summaries.FetchPerformances("10", 7); },
         "search/GetSummaries.jsp", "Type=PERFORMANCE&IDs=10", 7},
        {"track preview", fulfillTrack, [&] { fulfillTrack.Fulfill(kToken, 301); }, "fulfill/fulfillperformance.jsp",
         "user=ab+12:x%26y&PerformanceID=301&FulfillmentTypeID=1&App=Tessarin", 0},
        {"playlist preview", fulfillPlaylist, [&] { fulfillPlaylist.Fulfill(kToken, 44); },
         "fulfill/FulfillPlaylist.jsp", "user=ab+12:x%26y&PlaylistID=44&App=Tessarin", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const RequestEvent event = ExpectPosted(c.request, c.send, c.page, c.body);
        EXPECT_TRUE(event.completed);
        EXPECT_EQ(event.value1, c.value1);
        EXPECT_EQ(event.value2, 0);
        EXPECT_FALSE(c.request.Secure());
    }
    // A standard form decoder gets the token back as given.
    const auto sent = m_server.RequestsTo(PathOf("GetUserPlaylists.jsp"));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Form("user"), kToken);
}

TEST_F(CatalogueRequests, TablesReplacedByTheAnswer)
{
    CLookupTables lookup;
    lookup.LoadDefaults();
    CTablesToXMLRequest request;

    Answer("TablesToXML.jsp", "<Document><Select Name='Mood'><Item ID='1' Text='Calm'/></Select>"
                              "<Select Name='Genres'><Item ID='300' Text='Jazz'/></Select></Document>");
    EXPECT_TRUE(SendAndWait(request, [&] { request.Fetch(&lookup); }).completed);
    EXPECT_EQ(*lookup.Lookup("Mood"), (LookupList{{1, "Calm"}}));
    EXPECT_EQ(*lookup.Lookup("Genres"), (LookupList{{300, "Jazz"}}));
    EXPECT_EQ(lookup.Lookup("Country"), nullptr);

    // An answer that is not a document leaves the tables as they were.
    Answer("TablesToXML.jsp", "<html>oops");
    EXPECT_TRUE(SendAndWait(request, [&] { request.Fetch(&lookup); }).completed);
    EXPECT_EQ(*lookup.Lookup("Mood"), (LookupList{{1, "Calm"}}));

    // A failed exchange changes nothing and reports the failure.
    m_server.SetResponse(PathOf("TablesToXML.jsp"), 500, "<Document/>");
    const RequestEvent failed = SendAndWait(request, [&] { request.Fetch(&lookup); });
    EXPECT_FALSE(failed.completed);
    EXPECT_EQ(failed.result, E_FAIL);
    EXPECT_EQ(*lookup.Lookup("Genres"), (LookupList{{300, "Jazz"}}));
}

TEST_F(CatalogueRequests, UserPlaylistsAppendUntilCleared)
{
    CGetUserPlaylistsRequest request;
    Answer("GetUserPlaylists.jsp", "<Playlists><PlaylistSummary playlistID='1'><Name>One</Name></PlaylistSummary>"
                                   "<PlaylistSummary playlistID='2'/></Playlists>");
    SendAndWait(request, [&] { request.Fetch("t"); });
    EXPECT_EQ(request.Count(), 2);
    EXPECT_EQ(request.Get(0).Name, "One");
    EXPECT_EQ(request.Get(1).Name, "New Playlist");
    EXPECT_EQ(request.Get(2).playlistID, 0);

    Answer("GetUserPlaylists.jsp", "<Playlists><PlaylistSummary playlistID='3'/></Playlists>");
    SendAndWait(request, [&] { request.Fetch("t"); });
    ASSERT_EQ(request.Count(), 3);
    EXPECT_EQ(request.Get(2).playlistID, 3);

    request.Clear();
    Answer("GetUserPlaylists.jsp", "<Playlists/>");
    EXPECT_TRUE(SendAndWait(request, [&] { request.Fetch("t"); }).completed);
    EXPECT_EQ(request.Count(), 0);

    Answer("GetUserPlaylists.jsp", "not xml");
    EXPECT_TRUE(SendAndWait(request, [&] { request.Fetch("t"); }).completed);
    EXPECT_EQ(request.Count(), 0);
}

TEST_F(CatalogueRequests, PlaylistDetails)
{
    CGetPlaylistDetailsRequest request;
    Answer("GetPlaylistDetails.jsp", "<Answer><PlaylistDetail>"
                                     "<PlaylistSummary playlistID='5'><Name>Five</Name></PlaylistSummary>"
                                     "<CreationDate>2004-01-02</CreationDate><creationdate>1999-09-09</creationdate>"
                                     "<DateUpdated>garbage</DateUpdated><TimesListened>many</TimesListened>"
                                     "<PerformanceSummary performanceID='1'/>"
                                     "</PlaylistDetail>"
                                     "<PerformanceSummary performanceID='2'/></Answer>");
    const RequestEvent event = SendAndWait(request, [&] { request.Fetch(5); });
    EXPECT_EQ(event.value1, 5);
    PlaylistDetail* detail = request.Detail();
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->Summary.playlistID, 5);
    EXPECT_EQ(detail->Summary.Name, "Five");
    EXPECT_EQ(request.CreationDate().FormatIso(), "2004-01-02 00:00:00");
    EXPECT_FALSE(request.DateUpdated().IsValid());
    EXPECT_EQ(request.TimesListened(), 0);
    ASSERT_EQ(detail->Tracks.size(), 2u);
    EXPECT_EQ(detail->Tracks[1]->performanceID, 2);

    // The consumer takes the tracks over, then releases the detail.
    auto tracks = std::move(detail->Tracks);
    request.ReleaseDetail();
    EXPECT_EQ(request.Detail(), nullptr);
    EXPECT_EQ(tracks[0]->performanceID, 1);

    Answer("GetPlaylistDetails.jsp", "<<<");
    SendAndWait(request, [&] { request.Fetch(6); });
    ASSERT_NE(request.Detail(), nullptr);
    EXPECT_EQ(request.Detail()->Summary.playlistID, 0);
    EXPECT_TRUE(request.Detail()->Tracks.empty());
}

TEST_F(CatalogueRequests, SummariesOfEachKind)
{
    CGetSummariesRequest request;
    Answer("search/GetSummaries.jsp",
           "<S><PlaylistSummary playlistID='1'/><UserSummary userID='2'><Handle>u</Handle></UserSummary>"
           "<ArtistSummary artistID='3'><Name>a</Name></ArtistSummary>"
           "<PerformanceSummary performanceID='4'><SongName>s</SongName></PerformanceSummary>"
           "<ArtistSummary artistID='5'/></S>");
    const struct {
        const char* what;
        std::function<void()> fetch;
        ItemKind kind;
        std::vector<std::int32_t> ids;
    } cases[] = {
        {"playlists", [&] { request.FetchPlaylists("1", 0); }, kItemPlaylist, {1}},
        {"users", [&] { request.FetchUsers("2", 0); }, kItemUser, {2}},
        {"artists", [&] { request.FetchArtists("3,5", 0); }, kItemArtist, {3, 5}},
        {"performances", [&] { request.FetchPerformances("4", 0); }, kItemPerformance, {4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SendAndWait(request, c.fetch);
        ASSERT_EQ(request.Count(), static_cast<std::int32_t>(c.ids.size()));
        for (std::size_t i = 0; i < c.ids.size(); ++i) {
            CItemRef* item = request.Item(static_cast<std::int32_t>(i));
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->Kind(), c.kind);
            EXPECT_EQ(item->Identifier(), c.ids[i]);
        }
        EXPECT_EQ(request.Item(static_cast<std::int32_t>(c.ids.size())), nullptr);
    }

    // Elements of another kind than asked for give an empty list.
    Answer("search/GetSummaries.jsp", "<S><ArtistSummary artistID='3'/></S>");
    SendAndWait(request, [&] { request.FetchPlaylists("3", 1); });
    EXPECT_EQ(request.Count(), 0);

    SendAndWait(request, [&] { request.FetchArtists("3", 1); });
    ASSERT_EQ(request.Count(), 1);
    Answer("search/GetSummaries.jsp", "no document");
    SendAndWait(request, [&] { request.FetchArtists("3", 1); });
    EXPECT_EQ(request.Count(), 0);
}

TEST_F(CatalogueRequests, TrackPreviewNavigatesOnTheUserInterfaceThread)
{
    CFulfillPerformanceRequest request;
    std::vector<std::string> visited;
    std::vector<std::thread::id> threads;
    request.SetNavigator([&](const std::string& url) {
        visited.push_back(url);
        threads.push_back(std::this_thread::get_id());
    });
    Answer("fulfill/fulfillperformance.jsp", "<F><URL>http://media/x.m3u?a=1&amp;b=2</URL><URL>second</URL></F>");
    SendAndWait(request, [&] { request.Fulfill("t", 1); });
    ASSERT_EQ(visited, (std::vector<std::string>{"http://media/x.m3u?a=1&b=2"}));
    EXPECT_EQ(threads[0], std::this_thread::get_id());

    for (const char* answer : {"<F/>", "not a document"}) {
        SCOPED_TRACE(answer);
        Answer("fulfill/fulfillperformance.jsp", answer);
        EXPECT_TRUE(SendAndWait(request, [&] { request.Fulfill("t", 1); }).completed);
        EXPECT_EQ(visited.size(), 1u);
    }
}

TEST_F(CatalogueRequests, TablesModelTellsItsListenersInOrder)
{
    struct Listener : ITablesListener {
        Listener(std::vector<int>& l, int i, const CLookupTablesModel& m) : log(l), id(i), model(m) {}
        void OnTablesChanged() override
        {
            const auto genres = model.Tables().Lookup("Genres");
            log.push_back(genres ? id * 100 + static_cast<int>(genres->size()) : -id);
        }
        std::vector<int>& log;
        int id;
        const CLookupTablesModel& model;
    };
    CLookupTablesModel model;
    EXPECT_EQ(model.Tables().Lookup("Genres")->size(), 2u);
    std::vector<int> log;
    Listener first(log, 1, model), second(log, 2, model), removed(log, 3, model);
    model.AddTablesListener(&first);
    model.AddTablesListener(&second);
    model.AddTablesListener(&removed);
    model.RemoveTablesListener(&removed);

    m_server.SetResponse(PathOf("TablesToXML.jsp"), 500, "");
    model.Fetch();
    ASSERT_TRUE(m_server.WaitForRequests(1));
    ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
    m_pump.RunPending();
    EXPECT_TRUE(log.empty());

    Answer("TablesToXML.jsp", "<D><Select Name='Genres'><Item ID='1' Text='Pop'/><Item ID='2' Text='Jazz'/>"
                              "<Item ID='3' Text='Folk'/></Select></D>");
    model.Fetch();
    ASSERT_TRUE(m_pump.RunUntil([&] { return log.size() == 2; }));
    EXPECT_EQ(log, (std::vector<int>{103, 203}));
}
