#include "tests/server/ServerTestEnv.h"

namespace corvanta::server::test {

class PlaylistPages : public CServerFixture {
protected:
    void SetUp() override
    {
        StartServer(1);
        m_token = SignUp("maker");
    }
    std::string Publish(const std::string& action, int64_t id, const std::string& rest, const std::string& token = {})
    {
        auto doc =
            Post("UpdatePlaylistXML.jsp", "UserToken=" + (token.empty() ? m_token : token) +
                                              "&App=Tessarin&Action=" + action + "&ID=" + std::to_string(id) + rest);
        m_lastException = Text(doc, "//Exception");
        return Text(doc, "//PlaylistID");
    }
    std::string m_token;
    std::string m_lastException;
};

TEST_F(PlaylistPages, CreateUpdateAndDeleteByTheOwner)
{
    // Free text arrives escaped (blank as %20) and is form-decoded once; comments carry <BR>.
    std::string id = Publish("Create", 0,
                             "&Name=Late%20Night%20%26%20Jazz&EntryCount=2&PrimaryGenreID=401&PrimaryMoodID=2"
                             "&PrimaryTheme=Late%20Night&Description=Two%0D%0Alines&IsPublic=1"
                             "&TrackID1=10&TrackComment1=first%3Cbr%3Eline&TrackID2=20&TrackComment2=a%3CBR%3Eb");
    ASSERT_FALSE(id.empty()) << m_lastException;
    auto detail = Post("GetPlaylistDetails.jsp", "playlist=" + id);
    EXPECT_EQ(Text(detail, "//PlaylistSummary/Name"), "Late Night & Jazz");
    EXPECT_EQ(Text(detail, "//PlaylistSummary/PlaylistDescription"), "Two\r\nlines");
    EXPECT_EQ(Text(detail, "//PlaylistSummary/Theme"), "Late Night");
    EXPECT_EQ(Text(detail, "//PlaylistSummary/NumberOfPerformances"), "2");
    EXPECT_EQ(Text(detail, "//PlaylistSummary/Playmaker/PlaymakerName"), "maker");
    EXPECT_EQ(Text(detail, "(//PerformanceSummary)[1]/Comment"), "first<br>line");
    EXPECT_EQ(Text(detail, "(//PerformanceSummary)[2]/Comment"), "a<BR>b");
    EXPECT_EQ(Count(Post("GetUserPlaylists.jsp", "user=" + m_token), "//PlaylistSummary"), 1u);

    std::string updated = Publish("Update", std::stoll(id),
                                  "&Name=Renamed&EntryCount=1&PrimaryGenreID=0&PrimaryMoodID=0"
                                  "&PrimaryTheme=&Description=&IsPublic=1&TrackID1=30&TrackComment1=");
    EXPECT_EQ(updated, id);
    detail = Post("GetPlaylistDetails.jsp", "playlist=" + id);
    EXPECT_EQ(Text(detail, "//PlaylistSummary/Name"), "Renamed");
    EXPECT_EQ(Count(detail, "//PerformanceSummary"), 1u);
    EXPECT_STREQ(detail.select_node("//PerformanceSummary").node().attribute("performanceID").value(), "30");

    Publish("Delete", std::stoll(id), "");
    EXPECT_TRUE(m_lastException.empty()) << m_lastException;
    EXPECT_EQ(Count(Post("GetPlaylistDetails.jsp", "playlist=" + id), "//PlaylistDetail"), 0u);
}

TEST_F(PlaylistPages, SomeoneElsesPlaylistAndBadInputAreRefused)
{
    std::string id = Publish(
        "Create", 0, "&Name=Mine&EntryCount=0&PrimaryGenreID=0&PrimaryMoodID=0&PrimaryTheme=&Description=&IsPublic=1");
    ASSERT_FALSE(id.empty());
    std::string other = SignUp("thief");
    int64_t n = std::stoll(id);
    struct Case {
        const char* action;
        int64_t id;
        std::string rest;
        std::string token;
    } cases[] = {
        {"Update", n, "&Name=Stolen&EntryCount=0", other},
        {"Delete", n, "", other},
        {"Update", 424242, "&Name=Nothing&EntryCount=0", ""},
        {"Create", 0, "&Name=%20%20&EntryCount=0", ""},
        {"Create", 0, "&Name=Bad%20track&EntryCount=1&TrackID1=999999&TrackComment1=", ""},
        {"Create", 0, "&Name=Bad%20genre&EntryCount=0&PrimaryGenreID=7", ""},
        {"Publish", 0, "&Name=x&EntryCount=0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.action) + c.rest);
        EXPECT_TRUE(Publish(c.action, c.id, c.rest, c.token).empty());
        EXPECT_FALSE(m_lastException.empty());
    }
    EXPECT_EQ(Text(Post("GetPlaylistDetails.jsp", "playlist=" + id), "//PlaylistSummary/Name"), "Mine");
}

TEST_F(PlaylistPages, InjectionAttemptInAPlaylistNameIsStoredAsText)
{
    const std::string name = "x'); DROP TABLE playlists; --";
    std::string escaped = "x%27)%3B%20DROP%20TABLE%20playlists%3B%20--";
    std::string id = Publish(
        "Create", 0, "&Name=" + escaped + "&EntryCount=0&PrimaryGenreID=0&PrimaryMoodID=0&PrimaryTheme=&Description=");
    ASSERT_FALSE(id.empty()) << m_lastException;
    EXPECT_EQ(Text(Post("GetPlaylistDetails.jsp", "playlist=" + id), "//PlaylistSummary/Name"), name);
    EXPECT_TRUE(Post("GetPlaylistDetails.jsp", "playlist=1").select_node("//PlaylistSummary[@playlistID='1']"));
}

TEST_F(PlaylistPages, NewArtistsAndTracksAnswerTheirNumbers)
{
    auto artist = Post("UpdateArtistXML.jsp",
                       "UserToken=" + m_token +
                           "&App=Tessarin&Action=Create&ID=0&Name=The%20New%20Band"
                           "&OfficialURL=&PlaceOfBirth=&DateOfBirth=12/30/1899&PlaceOfDeath=&DateOfDeath=12/30/1899");
    std::string artistId = Text(artist, "//ArtistID");
    ASSERT_FALSE(artistId.empty()) << Text(artist, "//Exception");
    // The same name again answers the same artist.
    auto same =
        Post("UpdateArtistXML.jsp", "UserToken=" + m_token + "&App=Tessarin&Action=Create&ID=0&Name=the%20new%20band");
    EXPECT_EQ(Text(same, "//ArtistID"), artistId);

    auto track = Post("UpdatePerformanceXML.jsp",
                      "UserToken=" + m_token +
                          "&App=Tessarin&Action=Create&ID=0&SongName=Brand%20New"
                          "&ArtistName=The%20New%20Band&ArtistID=" +
                          artistId + "&Version=&Length=0&PrimaryGenreID=0&PerformanceSourceID=1&BeatsPerMin=0");
    std::string trackId = Text(track, "//PerformanceID");
    ASSERT_FALSE(trackId.empty()) << Text(track, "//Exception");
    auto summary = Post("search/GetSummaries.jsp", "Type=PERFORMANCE&IDs=" + trackId);
    EXPECT_EQ(Text(summary, "//SongName"), "Brand New");
    EXPECT_EQ(Text(summary, "//PrimaryArtist/ArtistName"), "The New Band");
    EXPECT_EQ(Text(summary, "//PreviewAvailability"), "2");
    auto resolved = Post("search/ResolvePerformances.jsp", "PerformanceTitle=brand+new&PrimaryArtistName=the+new+band");
    EXPECT_STREQ(resolved.select_node("(//PerformanceSummary)[1]").node().attribute("performanceID").value(),
                 trackId.c_str());

    auto refused = Post("UpdatePerformanceXML.jsp", "UserToken=" + m_token +
                                                        "&App=Tessarin&Action=Create&ID=0&SongName="
                                                        "&ArtistName=&ArtistID=0");
    EXPECT_EQ(Count(refused, "//PerformanceID"), 0u);
    EXPECT_FALSE(Text(refused, "//Exception").empty());
}

TEST_F(PlaylistPages, APrivatePlaylistIsSeenOnlyByItsOwner)
{
    // Twenty private playlists of one rarely chosen track: were they counted, the
    // home page would rank both their owner and that track first.
    const std::string track = "3700";
    std::vector<std::string> ids;
    for (int i = 0; i < 20; ++i) {
        ids.push_back(Publish("Create", 0,
                              "&Name=Secret%2520" + std::to_string(i) +
                                  "&EntryCount=1&PrimaryGenreID=0&PrimaryMoodID=0"
                                  "&PrimaryTheme=&Description=&IsPublic=0&TrackID1=" +
                                  track + "&TrackComment1="));
        ASSERT_FALSE(ids.back().empty()) << m_lastException;
    }
    const std::string id = ids.front();
    const std::string other = SignUp("snoop");

    // The owner sees it wherever it names its session.
    EXPECT_EQ(Count(Post("GetUserPlaylists.jsp", "user=" + m_token), "//PlaylistSummary"), 20u);
    EXPECT_EQ(Count(Post("GetPlaylistDetails.jsp", "playlist=" + id + "&UserToken=" + m_token), "//PlaylistDetail"),
              1u);
    EXPECT_EQ(
        Count(Post("search/GetSummaries.jsp", "Type=PLAYLIST&IDs=" + id + "&user=" + m_token), "//PlaylistSummary"),
        1u);
    EXPECT_EQ(
        Exchange(WebUrl("tessarin/details/ShowPlaylistDetail.jsp?playlist=" + id + "&UserToken=" + m_token), nullptr)
            .status,
        200);

    // Anyone else, with or without a session, finds nothing.
    for (const std::string& token : {std::string(), other}) {
        SCOPED_TRACE(token.empty() ? "no session" : "another member");
        const std::string session = token.empty() ? "" : "&UserToken=" + token;
        EXPECT_EQ(Count(Post("GetPlaylistDetails.jsp", "playlist=" + id + session), "//PlaylistDetail"), 0u);
        EXPECT_EQ(Count(Post("search/GetSummaries.jsp",
                             "Type=PLAYLIST&IDs=" + id + ",1" + (token.empty() ? "" : "&user=" + token)),
                        "//PlaylistSummary"),
                  1u);
        EXPECT_EQ(Count(Post("fulfill/FulfillPlaylist.jsp", "user=" + token + "&PlaylistID=" + id + "&App=Tessarin"),
                        "//Error"),
                  1u);
        EXPECT_EQ(Count(Post("search/SearchForPlaylists.jsp", "PlaylistTitle=Secret"), "//ID"), 0u);
        for (const char* page : {"ShowPlaylistDetail.jsp", "EmailFriend.jsp"})
            EXPECT_EQ(
                Exchange(WebUrl(std::string("tessarin/details/") + page + "?playlist=" + id + session), nullptr).status,
                404)
                << page;
    }
    auto favorite =
        Post("bookmark/AddBookmark.jsp", "user=" + other + "&bookmarkType=2&numberOfItems=1&newBookmarkItemID1=" + id);
    EXPECT_EQ(Count(favorite, "//BookmarkID"), 0u);
    EXPECT_FALSE(Text(favorite, "//Error").empty());

    HttpAnswer home = Exchange(WebUrl("tessarin/home/index.html"), nullptr);
    ASSERT_EQ(home.status, 200);
    EXPECT_EQ(home.body.find(">maker<"), std::string::npos);
    EXPECT_EQ(home.body.find("/recording/show?" + track + "\""), std::string::npos);
    // Made public, it counts.
    std::string updated = Publish("Update", std::stoll(id),
                                  "&Name=Open&EntryCount=1&PrimaryGenreID=0&PrimaryMoodID=0&PrimaryTheme="
                                  "&Description=&IsPublic=1&TrackID1=" +
                                      track + "&TrackComment1=");
    EXPECT_EQ(updated, id);
    EXPECT_EQ(Count(Post("GetPlaylistDetails.jsp", "playlist=" + id), "//PlaylistDetail"), 1u);
}

TEST_F(PlaylistPages, TextsLongerThanTheirFieldsAndUnknownSourcesAreRefused)
{
    const std::string title(201, 'x');
    struct Case {
        const char* page;
        std::string body;
        bool refused;
    } cases[] = {
        {"search/ResolvePerformances.jsp", "PerformanceTitle=" + title.substr(1) + "&PrimaryArtistName=a", false},
        {"search/ResolvePerformances.jsp", "PerformanceTitle=" + title + "&PrimaryArtistName=a", true},
        {"search/SearchForPerformances.jsp", "PerformanceTitle=" + title, true},
        {"search/SearchForArtists.jsp", "ArtistName=" + std::string(601, 'a'), true},
        {"search/GetSummaries.jsp", "Type=PERFORMANCE&IDs=" + std::string(5000, '1'), true},
        {"CheckForUpgrade.jsp", "version=" + std::string(300, '1'), true},
        {"CheckForUpgrade.jsp", "version=1" + std::string(2100, '&'), true},
        {"UpdatePlaylistXML.jsp",
         "UserToken=" + m_token +
             "&Action=Create&ID=0&Name=x&EntryCount=1&TrackID1=1&TrackComment1=" + std::string(3001, 'c'),
         true},
        {"UpdatePerformanceXML.jsp",
         "UserToken=" + m_token +
             "&App=Tessarin&Action=Create&ID=0&SongName=Fresh&ArtistName=Band"
             "&ArtistID=0&Version=&Length=0&PrimaryGenreID=0&PerformanceSourceID=-1",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.page) + " " + c.body.substr(0, 60));
        auto doc = Post(c.page, c.body);
        EXPECT_EQ(Text(doc, "//Exception").find("ValidationException") != std::string::npos, c.refused)
            << Text(doc, "//Exception");
    }
    // Nothing of the refused track was stored.
    EXPECT_EQ(
        Count(Post("search/SearchForPerformances.jsp", "PerformanceTitle=Fresh&PerformanceTitleSearchType=1"), "//ID"),
        0u);
}

}  // namespace corvanta::server::test
