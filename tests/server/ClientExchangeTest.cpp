// The client's own requests against the reference server on the demo community:
// what the server answers is read by the client's reader, not by a test parser.
#include "client/app/UserLoginRequest.h"
#include "client/catalogue/GetPlaylistDetailsRequest.h"
#include "client/catalogue/GetSummariesRequest.h"
#include "client/catalogue/LookupTables.h"
#include "client/catalogue/TablesToXMLRequest.h"
#include "client/editing/UpdateArtistRequest.h"
#include "client/editing/UpdatePerformanceRequest.h"
#include "client/editing/UpdatePlaylistRequest.h"
#include "client/favorites/GetUserBookmarksRequest.h"
#include "client/profile/ProfileObjects.h"
#include "client/profile/ProfileRequest.h"
#include "client/protocol/RequestListener.h"
#include "client/protocol/ServerSettings.h"
#include "client/search/SearchForPerformancesRequest.h"
#include "platform/MessageBox.h"
#include "platform/Threading.h"
#include "tests/server/ServerTestEnv.h"
#include "tests/support/TestPump.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

namespace corvanta::server::test {

namespace {

class CDoneListener : public IRequestListener {
public:
    void OnRequestCompleted(CServerRequest*, std::int32_t value1, std::int32_t value2) override
    {
        completed.push_back({value1, value2});
    }
    void OnRequestFailed(CServerRequest*, HRESULT, std::int32_t, std::int32_t) override { ++failed; }
    std::vector<std::pair<std::int32_t, std::int32_t>> completed;
    int failed = 0;
};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

class ClientExchange : public CServerFixture {
protected:
    void SetUp() override
    {
        StartServer(1);
        setenv("CORVANTA_REGISTRY_DIR", (m_dir + "/registry").c_str(), 1);
        setenv("CORVANTA_CA_FILE", m_server->CertificatePath().c_str(), 1);
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        m_settings.SetServerHost("127.0.0.1");
        m_settings.SetDefaultPorts(0);
        m_settings.SetPortOverride(static_cast<std::uint16_t>(m_server->HttpPort()),
                                   static_cast<std::uint16_t>(m_server->HttpsPort()));
        SetActiveServerSettings(&m_settings);
        SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            m_messages.push_back(text);
            return kIdOk;
        });
    }

    void TearDown() override
    {
        EXPECT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
        m_pump.RunPending();
        EXPECT_TRUE(m_messages.empty()) << m_messages.front();
        SetMessageBoxHandler({});
        SetActiveServerSettings(nullptr);
        unsetenv("CORVANTA_CA_FILE");
        unsetenv("CORVANTA_REGISTRY_DIR");
        CServerFixture::TearDown();
    }

    std::string DemoToken()
    {
        CUserLoginRequest login;
        std::string error;
        EXPECT_EQ(login.Login("demo", "demo", error), S_OK) << error;
        return login.Token();
    }

    // Runs send with a listener registered and pumps until the request is told.
    bool SendAndWait(CServerRequest& request, const std::function<void()>& send, CDoneListener& listener)
    {
        request.AddListener(&listener);
        send();
        bool told = m_pump.RunUntil([&] { return !listener.completed.empty() || listener.failed > 0; });
        request.RemoveListener(&listener);
        return told && listener.failed == 0;
    }

    CServerSettings m_settings;
    CTestPump m_pump;
    std::vector<std::string> m_messages;
};

TEST_F(ClientExchange, LoginOverHttpsGivesTokenAndIdentifierAndRefusalsTheirMessage)
{
    CUserLoginRequest login;
    std::string error;
    ASSERT_EQ(login.Login("demo", "demo", error), S_OK) << error;
    EXPECT_GT(login.UserId(), 0);
    const std::string token = login.Token();
    ASSERT_NE(token.find(':'), std::string::npos);

    CUserLoginRequest wrong;
    EXPECT_EQ(wrong.Login("demo", "not-the-password", error), E_FAIL);
    EXPECT_EQ(error, " Invalid login name or password");
    EXPECT_EQ(wrong.UserId(), 0);

    EXPECT_EQ(login.Logout(token, false), S_OK);
    EXPECT_EQ(Count(Post("UpdateSession.jsp", "UserToken=" + token + "&App=Tessarin"), "//Exception"), 1u);
}

