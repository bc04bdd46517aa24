#include "client/editing/PlaylistEditorModel.h"
#include "client/editing/PlaylistStore.h"
#include "client/editing/ResolvePerformancesRequest.h"
#include "client/editing/UpdatePlaylistRequest.h"
#include "client/resources/StringTable.h"
#include "platform/Shell.h"
#include "tests/client/editing/EditingModelFixture.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>

namespace {

constexpr char kListPage[] = "GetUserPlaylists.jsp";
constexpr char kDetailsPage[] = "GetPlaylistDetails.jsp";
constexpr char kUpdatePage[] = "UpdatePlaylistXML.jsp";

class CRecordingStoreListener : public IPlaylistStoreListener {
public:
    explicit CRecordingStoreListener(std::vector<std::string>& log) : m_log(log) {}
    void OnPlaylistsLoading() override { m_log.push_back("loading"); }
    void OnPlaylistsLoaded() override { m_log.push_back("loaded"); }
    void OnPlaylistsCleared() override { m_log.push_back("cleared"); }
    void OnPlaylistDetailLoaded(PlaylistDetail* playlist) override
    {
        m_log.push_back("detail " + std::to_string(playlist->Summary.playlistID) + " local " +
                        std::to_string(CPlaylistStore::CountLocalTracks(*playlist)));
    }
    void OnPlaylistAdded(PlaylistDetail* playlist) override { m_log.push_back("added " + Name(playlist)); }
    void OnPlaylistRemoved(PlaylistDetail* playlist) override { m_log.push_back("removed " + Name(playlist)); }
    void OnPlaylistUpdated(PlaylistDetail* playlist) override { m_log.push_back("updated " + Name(playlist)); }

private:
    static std::string Name(const PlaylistDetail* playlist) { return std::to_string(playlist->Summary.playlistID); }
    std::vector<std::string>& m_log;
};

class Store : public EditingModelFixture {
protected:
    void SetUp() override
    {
        EditingModelFixture::SetUp();
        // The member's playlists by token: "tok" has 5 and 6, "other" has 8.
        m_server.SetResponse(PathOf(kListPage), [](const RecordedRequest& request) {
            ScriptedResponse response;
            if (request.Form("user") == "tok")
                response.body = "<R>" + PlaylistXml(5, "Five") + PlaylistXml(6, "Six") + "</R>";
            else if (request.Form("user") == "other")
                response.body = "<R>" + PlaylistXml(8, "Eight") + "</R>";
            else
                response.body = "<R/>";
            return response;
        });
        m_server.SetResponse(PathOf(kDetailsPage), [](const RecordedRequest& request) {
            const std::string id = request.Form("playlist");
            ScriptedResponse response;
            response.body = "<R><PlaylistDetail>" + PlaylistXml(std::stoi(id), "x") + "</PlaylistDetail>" +
                            TrackXml(std::stoi(id) * 10, "T" + id, "A") + TrackXml(0, "Unmatched", "A") + "</R>";
            return response;
        });
        m_library.files[50] = "/music/50.mp3";
        m_library.files[0] = "/music/unmatched.mp3";
        store = std::make_unique<CPlaylistStore>(&m_session, &m_library);
        store->AddListener(&listener);
    }
    void TearDown() override
    {
        for (const char* page : {kListPage, kDetailsPage, kUpdatePage, kResolvePage})
            m_server.Release(PathOf(page));
        m_editor.reset();
        store.reset();
        EditingModelFixture::TearDown();
    }

    void LogIn(const std::string& token)
    {
        m_session.token = token;
        store->OnSessionChanged(m_session.handle, token);
    }
    bool WaitLoaded()
    {
        return m_pump.RunUntil([&] { return store->IsLoaded(); });
    }
    CPlaylistEditorModel& Editor()
    {
        if (!m_editor)
            m_editor = std::make_unique<CPlaylistEditorModel>(*store, &m_session, &m_library);
        return *m_editor;
    }
    RecordedRequest LastUpdate() const
    {
        const auto sent = m_server.RequestsTo(PathOf(kUpdatePage));
        return sent.empty() ? RecordedRequest{} : sent.back();
    }

