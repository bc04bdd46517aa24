#include "server/FormFields.h"
#include "tests/server/ServerTestEnv.h"

#include <filesystem>
#include <set>
#include <thread>

namespace corvanta::server::test {

// Pages over the demo community.
class CataloguePages : public CServerFixture {
protected:
    void SetUp() override { StartServer(1); }
};

TEST_F(CataloguePages, DemoCommunityHasTheAdvertisedSize)
{
    EXPECT_FALSE(Login("demo", "demo").empty());
    std::string token = Login("demo", "demo");
    auto favorites = Post("bookmark/GetUserBookmarks.jsp", "user=" + token);
    for (const char* kind : {"//PlaylistSummary", "//ArtistSummary", "//UserSummary", "//PerformanceSummary"}) {
        SCOPED_TRACE(kind);
        EXPECT_GT(Count(favorites, kind), 0u);
    }
    EXPECT_GT(Count(Post("GetUserPlaylists.jsp", "user=" + token), "//PlaylistSummary"), 0u);
    // A search for a letter every name has counts the catalogue.
    EXPECT_GE(Count(Post("search/SearchForArtists.jsp", "ArtistName=e&ArtistNameSearchType=0"), "//ID") +
                  Count(Post("search/SearchForArtists.jsp", "ArtistName=a&ArtistNameSearchType=0"), "//ID"),
              300u);
    EXPECT_GE(
        Count(Post("search/SearchForPerformances.jsp", "PerformanceTitle=+&PerformanceTitleSearchType=0"), "//ID"),
        3000u);
    EXPECT_EQ(Count(Post("search/SearchForUsers.jsp", "UserHandle=%25&UserHandleSearchType=0"), "//ID"), 0u);
}

TEST_F(CataloguePages, DemoDataIsTheSameEverywhereAndSeededOnce)
{
    std::string ids;
    for (int i = 1; i <= 60; ++i)
        ids += (i > 1 ? "," : "") + std::to_string(i * 53);
    const std::vector<std::string> bodies = {"Type=ARTIST&IDs=" + ids, "Type=PERFORMANCE&IDs=" + ids,
                                             "Type=PLAYLIST&IDs=" + ids, "Type=USER&IDs=" + ids};
    std::vector<std::string> first;
    for (const std::string& body : bodies)
        first.push_back(PostText("search/GetSummaries.jsp", body));

    // A second community seeded in another folder answers the same.
    std::string firstDir = m_dir;
    std::unique_ptr<CCommunityServer> firstServer = std::move(m_server);
    StartServer(1);
    for (size_t i = 0; i < bodies.size(); ++i)
        EXPECT_EQ(PostText("search/GetSummaries.jsp", bodies[i]), first[i]) << bodies[i];
    m_server->Stop();
    std::filesystem::remove_all(m_dir);

    // Starting again with --demo on a seeded folder adds nothing.
    firstServer->Stop();
    firstServer.reset();
    m_dir = firstDir;
    ServerOptions options;
    options.dataDir = m_dir + "/data";
    options.httpPort = 0;
    options.httpsPort = 0;
    options.demo = true;
    options.pbkdf2Iterations = 1000;
    options.log = false;
    options.clock = [this] { return m_now.load(); };
    m_server = std::make_unique<CCommunityServer>(options);
    std::string error;
    ASSERT_TRUE(m_server->Start(error)) << error;
    std::string users;
    for (int i = 1; i <= 40; ++i)
        users += (i > 1 ? "," : "") + std::to_string(i);
    EXPECT_EQ(Count(Post("search/GetSummaries.jsp", "Type=USER&IDs=" + users), "//UserSummary"), 30u);
    for (size_t i = 0; i < bodies.size(); ++i)
        EXPECT_EQ(PostText("search/GetSummaries.jsp", bodies[i]), first[i]) << bodies[i];
}

TEST_F(CataloguePages, DemoScaleMultipliesTheCommunityTheSameEverywhere)
{
    m_server->Stop();
    std::filesystem::remove_all(m_dir);
    StartServer(3);
    std::string users, tracks;
    for (int i = 1; i <= 100; ++i)
        users += (i > 1 ? "," : "") + std::to_string(i);
    for (int i = 0; i < 200; ++i)
        tracks += (i > 0 ? "," : "") + std::to_string(10000 + i);
    const std::string summaries = PostText("search/GetSummaries.jsp", "Type=PERFORMANCE&IDs=" + tracks);
    EXPECT_EQ(Count(Post("search/GetSummaries.jsp", "Type=USER&IDs=" + users), "//UserSummary"), 90u);
    EXPECT_GE(
        Count(Post("search/SearchForPerformances.jsp", "PerformanceTitle=+&PerformanceTitleSearchType=0"), "//ID"),
        9600u);
    std::string playlists;
    for (int i = 291; i <= 310; ++i)
        playlists += (i > 291 ? "," : "") + std::to_string(i);
    EXPECT_EQ(Count(Post("search/GetSummaries.jsp", "Type=PLAYLIST&IDs=" + playlists), "//PlaylistSummary"), 10u);
    // demo's favorites: about 50 for each step, a quarter of each kind.
    auto favorites = Post("bookmark/GetUserBookmarks.jsp", "user=" + Login("demo", "demo"));
    for (const char* kind : {"//PlaylistSummary", "//ArtistSummary", "//UserSummary", "//PerformanceSummary"}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(Count(favorites, kind), 37u);
    }
    // Members past the first thirty have the password demo.
    EXPECT_FALSE(Login(Text(Post("search/GetSummaries.jsp", "Type=USER&IDs=75"), "//Handle"), "demo").empty());

    // Another folder seeded at the same scale holds the same.
    m_server->Stop();
    std::filesystem::remove_all(m_dir);
    StartServer(3);
    EXPECT_EQ(PostText("search/GetSummaries.jsp", "Type=PERFORMANCE&IDs=" + tracks), summaries);
}

TEST_F(CataloguePages, PagesAnswerTheElementsTheClientReads)
{
    struct Case {
        const char* page;
        const char* body;
        std::vector<const char*> paths;
    } cases[] = {
        {"TablesToXML.jsp",
         "",
         {"//Select[@Name='Genres']/Item[@ID='201' and @Text='Rock']/Select[@Name='SubGenres']/Item[@ID='205']",
          "//Select[@Name='Mood']/Item", "//Select[@Name='Theme']/Item", "//Select[@Name='Country']/Item[@ID='1190']",
          "//Select[@Name='StateCode']/Item", "//Select[@Name='MaritalStatus']/Item[@ID='4']",
          "//Select[@Name='SexCode']/Item[@ID='2']", "//Select[@Name='HeardAboutSource']/Item[@ID='1']"}},
        {"GetPlaylistDetails.jsp",
         "playlist=1",
         {"//PlaylistDetail/PlaylistSummary[@playlistID='1']/Name",
          "//PlaylistDetail/PlaylistSummary/Playmaker[@playmakerID]/PlaymakerName", "//PlaylistDetail/CreationDate",
          "//PlaylistDetail/DateUpdated", "//PlaylistDetail/TimesListened",
          "//PerformanceSummary[@performanceID]/PrimaryArtist[@primaryArtistID]/ArtistName",
          "//PerformanceSummary/SongName", "//PerformanceSummary/PreviewAvailability", "//PerformanceSummary/Comment"}},
        {"search/GetSummaries.jsp",
         "Type=ARTIST&IDs=3,1,2",
         {"//ArtistSummary[@artistID='3']/Name", "//ArtistSummary/NumberOfSongsInDB",
          "//ArtistSummary/NumberOfBookmarks"}},
        {"search/GetSummaries.jsp",
         "Type=USER&IDs=1",
         {"//UserSummary[@userID='1']/Handle", "//UserSummary/NumberOfPlaylists", "//UserSummary/DateCreated"}},
        {"search/GetSummaries.jsp",
         "Type=PLAYLIST&IDs=2",
         {"//PlaylistSummary[@playlistID='2']/NumberOfPerformances", "//PlaylistSummary/PrimaryGenreID",
          "//PlaylistSummary/PrimaryMoodID", "//PlaylistSummary/LastModifiedDate"}},
        {"search/SearchForPlaylists.jsp",
         "PlaylistTitle=road&PlaylistTitleSearchType=0",
         {"//PlaylistSummary", "//ID"}},
        {"search/SearchForUsers.jsp", "UserHandle=demo&UserHandleSearchType=1", {"//UserSummary/Handle", "//ID"}},
        {"search/ResolveArtists.jsp", "ArtistName=velvet", {"//ArtistSummary/Name"}},
        {"fulfill/FulfillPlaylist.jsp", "user=&PlaylistID=1&App=Tessarin", {"//TimesListened"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page + std::string(" ") + c.body);
        auto doc = Post(c.page, c.body);
        for (const char* path : c.paths)
            EXPECT_TRUE(doc.select_node(path)) << path;
    }
}

TEST_F(CataloguePages, GetSummariesKeepsTheRequestedOrderAndSkipsUnknownIds)
{
    auto doc = Post("search/GetSummaries.jsp", "Type=PERFORMANCE&IDs=30,999999,10,20");
    auto nodes = doc.select_nodes("//PerformanceSummary");
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_STREQ(nodes[0].node().attribute("performanceID").value(), "30");
    EXPECT_STREQ(nodes[1].node().attribute("performanceID").value(), "10");
    EXPECT_STREQ(nodes[2].node().attribute("performanceID").value(), "20");
    EXPECT_EQ(Count(Post("search/GetSummaries.jsp", "Type=ALBUM&IDs=1"), "//Error"), 1u);
}

TEST_F(CataloguePages, SearchesSendTwentySummariesAndEveryIdInAStableOrder)
{
    const std::string body = "PerformanceTitle=the&PerformanceTitleSearchType=0";
    auto first = Post("search/SearchForPerformances.jsp", body);
    auto again = Post("search/SearchForPerformances.jsp", body);
    EXPECT_EQ(Count(first, "//PerformanceSummary"), 20u);
    ASSERT_GT(Count(first, "//ID"), 20u);
    EXPECT_EQ(Text(first, "(//ID)[21]"), Text(again, "(//ID)[21]"));
    EXPECT_EQ(Text(first, "(//ID)[1]"),
              first.select_node("(//PerformanceSummary)[1]").node().attribute("performanceID").value());
    // Every match holds the text, ignoring case.
    for (auto node : first.select_nodes("//PerformanceSummary/SongName")) {
        std::string title = node.node().text().get();
        for (char& ch : title)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_NE(title.find("the"), std::string::npos) << title;
    }
}

TEST_F(CataloguePages, SearchTypesAndFieldCombinations)
{
    auto exact = Post("search/SearchForUsers.jsp", "UserHandle=DEMO&UserHandleSearchType=1");
    EXPECT_EQ(Count(exact, "//ID"), 1u);
    EXPECT_EQ(Text(exact, "//UserSummary/Handle"), "demo");
    EXPECT_EQ(Count(Post("search/SearchForUsers.jsp", "UserHandle=dem&UserHandleSearchType=1"), "//ID"), 0u);
    EXPECT_EQ(Count(Post("search/SearchForUsers.jsp", "UserHandle=dem&UserHandleSearchType=2"), "//ID"), 1u);
    // An empty body, or fields without values, match nothing.
    EXPECT_EQ(Count(Post("search/SearchForPerformances.jsp", ""), "//ID"), 0u);
    EXPECT_EQ(Count(Post("search/SearchForUsers.jsp", "UserHandle=&UserHandleSearchType=0"), "//ID"), 0u);
    // Title and genre together narrow a playlist search.
    auto all = Post("search/SearchForPlaylists.jsp", "PlaylistTitle=a&PlaylistTitleSearchType=0");
    auto rock =
        Post("search/SearchForPlaylists.jsp", "PlaylistTitle=a&PlaylistTitleSearchType=0&Genre=201&GenreSearchType=0");
    EXPECT_LT(Count(rock, "//ID"), Count(all, "//ID"));
    for (auto node : rock.select_nodes("//PlaylistSummary/PrimaryGenreID"))
        EXPECT_STREQ(node.node().text().get(), "201");
}

TEST_F(CataloguePages, EveryFieldOfEverySearchTakesPart)
{
    // Playlist 1 and its first track as the demo community has them; each field, given
    // exactly, finds its item, and given a text nothing holds, finds nothing.
    auto detail = Post("GetPlaylistDetails.jsp", "playlist=1");
    auto text = [&](const char* path) { return CFormFields::PercentEncode(Text(detail, path)); };
    const std::string owner = detail.select_node("//Playmaker").node().attribute("playmakerID").value();
    pugi::xml_node track = detail.select_node("(//PerformanceSummary)[1]").node();
    const std::string trackId = track.attribute("performanceID").value();
    const std::string artistId = track.child("PrimaryArtist").attribute("primaryArtistID").value();
    const std::string title = CFormFields::PercentEncode(track.child_value("SongName"));
    const std::string artist = CFormFields::PercentEncode(track.child("PrimaryArtist").child_value("ArtistName"));
    const std::string album = CFormFields::PercentEncode(track.child_value("CDTitle"));
    auto versioned = Post("search/SearchForPerformances.jsp", "Version=e&VersionSearchType=0");
    const std::string versionedId = Text(versioned, "(//ID)[1]");
    const std::string version = CFormFields::PercentEncode(Text(versioned, "(//PerformanceSummary)[1]/Version"));
    ASSERT_FALSE(version.empty());

    struct Case {
        const char* page;
        std::string field;  // key=value, searched with type 1 where it is a text
        std::string found;
    } cases[] = {
        {"SearchForPlaylists.jsp", "PlaylistTitle=" + text("//PlaylistSummary/Name"), "1"},
        {"SearchForPlaylists.jsp", "ArtistName=" + artist, "1"},
        {"SearchForPlaylists.jsp", "UserHandle=" + text("//Playmaker/PlaymakerName"), "1"},
        {"SearchForPlaylists.jsp", "PerformanceTitle=" + title, "1"},
        {"SearchForPlaylists.jsp", "Theme=" + text("//PlaylistSummary/Theme"), "1"},
        {"SearchForPlaylists.jsp", "Mood=" + text("//PlaylistSummary/PrimaryMoodID"), "1"},
        {"SearchForPlaylists.jsp", "Genre=" + text("//PlaylistSummary/PrimaryGenreID"), "1"},
        {"SearchForUsers.jsp", "UserHandle=" + text("//Playmaker/PlaymakerName"), owner},
        {"SearchForArtists.jsp", "ArtistName=" + artist, artistId},
        {"SearchForArtists.jsp", "PerformanceTitle=" + title, artistId},
        {"SearchForPerformances.jsp", "PerformanceTitle=" + title, trackId},
        {"SearchForPerformances.jsp", "PrimaryArtistName=" + artist, trackId},
        {"SearchForPerformances.jsp", "Version=" + version, versionedId},
        {"SearchForPerformances.jsp", "CDTitle=" + album, trackId},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page + (" " + c.field));
        const std::string key = c.field.substr(0, c.field.find('='));
        const bool number = key == "Mood" || key == "Genre";
        auto doc = Post(std::string("search/") + c.page, c.field + "&" + key + "SearchType=1");
        const std::string id = "//ID[text()='" + c.found + "']";
        EXPECT_EQ(Count(doc, id.c_str()), 1u);
        auto none =
            Post(std::string("search/") + c.page, key + (number ? "=9999" : "=zqzqzq") + "&" + key + "SearchType=0");
        EXPECT_EQ(Count(none, "//ID"), 0u);
    }
}

TEST_F(CataloguePages, SevenSearchesAtOnceAllAnswer)
{
    // The client's "All" search: seven posts on fresh connections at the same time.
    const std::vector<std::pair<std::string, std::string>> searches = {
        {"search/SearchForPlaylists.jsp", "PlaylistTitle=night&PlaylistTitleSearchType=0"},
        {"search/SearchForPlaylists.jsp", "ArtistName=the&ArtistNameSearchType=0"},
        {"search/SearchForUsers.jsp", "UserHandle=o&UserHandleSearchType=0"},
        {"search/SearchForArtists.jsp", "ArtistName=the&ArtistNameSearchType=0"},
        {"search/SearchForArtists.jsp", "PerformanceTitle=love&PerformanceTitleSearchType=0"},
        {"search/SearchForPerformances.jsp", "PerformanceTitle=love&PerformanceTitleSearchType=0"},
        {"search/SearchForPerformances.jsp", "PrimaryArtistName=the&PrimaryArtistNameSearchType=0"},
    };
    std::vector<HttpAnswer> answers(searches.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < searches.size(); ++i)
        threads.emplace_back([&, i] { answers[i] = Exchange(Url(searches[i].first), &searches[i].second); });
    for (auto& thread : threads)
        thread.join();
    for (size_t i = 0; i < searches.size(); ++i) {
        SCOPED_TRACE(searches[i].second);
        EXPECT_EQ(answers[i].status, 200);
        EXPECT_NE(answers[i].body.find("<ID>"), std::string::npos);
    }
}

TEST_F(CataloguePages, InjectionAttemptsInSearchTextsAreJustText)
{
    for (const char* text : {"%27%20OR%20%271%27%3D%271", "%27%3B%20DROP%20TABLE%20users%3B--", "%25", "_"}) {
        SCOPED_TRACE(text);
        for (const char* page : {"search/SearchForUsers.jsp", "search/SearchForPerformances.jsp"}) {
            std::string body = std::string(page).find("Users") != std::string::npos
                                   ? std::string("UserHandle=") + text + "&UserHandleSearchType=0"
                                   : std::string("PerformanceTitle=") + text + "&PerformanceTitleSearchType=0";
            EXPECT_EQ(Count(Post(page, body), "//ID"), 0u);
        }
    }
    EXPECT_FALSE(Login("demo", "demo").empty());
}

TEST_F(CataloguePages, ResolveRanksTheExactTitleAndArtistFirst)
{
    auto pick = Post("search/GetSummaries.jsp", "Type=PERFORMANCE&IDs=57");
    std::string title = Text(pick, "//SongName"), artist = Text(pick, "//PrimaryArtist/ArtistName");
    auto upper = [](std::string s) {
        for (char& ch : s)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        return s;
    };
    auto doc = Post("search/ResolvePerformances.jsp",
                    "PerformanceTitle=" + upper(title) + "&PrimaryArtistName=" + upper(artist));
    ASSERT_GT(Count(doc, "//PerformanceSummary"), 1u);
    EXPECT_EQ(Text(doc, "(//PerformanceSummary)[1]/SongName"), title);
    EXPECT_EQ(Text(doc, "(//PerformanceSummary)[1]/PrimaryArtist/ArtistName"), artist);
    // A misspelt title still finds the track among the first candidates.
    std::string typo = title.substr(0, title.size() - 1);
    auto near = Post("search/ResolvePerformances.jsp", "PerformanceTitle=" + typo + "&PrimaryArtistName=" + artist);
    EXPECT_EQ(Text(near, "(//PerformanceSummary)[1]/PrimaryArtist/ArtistName"), artist);
    EXPECT_EQ(Count(Post("search/ResolvePerformances.jsp", ""), "//PerformanceSummary"), 0u);
}

TEST_F(CataloguePages, PreviewsAreServedForTracksThatHaveThem)
{
    std::set<std::string> availability;
    auto doc = Post("search/GetSummaries.jsp", "Type=PERFORMANCE&IDs=1,2,3,4,5,6,7,8,9,10,11,12");
    std::string withPreview, without;
    for (auto node : doc.select_nodes("//PerformanceSummary")) {
        std::string id = node.node().attribute("performanceID").value();
        (std::string(node.node().child("PreviewAvailability").text().get()) == "0" ? withPreview : without) = id;
    }
    ASSERT_FALSE(withPreview.empty());
    ASSERT_FALSE(without.empty());
    auto fulfilled = Post("fulfill/fulfillperformance.jsp",
                          "user=&PerformanceID=" + withPreview + "&FulfillmentTypeID=1&App=Tessarin");
    std::string url = Text(fulfilled, "//URL");
    ASSERT_FALSE(url.empty());
    HttpAnswer wave = Exchange(url, nullptr);
    EXPECT_EQ(wave.status, 200);
    EXPECT_EQ(wave.body.substr(0, 4), "RIFF");
    EXPECT_GT(wave.body.size(), 8000u);
    auto refused =
        Post("fulfill/fulfillperformance.jsp", "user=&PerformanceID=" + without + "&FulfillmentTypeID=1&App=Tessarin");
    EXPECT_EQ(Count(refused, "//URL"), 0u);
    EXPECT_EQ(Count(refused, "//Error"), 1u);
}

TEST_F(CataloguePages, FulfillPlaylistCountsAListen)
{
    auto before = Post("GetPlaylistDetails.jsp", "playlist=3");
    int listened = std::atoi(Text(before, "//TimesListened").c_str());
    Post("fulfill/FulfillPlaylist.jsp", "user=&PlaylistID=3&App=Tessarin");
    auto after = Post("GetPlaylistDetails.jsp", "playlist=3");
    EXPECT_EQ(std::atoi(Text(after, "//TimesListened").c_str()), listened + 1);
}

}  // namespace corvanta::server::test