TEST_F(ClientExchange, LookupTablesReplaceTheBuiltInOnes)
{
    CLookupTables tables;
    tables.LoadDefaults();
    CTablesToXMLRequest request;
    CDoneListener done;
    ASSERT_TRUE(SendAndWait(
        request, [&] { request.Fetch(&tables); }, done));
    for (const char* name :
         {"Genres", "Mood", "Theme", "Country", "StateCode", "MaritalStatus", "SexCode", "HeardAboutSource"}) {
        SCOPED_TRACE(name);
        auto table = tables.Lookup(name);
        ASSERT_TRUE(table);
        EXPECT_GT(table->size(), 1u);
    }
    // Genres hold the genres only: their sub-genres stay out of every table.
    auto genres = tables.Lookup("Genres");
    EXPECT_EQ(genres->front().identifier, 0);
    for (const LookupItem& genre : *genres)
        EXPECT_EQ(genre.identifier % 100, genre.identifier == 0 ? 0 : 1) << genre.text;
    EXPECT_FALSE(tables.Lookup("SubGenres"));
    // Sign-up needs a referral of 1 or more.
    EXPECT_GE(tables.Lookup("HeardAboutSource")->back().identifier, 1);
}

TEST_F(ClientExchange, SearchThenGetSummariesOfTheIdentifiersInTheirOrder)
{
    CSearchForPerformancesRequest search;
    PerformanceSearch fields;
    fields.performanceTitle.text = "LOVE";
    std::int32_t key = 0;
    CDoneListener searched;
    ASSERT_TRUE(SendAndWait(
        search, [&] { key = search.Search(fields, 7); }, searched));
    ASSERT_EQ(searched.completed.front(), std::make_pair(7, key));
    const std::vector<std::uint32_t> ids = search.Identifiers(key);
    ASSERT_EQ(search.Count(key), 20);
    ASSERT_GT(ids.size(), 70u);
    for (std::int32_t i = 0; i < search.Count(key); ++i) {
        const PerformanceSummary* track = search.Summary(key, i);
        EXPECT_EQ(track->performanceID, static_cast<std::int32_t>(ids[static_cast<size_t>(i)]));
        EXPECT_NE(Lower(track->SongName).find("love"), std::string::npos) << track->SongName;
        EXPECT_GT(track->primaryArtistID, 0);
        EXPECT_FALSE(track->ArtistName.empty());
    }

    // The next page, 50 identifiers, as the search controller fetches it.
    std::string page;
    for (size_t i = 20; i < 70; ++i)
        page += (page.empty() ? "" : ",") + std::to_string(ids[i]);
    CGetSummariesRequest summaries;
    CDoneListener fetched;
    ASSERT_TRUE(SendAndWait(
        summaries, [&] { summaries.FetchPerformances(page, 3); }, fetched));
    ASSERT_EQ(summaries.Count(), 50);
    for (std::int32_t i = 0; i < 50; ++i)
        EXPECT_EQ(summaries.Item(i)->Identifier(), static_cast<std::int32_t>(ids[static_cast<size_t>(20 + i)]));
}