    std::vector<std::string> log;
    CRecordingStoreListener listener{log};
    std::unique_ptr<CPlaylistStore> store;
    std::unique_ptr<CPlaylistEditorModel> m_editor;
};

}  // namespace

TEST_F(Store, LoadsThePlaylistsThenEachOnesTracks)
{
    LogIn("tok");
    ASSERT_TRUE(WaitLoaded());
    // Each playlist's tracks know their local files by the time listeners hear of them.
    EXPECT_EQ(log, (std::vector<std::string>{"loading", "detail 5 local 1", "detail 6 local 0", "loaded"}));
    ASSERT_EQ(store->GetCount(), 2);
    EXPECT_EQ(store->GetAt(0)->Summary.Name, "Five");
    ASSERT_EQ(store->GetAt(0)->Tracks.size(), 2u);
    EXPECT_EQ(store->GetAt(0)->Tracks[0]->localFilePath, "/music/50.mp3");
    // A file for no catalogue track is not a local track.
    EXPECT_EQ(store->GetAt(0)->Tracks[1]->localFilePath, "/music/unmatched.mp3");
    const auto details = m_server.RequestsTo(PathOf(kDetailsPage));
    ASSERT_EQ(details.size(), 2u);
    EXPECT_EQ(details[0].body, "playlist=5");
    EXPECT_EQ(details[1].body, "playlist=6");
    EXPECT_EQ(m_server.RequestsTo(PathOf(kListPage)).at(0).body, "user=tok");

    // A late listener hears "loading" and "loaded" at once.
    std::vector<std::string> lateLog;
    CRecordingStoreListener late(lateLog);
    store->AddListener(&late);
    EXPECT_EQ(lateLog, (std::vector<std::string>{"loading", "loaded"}));
    store->RemoveListener(&late);

    log.clear();
    LogIn("");
    EXPECT_EQ(log, (std::vector<std::string>{"cleared"}));
    EXPECT_EQ(store->GetCount(), 0);
    EXPECT_FALSE(store->IsLoaded());
    LogIn("tok");
    ASSERT_TRUE(WaitLoaded());
    EXPECT_EQ(store->GetCount(), 2);
}

TEST_F(Store, NoPlaylistsIsLoadedAtOnce)
{
    LogIn("empty");
    ASSERT_TRUE(WaitLoaded());
    EXPECT_EQ(log, (std::vector<std::string>{"loading", "loaded"}));
    EXPECT_EQ(m_server.RequestsTo(PathOf(kDetailsPage)).size(), 0u);
}

TEST_F(Store, AnswersOfAnEarlierSessionAreDropped)
{
    // The first session's list answer is still at the server, or already
    // waiting on the user-interface thread, when the second session starts.
    for (const bool atServer : {true, false}) {
        SCOPED_TRACE(atServer ? "at the server" : "on its way to the user-interface thread");
        log.clear();
        store = std::make_unique<CPlaylistStore>(&m_session, &m_library);
        store->AddListener(&listener);
        if (atServer) {
            m_server.Hold(PathOf(kListPage));
            LogIn("tok");
            LogIn("other");
            ASSERT_TRUE(m_server.WaitForHeld(2));
            m_server.Release(PathOf(kListPage));
        } else {
            LogIn("tok");
            ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
            ASSERT_EQ(m_pump.Queued(), 1);
            LogIn("other");
        }
        ASSERT_TRUE(WaitLoaded());
        ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
        m_pump.RunPending();
        ASSERT_EQ(store->GetCount(), 1);
        EXPECT_EQ(store->GetAt(0)->Summary.playlistID, 8);
        EXPECT_EQ(log, (std::vector<std::string>{"loading", "loading", "detail 8 local 0", "loaded"}));
    }
}

