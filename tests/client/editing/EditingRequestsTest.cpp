#include "client/editing/ResolveArtistsRequest.h"
#include "client/editing/ResolvePerformancesRequest.h"
#include "client/editing/UpdateArtistRequest.h"
#include "client/editing/UpdatePerformanceRequest.h"
#include "client/editing/UpdatePlaylistRequest.h"
#include "tests/support/RequestFixture.h"

namespace {

class EditingRequests : public RequestFixture {};

constexpr char kResolve[] = "search/ResolvePerformances.jsp";
constexpr char kPlaylist[] = "UpdatePlaylistXML.jsp";

// Ends a queued request the way its owner does.
struct ResolverHolder {
    CResolvePerformancesRequest* request = new CResolvePerformancesRequest();
    ~ResolverHolder() { request->Shutdown(); }
};

std::unique_ptr<PerformanceSummary> TrackRow(std::int32_t id, std::string comment)
{
    auto track = std::make_unique<PerformanceSummary>();
    track->performanceID = id;
    track->Comment = std::move(comment);
    return track;
}

}  // namespace

TEST_F(EditingRequests, PostedBodies)
{
    ResolverHolder resolver;
    CResolveArtistsRequest artists;
    CUpdatePerformanceRequest newTrack;
    CUpdateArtistRequest newArtist;
    CUpdatePlaylistRequest playlists;

    PerformanceSummary track;
    track.SongName = "Hey Jude";
    track.ArtistName = "Beatles";
    track.primaryArtistID = 77;
    ArtistRecord artist;
    artist.Name = "Nina";
    artist.PlaceOfBirth = "Tryon NC";

    const struct {
        const char* what;
        CServerRequest& request;
        std::function<void()> send;
        const char* page;
        const char* body;
    } cases[] = {
        {"resolve title and artist", *resolver.request, [&] { resolver.request->Resolve("Hey Jude", "Beatles", 5); },
         kResolve, "PerformanceTitle=Hey+Jude&PrimaryArtistName=Beatles"},
        {"resolve, empty title", *resolver.request, [&] { resolver.request->Resolve("", "Beatles", 5); }, kResolve,
         "PrimaryArtistName=Beatles"},
        {"resolve, empty artist", *resolver.request, [&] { resolver.request->Resolve("Help", "", 5); }, kResolve,
         "PerformanceTitle=Help"},
        {"resolve artists", artists, [&] { artists.Resolve("AC&DC", 0); }, "search/ResolveArtists.jsp",
         "ArtistName=AC%26DC"},
        {"create performance", newTrack, [&] { newTrack.CreatePerformance("tok", track); }, "UpdatePerformanceXML.jsp",
         "UserToken=tok&App=Tessarin&Action=Create&ID=0&SongName=Hey%20Jude&ArtistName=Beatles&ArtistID=77&"
         "Version=&Length=0&PrimaryGenreID=0&PerformanceSourceID=1&BeatsPerMin=0"},
        {"create artist", newArtist, [&] { newArtist.CreateArtist("tok", artist); }, "UpdateArtistXML.jsp",
         "UserToken=tok&App=Tessarin&Action=Create&ID=0&Name=Nina&OfficialURL=&PlaceOfBirth=Tryon+NC&"
         "DateOfBirth=12/30/1899&PlaceOfDeath=&DateOfDeath=12/30/1899"},
        {"delete playlist", playlists, [&] { playlists.Delete("tok", 0); }, kPlaylist,
         "UserToken=tok&App=Tessarin&Action=Delete&ID=0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectPosted(c.request, c.send, c.page, c.body);
    }
}

TEST_F(EditingRequests, EncodedTextsReachTheServerAsTyped)
{
    CUpdatePerformanceRequest request;
    PerformanceSummary track;
    track.SongName = "Rock & Roll: part 2 <live>";
    track.ArtistName = "Led Zeppelin";
    track.Version = "remaster=2014 #1";
    SendAndWait(request, [&] { request.CreatePerformance("t", track); });
    const RecordedRequest sent = m_server.LastRequest();
    EXPECT_EQ(sent.Form("SongName"), track.SongName);
    EXPECT_EQ(sent.Form("ArtistName"), track.ArtistName);
    EXPECT_EQ(sent.Form("Version"), track.Version);
}

TEST_F(EditingRequests, ResolvePerformancesAnswers)
{
    ResolverHolder resolver;
    CResolvePerformancesRequest& request = *resolver.request;
    m_server.SetResponse(PathOf(kResolve), [](const RecordedRequest& r) {
        ScriptedResponse response;
        if (r.Form("PerformanceTitle") == "none")
            response.body = "<R/>";
        else if (r.Form("PerformanceTitle") == "broken")
            response.body = "broken";
        else
            response.body = "<R><PerformanceSummary performanceID='1'><SongName>help!</SongName></PerformanceSummary>"
                            "<PerformanceSummary performanceID='2'/></R>";
        return response;
    });
    CEventListener listener;
    request.AddListener(&listener);
    EXPECT_EQ(request.Resolve("Help", "Beatles", 40), 0);
    EXPECT_EQ(request.Resolve("none", "", 41), 1);
    EXPECT_EQ(request.Resolve("broken", "", 42), 2);
    ASSERT_TRUE(WaitForEvents(listener, 3));
    request.RemoveListener(&listener);
    // One exchange at a time, in the order asked for.
    for (std::int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(listener.events[static_cast<std::size_t>(i)].value1, i);
        EXPECT_EQ(listener.events[static_cast<std::size_t>(i)].value2, 40 + i);
    }

    ASSERT_EQ(request.GetCandidateCount(0), 2);
    ASSERT_NE(request.GetFirstCandidate(0), nullptr);
    EXPECT_EQ(request.GetFirstCandidate(0)->SongName, "help!");
    EXPECT_EQ(request.GetCandidate(0, 1)->performanceID, 2);
    EXPECT_EQ(request.GetCandidate(0, 2), nullptr);
    for (std::int32_t key : {1, 2}) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(request.HasResult(key));
        EXPECT_EQ(request.GetCandidateCount(key), 0);
        EXPECT_EQ(request.GetFirstCandidate(key), nullptr);
    }
    EXPECT_EQ(request.GetFirstCandidate(9), nullptr);

    auto taken = request.TakeCandidates(0);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[1]->performanceID, 2);
    EXPECT_FALSE(request.HasResult(0));
}