TEST_F(ClientExchange, FavoritesInEveryKindAreChainedAndAPlaylistComesWithItsTracks)
{
    const std::string token = DemoToken();
    CGetUserBookmarksRequest bookmarks;
    CDoneListener listed;
    ASSERT_TRUE(SendAndWait(
        bookmarks, [&] { bookmarks.Fetch(token); }, listed));
    ASSERT_GT(bookmarks.PlaylistCount(), 1);
    EXPECT_GT(bookmarks.ArtistCount(), 0);
    EXPECT_GT(bookmarks.PlaymakerCount(), 0);
    EXPECT_GT(bookmarks.TrackCount(), 0);
    std::int32_t previous = 0;
    for (std::int32_t i = 0; i < bookmarks.PlaylistCount(); ++i) {
        const PlaylistSummary* playlist = bookmarks.GetPlaylist(i);
        EXPECT_GT(playlist->BookmarkID, 0);
        EXPECT_EQ(playlist->ComesAfterID, previous);
        previous = playlist->BookmarkID;
    }

    const PlaylistSummary* favorite = bookmarks.GetPlaylist(0);
    CGetPlaylistDetailsRequest details;
    CDoneListener detailed;
    ASSERT_TRUE(SendAndWait(
        details, [&] { details.Fetch(favorite->playlistID); }, detailed));
    ASSERT_NE(details.Detail(), nullptr);
    EXPECT_EQ(details.Detail()->Summary.playlistID, favorite->playlistID);
    EXPECT_EQ(details.Detail()->Summary.Name, favorite->Name);
    EXPECT_FALSE(details.Detail()->Summary.Playmaker.Handle.empty());
    EXPECT_TRUE(details.Detail()->Summary.CreationDate.IsValid());
    EXPECT_TRUE(details.CreationDate().IsValid());
    EXPECT_TRUE(details.DateUpdated().IsValid());
    ASSERT_FALSE(details.Detail()->Tracks.empty());
    EXPECT_EQ(static_cast<std::int32_t>(details.Detail()->Tracks.size()),
              details.Detail()->Summary.NumberOfPerformances);
}

TEST_F(ClientExchange, TextThatIsNotUtf8ReachesTheClientRepaired)
{
    // A Latin-1 name from some other client must not make every answer that holds it unreadable.
    const std::string token = DemoToken();
    auto created =
        Post("UpdatePlaylistXML.jsp", "UserToken=" + token +
                                          "&App=Tessarin&Action=Create&ID=0&Name=Caf%E9&EntryCount=0&PrimaryGenreID=0"
                                          "&PrimaryMoodID=0&PrimaryTheme=&Description=&IsPublic=1");
    const std::string id = Text(created, "//PlaylistID");
    ASSERT_FALSE(id.empty());
    CGetSummariesRequest summaries;
    CDoneListener fetched;
    ASSERT_TRUE(SendAndWait(
        summaries, [&] { summaries.FetchPlaylists(id + ",1", 0); }, fetched));
    ASSERT_EQ(summaries.Count(), 2);
    EXPECT_EQ(summaries.Item(0)->Name(), "Caf\xC3\xA9");
}

TEST_F(ClientExchange, FreeTextComesBackAsTheMemberTypedIt)
{
    // Each text goes out through the client's own create and publish requests and is
    // read back through its own readers.
    const std::string token = DemoToken();
    const char* const texts[] = {
        "Mix 50%50", "a%41b", "Sun & Sea", "x+y=z #1", "na\xC3\xAFve caf\xC3\xA9", ":leading colon", "My List",
    };
    for (const std::string text : texts) {
        SCOPED_TRACE(text);
        CUpdateArtistRequest artistRequest;
        ArtistRecord artist;
        artist.Name = text;
        CDoneListener artistDone;
        ASSERT_TRUE(SendAndWait(
            artistRequest, [&] { artistRequest.CreateArtist(token, artist); }, artistDone));
        const std::int32_t artistID = artistRequest.ArtistID();
        ASSERT_GT(artistID, 0);

        CUpdatePerformanceRequest trackRequest;
        PerformanceSummary track;
        track.SongName = text;
        track.ArtistName = text;
        track.primaryArtistID = artistID;
        track.Version = text;
        CDoneListener trackDone;
        ASSERT_TRUE(SendAndWait(
            trackRequest, [&] { trackRequest.CreatePerformance(token, track); }, trackDone));
        ASSERT_GT(trackRequest.PerformanceID(), 0);

        PlaylistDetail playlist;
        playlist.Summary.Name = text;
        playlist.Summary.Theme = text;
        playlist.Summary.PlaylistDescription = text;
        auto row = std::make_unique<PerformanceSummary>();
        row->performanceID = trackRequest.PerformanceID();
        row->Comment = text;
        playlist.Tracks.push_back(std::move(row));
        CUpdatePlaylistRequest publish;
        ASSERT_EQ(publish.Publish(token, playlist), S_OK);
        ASSERT_GT(playlist.Summary.playlistID, 0);

        CGetPlaylistDetailsRequest details;
        CDoneListener detailed;
        ASSERT_TRUE(SendAndWait(
            details, [&] { details.Fetch(playlist.Summary.playlistID); }, detailed));
        const PlaylistDetail* stored = details.Detail();
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(stored->Summary.Name, text);
        EXPECT_EQ(stored->Summary.Theme, text);
        EXPECT_EQ(stored->Summary.PlaylistDescription, text);
        ASSERT_EQ(stored->Tracks.size(), 1u);
        EXPECT_EQ(stored->Tracks[0]->Comment, text);
        EXPECT_EQ(stored->Tracks[0]->SongName, text);
        EXPECT_EQ(stored->Tracks[0]->ArtistName, text);
        EXPECT_EQ(stored->Tracks[0]->Version, text);

        CGetSummariesRequest summaries;
        CDoneListener fetched;
        ASSERT_TRUE(SendAndWait(
            summaries, [&] { summaries.FetchArtists(std::to_string(artistID), 0); }, fetched));
        ASSERT_EQ(summaries.Count(), 1);
        EXPECT_EQ(summaries.Item(0)->Name(), text);
    }
}