TEST_F(Store, DeletingWhileDetailsAreOnTheirWay)
{
    m_server.Hold(PathOf(kDetailsPage));
    LogIn("tok");
    // Made before the list answer has reached the store on the pump.
    PlaylistDetail* made = store->NewPlaylist();
    ASSERT_TRUE(m_pump.RunUntil([&] { return store->GetCount() == 3; }));
    ASSERT_TRUE(m_server.WaitForHeld(1));
    store->DeletePlaylist(store->GetAt(0));
    m_server.Release(PathOf(kDetailsPage));
    ASSERT_TRUE(WaitLoaded());
    // The playlist made meanwhile stays, after the loaded ones; its details are never asked for.
    ASSERT_EQ(store->GetCount(), 2);
    EXPECT_EQ(store->GetAt(0)->Summary.playlistID, 6);
    EXPECT_EQ(store->GetAt(1), made);
    EXPECT_EQ(log, (std::vector<std::string>{"loading", "added 0", "removed 5", "detail 6 local 0", "loaded"}));
    ASSERT_TRUE(m_pump.RunUntil([&] { return m_server.RequestsTo(PathOf(kUpdatePage)).size() == 1; }));
    EXPECT_EQ(LastUpdate().body, "UserToken=tok&App=Tessarin&Action=Delete&ID=5");

    // A playlist the store does not hold is left alone; a never published one is deleted on the server too.
    PlaylistDetail stranger;
    store->DeletePlaylist(&stranger);
    store->DeletePlaylist(made);
    EXPECT_EQ(store->GetCount(), 1);
    ASSERT_TRUE(m_pump.RunUntil([&] { return m_server.RequestsTo(PathOf(kUpdatePage)).size() == 2; }));
    EXPECT_EQ(LastUpdate().body, "UserToken=tok&App=Tessarin&Action=Delete&ID=0");
}