TEST_F(EditingRequests, ResolveArtistsAndCreatedNumbers)
{
    CResolveArtistsRequest artists;
    Answer("search/ResolveArtists.jsp", "<R><ArtistSummary artistID='8'><Name>Nina</Name></ArtistSummary></R>");
    const RequestEvent event = SendAndWait(artists, [&] { EXPECT_EQ(artists.Resolve("Nina", 3), 1); });
    EXPECT_EQ(event.value1, 1);
    EXPECT_EQ(event.value2, 3);
    ASSERT_EQ(artists.GetCandidateCount(1), 1);
    EXPECT_EQ(artists.GetCandidate(1, 0)->Name, "Nina");
    EXPECT_EQ(artists.GetCandidate(1, 1), nullptr);

    CUpdatePerformanceRequest newTrack;
    CUpdateArtistRequest newArtist;
    const struct {
        const char* what;
        const char* answer;
        std::int32_t performanceID;
        std::int32_t artistID;
    } cases[] = {
        {"numbers", "<R><PerformanceID>501</PerformanceID><ArtistID>601</ArtistID><PerformanceID>9</PerformanceID></R>",
         501, 601},
        {"refused: no stale number is kept", "<R><Exception>x:refused</Exception></R>", 0, 0},
        {"not a document", "oops", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Answer("UpdatePerformanceXML.jsp", c.answer);
        Answer("UpdateArtistXML.jsp", c.answer);
        SendAndWait(newTrack, [&] { newTrack.CreatePerformance("t", PerformanceSummary{}); });
        SendAndWait(newArtist, [&] { newArtist.CreateArtist("t", ArtistRecord{}); });
        EXPECT_EQ(newTrack.PerformanceID(), c.performanceID);
        EXPECT_EQ(newArtist.ArtistID(), c.artistID);
    }
}

TEST_F(EditingRequests, PublishCreatesThenUpdates)
{
    CUpdatePlaylistRequest request;
    PlaylistDetail playlist;
    playlist.Summary.Name = "Road Trip";
    playlist.Summary.Theme = "Sun & Sea";
    playlist.Summary.PlaylistDescription = "line one\r\nline two";
    playlist.Summary.PrimaryGenreID = 201;
    playlist.Summary.PrimaryMoodID = 3;
    playlist.Summary.NumberOfPerformances = 99;  // the track list is what counts
    playlist.Tracks.push_back(TrackRow(11, "first\r\nsecond"));
    playlist.Tracks.push_back(TrackRow(12, ""));

    Answer(kPlaylist, "<Answer><PlaylistID>4711</PlaylistID></Answer>");
    EXPECT_EQ(request.Publish("my token", playlist), S_OK);
    EXPECT_EQ(playlist.Summary.playlistID, 4711);
    RecordedRequest sent = m_server.LastRequest();
    EXPECT_EQ(sent.body,
              "UserToken=my token&App=Tessarin&Action=Create&ID=0&Name=Road%20Trip&EntryCount=2&PrimaryGenreID=201&"
              "PrimaryMoodID=3&PrimaryTheme=Sun%20%26%20Sea&Description=line%20one%0D%0Aline%20two&"
              "IsPublic=1&TrackID1=11&TrackComment1=first%3CBR%3Esecond&TrackID2=12&TrackComment2=");
    EXPECT_EQ(sent.Form("TrackComment1"), "first<BR>second");
    EXPECT_EQ(sent.Form("Description"), "line one\r\nline two");
    EXPECT_EQ(sent.Form("PrimaryTheme"), "Sun & Sea");

    Answer(kPlaylist, "<Answer><PlaylistID>4711</PlaylistID></Answer>");
    playlist.Tracks.clear();
    EXPECT_EQ(request.Publish("my token", playlist), S_OK);
    sent = m_server.LastRequest();
    EXPECT_EQ(sent.Form("Action"), "Update");
    EXPECT_EQ(sent.Form("ID"), "4711");
    EXPECT_EQ(sent.Form("EntryCount"), "0");
    EXPECT_FALSE(sent.HasForm("TrackID1"));
}

TEST_F(EditingRequests, FailedPublishKeepsThePlaylistID)
{
    CUpdatePlaylistRequest request;
    PlaylistDetail playlist;
    playlist.Summary.playlistID = 12;
    const struct {
        const char* what;
        int status;
        const char* answer;
    } cases[] = {
        {"refused", 200, "<Answer><Exception>java.lang.Exception: not yours</Exception></Answer>"},
        {"not a document", 200, "Server busy"},
        {"http error", 500, "<Answer><PlaylistID>99</PlaylistID></Answer>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_server.SetResponse(PathOf(kPlaylist), c.status, c.answer);
        EXPECT_EQ(request.Publish("t", playlist), E_FAIL);
        EXPECT_EQ(playlist.Summary.playlistID, 12);
    }

    // A delete's answer is not used.
    Answer(kPlaylist, "<Answer><PlaylistID>99</PlaylistID></Answer>");
    EXPECT_TRUE(SendAndWait(request, [&] { request.Delete("t", 12); }).completed);
    EXPECT_EQ(playlist.Summary.playlistID, 12);
}