TEST_F(ClientExchange, ProfileSurvivesTheClientsFetchEditAndUpdate)
{
    const std::string token = DemoToken();
    CProfileRequest profile;
    CXmlDocument* document = profile.Fetch(token);
    ASSERT_NE(document, nullptr);
    CXmlNode* user = FindUserObject(document);
    ASSERT_NE(user, nullptr);
    CXmlNode* name = FindObject(user, u"com.velmar.orvane.data.Name", std::nullopt);
    SetObjectText(FindObject(name, std::nullopt, u"myFirst"), u"Rock & Roll + 100%");
    ASSERT_TRUE(profile.Update(token));

    CProfileRequest again;
    document = again.Fetch(token);
    ASSERT_NE(document, nullptr);
    name = FindObject(FindUserObject(document), u"com.velmar.orvane.data.Name", std::nullopt);
    EXPECT_EQ(GetObjectText(FindObject(name, std::nullopt, u"myFirst")), u"Rock & Roll + 100%");
}

TEST_F(ClientExchange, AThousandTrackPlaylistWithCommentsIsPublishedWhole)
{
    const std::string token = DemoToken();
    PlaylistDetail playlist;
    playlist.Summary.Name = "Everything & more";
    playlist.Summary.PlaylistDescription = "The long one.\r\nAll of it.";
    playlist.Summary.Theme = "Road Trip";
    for (std::int32_t i = 1; i <= 1000; ++i) {
        auto track = std::make_unique<PerformanceSummary>();
        track->performanceID = i;
        track->Comment = "Number " + std::to_string(i) + ": 100% loud & <clear>\r\nsecond line";
        playlist.Tracks.push_back(std::move(track));
    }
    // Far past the 8 KB that form bodies were once refused beyond.
    ASSERT_GT(CUpdatePlaylistRequest::PublishBody(token, playlist).size(), 100000u);
    CUpdatePlaylistRequest publish;
    ASSERT_EQ(publish.Publish(token, playlist), S_OK);
    ASSERT_GT(playlist.Summary.playlistID, 0);

    // What the server now holds, read back through the client's own request.
    CGetPlaylistDetailsRequest details;
    CDoneListener fetched;
    ASSERT_TRUE(SendAndWait(
        details, [&] { details.Fetch(playlist.Summary.playlistID); }, fetched));
    ASSERT_NE(details.Detail(), nullptr);
    EXPECT_EQ(details.Detail()->Summary.Name, "Everything & more");
    EXPECT_EQ(details.Detail()->Summary.NumberOfPerformances, 1000);
    ASSERT_EQ(details.Detail()->Tracks.size(), 1000u);
    for (size_t i = 0; i < 1000; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(details.Detail()->Tracks[i]->performanceID, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(details.Detail()->Tracks[i]->Comment, playlist.Tracks[i]->Comment);
    }
}

}  // namespace corvanta::server::test