TEST_F(Store, PlaysStoredPlaylistsLocally)
{
    LogIn("tok");
    ASSERT_TRUE(WaitLoaded());
    const char* tmp = std::getenv("TMPDIR");
    const std::optional<std::string> savedTmp = tmp ? std::optional<std::string>(tmp) : std::nullopt;
    ::setenv("TMPDIR", m_temp.c_str(), 1);
    std::vector<std::string> opened;
    SetShellOpenHandler([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    // Playlist 6's only file belongs to an unmatched track: nothing to play.
    EXPECT_EQ(store->PlayPlaylistLocal(*store->GetAt(0)), 1);
    EXPECT_EQ(store->PlayPlaylistLocal(*store->GetAt(1)), 0);
    SetShellOpenHandler({});
    if (savedTmp)
        ::setenv("TMPDIR", savedTmp->c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    EXPECT_EQ(opened, std::vector<std::string>{(m_temp / "pmt00001.m3u").string()});
    std::ifstream played(m_temp / "pmt00001.m3u");
    const std::string text((std::istreambuf_iterator<char>(played)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "/music/50.mp3\n");
}

TEST_F(Store, PublishCreatesThenUpdates)
{
    m_server.SetResponse(PathOf(kUpdatePage), 200, "<R><PlaylistID>77</PlaylistID></R>");
    PlaylistDetail* playlist = store->NewPlaylist();
    EXPECT_EQ(playlist->Summary.Playmaker.Handle, "mira");
    EXPECT_EQ(playlist->Summary.Playmaker.userID, 42);

    CPlaylistEditorModel& editor = Editor();
    editor.LoadPlaylist(*playlist);
    EXPECT_EQ(editor.title, "New Playlist");
    EXPECT_EQ(editor.playmaker, "mira");
    editor.title = "Road trip & more";
    editor.description = "line one\r\nline two";
    editor.theme = "Summer";
    editor.genre = 3;
    editor.mood = 4;
    PerformanceSummary first;
    first.performanceID = 101;
    first.Comment = "best\r\nsong";
    editor.Rows().AddMatchedRow(first);
    PerformanceSummary second;
    second.performanceID = 102;
    editor.Rows().AddMatchedRow(second);

    struct Progress : IPublishProgress {
        void Show() override { shown.push_back("show"); }
        void Hide() override { shown.push_back("hide"); }
        std::vector<std::string> shown;
    } progress;
    EXPECT_EQ(editor.Publish(&progress), PublishOutcome::Published);
    EXPECT_EQ(progress.shown, (std::vector<std::string>{"show", "hide"}));
    const RecordedRequest created = LastUpdate();
    EXPECT_EQ(created.Form("Action"), "Create");
    EXPECT_EQ(created.Form("ID"), "0");
    EXPECT_EQ(created.Form("UserToken"), "tok");
    EXPECT_EQ(created.Form("Name"), "Road trip & more");
    EXPECT_EQ(created.Form("EntryCount"), "2");
    EXPECT_EQ(created.Form("PrimaryGenreID"), "3");
    EXPECT_EQ(created.Form("PrimaryMoodID"), "4");
    EXPECT_EQ(created.Form("IsPublic"), "1");
    EXPECT_EQ(created.Form("Description"), "line one\r\nline two");
    EXPECT_EQ(created.Form("TrackID1"), "101");
    EXPECT_EQ(created.Form("TrackComment1"), "best<BR>song");
    EXPECT_EQ(created.Form("TrackID2"), "102");
    EXPECT_EQ(playlist->Summary.playlistID, 77);
    EXPECT_EQ(playlist->Summary.NumberOfPerformances, 2);
    ASSERT_EQ(playlist->Tracks.size(), 2u);
    EXPECT_EQ(playlist->Tracks[0]->Comment, "best\r\nsong");

    // The second publish updates the number the server gave, here with no tracks left.
    editor.Rows().ResetRows();
    EXPECT_EQ(editor.Publish(), PublishOutcome::Published);
    const RecordedRequest updated = LastUpdate();
    EXPECT_EQ(updated.Form("Action"), "Update");
    EXPECT_EQ(updated.Form("ID"), "77");
    EXPECT_EQ(updated.Form("EntryCount"), "0");
    EXPECT_FALSE(updated.HasForm("TrackID1"));
    EXPECT_EQ(log, (std::vector<std::string>{"added 0", "updated 77", "updated 77"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Store, PublishRefusedOrFailed)
{
    PlaylistDetail* playlist = store->NewPlaylist();
    CPlaylistEditorModel& editor = Editor();
    editor.LoadPlaylist(*playlist);

    // Still working, then "click here", then failed: each holds the publish back.
    m_server.Hold(PathOf(kResolvePage));
    editor.Rows().AddTrackRow("Nothing", "Nobody", std::nullopt, "");
    EXPECT_EQ(editor.Publish(), PublishOutcome::Refused);
    m_server.Release(PathOf(kResolvePage));
    ASSERT_TRUE(m_pump.RunUntil([&] { return editor.Rows().Row(0).state == MatchState::ClickHere; }));
    EXPECT_EQ(editor.Publish(), PublishOutcome::Refused);
    editor.Rows().DeleteRow(0);
    editor.Rows().AddTrackRow("Broken", "Seether", std::nullopt, "");
    ASSERT_TRUE(m_pump.RunUntil([&] { return editor.Rows().Row(0).state == MatchState::Error; }));
    EXPECT_EQ(editor.Publish(), PublishOutcome::Refused);
    EXPECT_EQ(messages, std::vector<std::string>(3, LoadResourceString(IDS_UNRESOLVED_PERFORMANCES)));
    EXPECT_EQ(m_server.RequestsTo(PathOf(kUpdatePage)).size(), 0u);

    // An answer without a PlaylistID is no publish: the editor stays open.
    messages.clear();
    editor.Rows().DeleteRow(0);
    m_server.SetResponse(PathOf(kUpdatePage), 200, "<R><Exception>refused</Exception></R>");
    EXPECT_EQ(editor.Publish(), PublishOutcome::Failed);
    EXPECT_EQ(messages, std::vector<std::string>{LoadResourceString(IDS_PUBLISH_FAILED)});
    EXPECT_EQ(playlist->Summary.playlistID, 0);
    EXPECT_EQ(log.back(), "updated 0");
}

TEST_F(Store, TheEditorPublishesOnlyARecordTheStoreStillHolds)
{
    struct Gone : IPlaylistEditorListener {
        void OnEditedPlaylistGone() override { ++told; }
        int told = 0;
    };
    const struct {
        const char* what;
        std::function<void()> letGo;
    } cases[] = {
        {"logout", [&] { LogIn(""); }},
        {"logout and login again",
         [&] {
             LogIn("");
             LogIn("tok");
         }},
        {"login again", [&] { LogIn("tok"); }},
        {"deleted", [&] { store->DeletePlaylist(store->GetAt(0)); }},
    };
    m_server.SetResponse(PathOf(kUpdatePage), 200, "<R><PlaylistID>99</PlaylistID></R>");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LogIn("tok");
        ASSERT_TRUE(WaitLoaded());
        Gone gone;
        CPlaylistEditorModel& editor = Editor();
        editor.SetListener(&gone);
        editor.LoadPlaylist(*store->GetAt(0));
        const std::size_t sent = m_server.RequestsTo(PathOf(kUpdatePage)).size();
        c.letGo();
        EXPECT_EQ(gone.told, 1);
        EXPECT_EQ(editor.Playlist(), nullptr);
        // A publish is synchronous: had it sent anything, the server would have it now.
        EXPECT_EQ(editor.Publish(), PublishOutcome::Closed);
        for (const RecordedRequest& request : m_server.RequestsTo(PathOf(kUpdatePage)))
            EXPECT_EQ(request.Form("Action"), "Delete");
        EXPECT_LE(m_server.RequestsTo(PathOf(kUpdatePage)).size(), sent + 1);
        editor.SetListener(nullptr);
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(Store, PlaylistsWhoseTracksDidNotLoadAreNeitherPublishedNorPlayed)
{
    m_server.SetResponse(PathOf(kDetailsPage), [](const RecordedRequest& request) {
        if (request.Form("playlist") == "6")
            return ScriptedResponse{500, ""};
        return ScriptedResponse{200, "<R><PlaylistDetail>" + PlaylistXml(5, "Five") + "</PlaylistDetail>" +
                                         TrackXml(50, "T5", "A") + "</R>"};
    });
    LogIn("tok");
    ASSERT_TRUE(m_pump.RunUntil([&] { return m_server.RequestsTo(PathOf(kDetailsPage)).size() == 2; }));
    ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
    m_pump.RunPending();
    EXPECT_FALSE(store->IsLoaded());
    ASSERT_EQ(store->GetCount(), 2);
    PlaylistDetail& loaded = *store->GetAt(0);
    PlaylistDetail& unloaded = *store->GetAt(1);
    EXPECT_TRUE(loaded.tracksLoaded);
    EXPECT_FALSE(unloaded.tracksLoaded);

    CPlaylistEditorModel& editor = Editor();
    editor.LoadPlaylist(unloaded);
    PerformanceSummary track;
    track.performanceID = 77;
    editor.Rows().AddMatchedRow(track);
    EXPECT_EQ(editor.Publish(), PublishOutcome::Refused);
    EXPECT_EQ(store->PublishPlaylist(unloaded), E_FAIL);
    EXPECT_EQ(store->PlayPlaylistLocal(unloaded), 0);
    EXPECT_EQ(messages, std::vector<std::string>(2, LoadResourceString(IDS_PLAYLIST_TRACKS_NOT_LOADED)));
    EXPECT_EQ(m_server.RequestsTo(PathOf(kUpdatePage)).size(), 0u);
    EXPECT_TRUE(unloaded.Tracks.empty());

    // The playlist whose tracks came is published as usual.
    m_server.SetResponse(PathOf(kUpdatePage), 200, "<R><PlaylistID>5</PlaylistID></R>");
    editor.LoadPlaylist(loaded);
    EXPECT_EQ(editor.Publish(), PublishOutcome::Published);
    EXPECT_EQ(LastUpdate().Form("TrackID1"), "50");
}

TEST_F(Store, AFailedDeleteIsShownAndThePlaylistKept)
{
    const struct {
        const char* what;
        int status;
        const char* answer;
    } cases[] = {
        {"refused by the server", 200, "<R><Exception>com.velmar.InputException: not yours</Exception></R>"},
        {"transport failure", 500, ""},
    };
    LogIn("tok");
    ASSERT_TRUE(WaitLoaded());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        log.clear();
        m_server.SetResponse(PathOf(kUpdatePage), c.status, c.answer);
        PlaylistDetail* playlist = store->GetAt(0);
        const std::int32_t id = playlist->Summary.playlistID;
        store->DeletePlaylist(playlist);
        EXPECT_EQ(store->GetCount(), 1);
        ASSERT_TRUE(m_pump.RunUntil([&] { return !messages.empty(); }));
        EXPECT_EQ(messages, std::vector<std::string>{LoadResourceString(IDS_DELETE_PLAYLIST_FAILED)});
        ASSERT_EQ(store->GetCount(), 2);
        EXPECT_EQ(store->GetAt(1), playlist);
        EXPECT_EQ(playlist->Summary.playlistID, id);
        EXPECT_EQ(playlist->Tracks.size(), 2u);
        const std::string name = std::to_string(id);
        EXPECT_EQ(log, (std::vector<std::string>{"removed " + name, "added " + name}));
    }

    // A confirmed delete is final.
    messages.clear();
    m_server.SetResponse(PathOf(kUpdatePage), 200, "<R><PlaylistID>6</PlaylistID><DeleteSuccess>1</DeleteSuccess></R>");
    store->DeletePlaylist(store->GetAt(0));
    ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
    m_pump.RunPending();
    EXPECT_EQ(store->GetCount(), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Store, EditorLoadsAndTakesDroppedDocuments)
{
    LogIn("tok");
    ASSERT_TRUE(WaitLoaded());
    CPlaylistEditorModel& editor = Editor();
    editor.LoadPlaylist(*store->GetAt(0));
    ASSERT_EQ(editor.Rows().GetTrackCount(), 2);
    EXPECT_EQ(editor.Rows().Row(0).state, MatchState::Match);
    EXPECT_EQ(editor.Rows().LocalFileCount(), 2);
    EXPECT_EQ(editor.title, "Five");

    const std::string path = (m_temp / "saved.XML").string();
    std::ofstream(path) << "<R><PlaylistDetail><PlaylistSummary playlistID='3'><Name>Dropped</Name>"
                           "<PlaylistDescription>About</PlaylistDescription><PrimaryMoodID>2</PrimaryMoodID>"
                           "<PrimaryGenreID>5</PrimaryGenreID><Theme>Rain</Theme></PlaylistSummary></PlaylistDetail>"
                        << TrackXml(4, "Help", "the beatles", 7, "from the file") << "</R>";
    std::ofstream((m_temp / "skip.mp3").string()) << std::string(200, 'x');
    editor.DropFilesOnPane({(m_temp / "skip.mp3").string(), path});
    EXPECT_EQ(editor.title, "Dropped");
    EXPECT_EQ(editor.description, "About");
    EXPECT_EQ(editor.mood, 2);
    EXPECT_EQ(editor.genre, 5);
    EXPECT_EQ(editor.theme, "Rain");
    ASSERT_EQ(editor.Rows().GetTrackCount(), 3);
    EXPECT_EQ(editor.Rows().GetComment(2), "from the file");
    EXPECT_EQ(editor.Rows().Row(2).state, MatchState::Working);
    ASSERT_TRUE(m_pump.RunUntil([&] { return editor.Rows().Row(2).state == MatchState::Match; }));
}
