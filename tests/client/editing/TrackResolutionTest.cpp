#include "client/editing/TrackResolution.h"
#include "client/editing/UpdateArtistRequest.h"
#include "client/editing/UpdatePerformanceRequest.h"
#include "tests/client/editing/EditingModelFixture.h"

namespace {

class TrackResolution : public EditingModelFixture {};

}  // namespace

TEST_F(TrackResolution, NewNamesNeedMoreThanBlanks)
{
    const struct {
        const char* name;
        bool acceptable;
    } cases[] = {{"", false}, {"   ", false}, {" \t ", false}, {" Nina ", true}, {"x", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NewNameAcceptable(c.name), c.acceptable);
    }
}

TEST_F(TrackResolution, OkNeedsANameToAddOrARowToSelect)
{
    const struct {
        bool addNew;
        const char* name;
        bool rowSelected;
        bool ok;
    } cases[] = {{true, "  ", true, false},
                 {true, " Nina", false, true},
                 {false, "Nina", false, false},
                 {false, "", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.addNew << " '" << c.name << "' " << c.rowSelected);
        EXPECT_EQ(NewChoiceComplete(c.addNew, c.name, c.rowSelected), c.ok);
    }
}

TEST_F(TrackResolution, NewArtistIsSentWithDayZero)
{
    const std::string body = CUpdateArtistRequest::Body("tok", NewArtistRecord("Nina"));
    EXPECT_EQ(body, "UserToken=tok&App=Tessarin&Action=Create&ID=0&Name=Nina&OfficialURL=&PlaceOfBirth=&"
                    "DateOfBirth=12/30/1899&PlaceOfDeath=&DateOfDeath=12/30/1899");
}

TEST_F(TrackResolution, CreatedOnlyWithTheServersNumber)
{
    CUpdateArtistRequest artists;
    CUpdatePerformanceRequest tracks;
    Answer("UpdateArtistXML.jsp", "<R><Exception>no</Exception></R>");
    Answer("UpdatePerformanceXML.jsp", "<R/>");
    EXPECT_TRUE(SendAndWait(artists, [&] { artists.CreateArtist("tok", NewArtistRecord("Nina")); }).completed);
    EXPECT_FALSE(ArtistCreated(artists, "Nina"));
    const PerformanceSummary made = NewTrackRecord("Nina", 31, "Sinnerman");
    EXPECT_TRUE(SendAndWait(tracks, [&] { tracks.CreatePerformance("tok", made); }).completed);
    EXPECT_FALSE(TrackCreated(tracks, made));

    Answer("UpdateArtistXML.jsp", "<R><ArtistID>31</ArtistID></R>");
    Answer("UpdatePerformanceXML.jsp", "<R><PerformanceID>900</PerformanceID></R>");
    SendAndWait(artists, [&] { artists.CreateArtist("tok", NewArtistRecord("Nina")); });
    const auto artist = ArtistCreated(artists, "Nina");
    ASSERT_TRUE(artist);
    EXPECT_EQ(artist->artistID, 31);
    EXPECT_EQ(artist->name, "Nina");
    SendAndWait(tracks, [&] { tracks.CreatePerformance("tok", made); });
    const auto track = TrackCreated(tracks, made);
    ASSERT_TRUE(track);
    EXPECT_EQ(track->performanceID, 900);
    EXPECT_EQ(track->ArtistName, "Nina");
    EXPECT_EQ(track->primaryArtistID, 31);
    EXPECT_EQ(track->SongName, "Sinnerman");
    EXPECT_EQ(m_server.LastRequest().Form("ArtistID"), "31");
}
