#include "tests/server/ServerTestEnv.h"

namespace corvanta::server::test {

class PlaylistPages : public CServerFixture {
protected:
    void SetUp() override
    {
        StartServer(true);
        m_token = SignUp("maker");
    }
    std::string Publish(const std::string& action, int64_t id, const std::string& rest, const std::string& token = {})
    {
        auto doc = Post("UpdatePlaylistXML.jsp", "UserToken=" + (token.empty() ? m_token : token) + "&App=Tessarin&Action=" + action +
                                                     "&ID=" + std::to_string(id) + rest);
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

    std::string updated = Publish("Update", std::stoll(id), "&Name=Renamed&EntryCount=1&PrimaryGenreID=0&PrimaryMoodID=0"
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
    std::string id = Publish("Create", 0, "&Name=Mine&EntryCount=0&PrimaryGenreID=0&PrimaryMoodID=0&PrimaryTheme=&Description=&IsPublic=1");
    ASSERT_FALSE(id.empty());
    std::string other = SignUp("thief");
    int64_t n = std::stoll(id);
    struct SCase {
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
    for (const SCase& c : cases) {
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
    std::string id = Publish("Create", 0, "&Name=" + escaped + "&EntryCount=0&PrimaryGenreID=0&PrimaryMoodID=0&PrimaryTheme=&Description=");
    ASSERT_FALSE(id.empty()) << m_lastException;
    EXPECT_EQ(Text(Post("GetPlaylistDetails.jsp", "playlist=" + id), "//PlaylistSummary/Name"), name);
    EXPECT_TRUE(Post("GetPlaylistDetails.jsp", "playlist=1").select_node("//PlaylistSummary[@playlistID='1']"));
}

TEST_F(PlaylistPages, NewArtistsAndTracksAnswerTheirNumbers)
{
    auto artist = Post("UpdateArtistXML.jsp", "UserToken=" + m_token + "&App=Tessarin&Action=Create&ID=0&Name=The%20New%20Band"
                                              "&OfficialURL=&PlaceOfBirth=&DateOfBirth=12/30/1899&PlaceOfDeath=&DateOfDeath=12/30/1899");
    std::string artistId = Text(artist, "//ArtistID");
    ASSERT_FALSE(artistId.empty()) << Text(artist, "//Exception");
    // The same name again answers the same artist.
    auto same = Post("UpdateArtistXML.jsp", "UserToken=" + m_token + "&App=Tessarin&Action=Create&ID=0&Name=the%20new%20band");
    EXPECT_EQ(Text(same, "//ArtistID"), artistId);

    auto track = Post("UpdatePerformanceXML.jsp", "UserToken=" + m_token + "&App=Tessarin&Action=Create&ID=0&SongName=Brand%20New"
                                                  "&ArtistName=The%20New%20Band&ArtistID=" + artistId +
                                                  "&Version=&Length=0&PrimaryGenreID=0&PerformanceSourceID=1&BeatsPerMin=0");
    std::string trackId = Text(track, "//PerformanceID");
    ASSERT_FALSE(trackId.empty()) << Text(track, "//Exception");
    auto summary = Post("search/GetSummaries.jsp", "Type=PERFORMANCE&IDs=" + trackId);
    EXPECT_EQ(Text(summary, "//SongName"), "Brand New");
    EXPECT_EQ(Text(summary, "//PrimaryArtist/ArtistName"), "The New Band");
    EXPECT_EQ(Text(summary, "//PreviewAvailability"), "2");
    auto resolved = Post("search/ResolvePerformances.jsp", "PerformanceTitle=brand+new&PrimaryArtistName=the+new+band");
    EXPECT_STREQ(resolved.select_node("(//PerformanceSummary)[1]").node().attribute("performanceID").value(), trackId.c_str());

    auto refused = Post("UpdatePerformanceXML.jsp", "UserToken=" + m_token + "&App=Tessarin&Action=Create&ID=0&SongName="
                                                    "&ArtistName=&ArtistID=0");
    EXPECT_EQ(Count(refused, "//PerformanceID"), 0u);
    EXPECT_FALSE(Text(refused, "//Exception").empty());
}

} // namespace corvanta::server::test
