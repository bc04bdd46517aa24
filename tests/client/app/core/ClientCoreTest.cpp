// The application core: start-up and exit order against loopback servers, the
// track library through the registered component, previews and the upgrade check.
#include "client/app/CheckForUpgradeRequest.h"
#include "client/app/ClientCore.h"
#include "client/app/ClientShell.h"
#include "client/app/LoginPrompt.h"
#include "client/app/Preferences.h"
#include "client/app/UserLoginRequest.h"
#include "client/catalogue/LookupTables.h"
#include "client/catalogue/LookupTablesModel.h"
#include "client/editing/PlaylistStore.h"
#include "client/favorites/FavoritesModel.h"
#include "client/localmedia/LocalPlayer.h"
#include "client/protocol/ServerSettings.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/Threading.h"
#include "tests/support/ScopedTestFolders.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestPump.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

constexpr const char* kLogin = "<Session userToken=\"sess:77\"><UserID>12</UserID></Session>";
constexpr const char* kTables = "<Document><Select Name=\"Mood\"><Item ID=\"3\" Text=\"Calm\"/></Select></Document>";

int RunTool(const std::string& command)
{
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class CRecordingPrompt : public ILoginPrompt {
public:
    explicit CRecordingPrompt(Log& log) : m_log(log) {}
    bool RunLoginDialog(CUserLoginRequest& request, LoginDialogResult& result) override
    {
        m_log.push_back("login dialog");
        if (onShown)
            onShown();
        std::string error;
        if (Failed(request.Login("ann", "pw", error)))
            return false;
        result.handle = "ann";
        result.password = "pw";
        result.token = request.Token();
        result.userId = request.UserId();
        return true;
    }
    std::function<void()> onShown;

private:
    Log& m_log;
};

// The frame's panes as far as the core can tell: listeners of the session,
// the playlist store, the favorites and the lookup tables.
class CRecordingPanes : public ISessionListener,
                        public IPlaylistStoreListener,
                        public IFavoritesListener,
                        public ITablesListener {
public:
    explicit CRecordingPanes(Log& log) : m_log(log) {}
    void OnSessionChanged(const std::string& handle, const std::string&) override
    {
        m_log.push_back("frame session '" + handle + "'");
        if (onSession)
            onSession();
    }
    void OnPlaylistsLoading() override { m_log.push_back("store loading"); }
    void OnPlaylistsLoaded() override {}
    void OnPlaylistsCleared() override { m_log.push_back("store cleared"); }
    void OnPlaylistDetailLoaded(PlaylistDetail*) override {}
    void OnPlaylistAdded(PlaylistDetail*) override {}
    void OnPlaylistRemoved(PlaylistDetail*) override {}
    void OnPlaylistUpdated(PlaylistDetail*) override {}
    void OnFavoritesReset() override { m_log.push_back("favorites reset"); }
    void OnFavoritesLoaded() override {}
    void OnFavoritesCleared() override { m_log.push_back("favorites cleared"); }
    void OnFavoritesReload() override {}
    void OnFavoriteAdded(std::int32_t, std::int32_t) override {}
    void OnOperationFinished(CBookmarkOperation*) override {}
    void OnTablesChanged() override { ++tablesChanged; }

    std::function<void()> onSession;
    int tablesChanged = 0;

private:
    Log& m_log;
};

class CRecordingShell : public IClientShell {
public:
    void CreateMainWindow() override
    {
        log.push_back("main window");
        if (onMainWindow)
            onMainWindow();
    }
    void RunWelcomeDialog(const std::string& versionText) override
    {
        log.push_back("welcome " + versionText);
        if (closeDuringWelcome)
            mainWindow = false;
    }
    bool MainWindowExists() const override { return mainWindow; }
    void CreatePreviewBrowser() override { log.push_back("preview browser"); }
    ILoginPrompt& LoginPrompt() override { return prompt; }
    void AcceptDroppedFiles() override { log.push_back("drops"); }
    void NavigatePreview(const std::string& url) override { previews.push_back(url); }
    void ShowUpgradeStatus(const CCheckForUpgradeRequest& request) override
    {
        ++upgradeShown;
        upgradeAvailable = request.UpgradeAvailable();
    }
    void DestroyExitWindows() override
    {
        log.push_back("exit windows");
        if (onExitWindows)
            onExitWindows();
    }

    Log log;
    CRecordingPrompt prompt{log};
    bool mainWindow = true;
    bool closeDuringWelcome = false;
    std::vector<std::string> previews;
    int upgradeShown = 0;
    bool upgradeAvailable = false;
    std::function<void()> onMainWindow;
    std::function<void()> onExitWindows;
};

class ClientCoreTest : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("no_proxy", "127.0.0.1,localhost", 1);
        m_secure.TrustCertificate();
        ASSERT_EQ(RunTool(std::string(REGSVR_PATH) + " " + CORALIND_PATH), 0);
        CPreferences().SetString(Pref::AppServer, CLoopbackHttpServer::kHost);
        m_secure.SetResponse(ServerPagePath("UserLogin.jsp"), 200, kLogin);
        m_plain.SetResponse(ServerPagePath("TablesToXML.jsp"), 200, kTables);
        SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
            m_messages.push_back(text);
            return kIdOk;
        });
    }
    void TearDown() override
    {
        WaitForWorkerThreads(std::chrono::seconds(20));
        m_pump.RunPending();
        SetMessageBoxHandler({});
        unsetenv("CORVANTA_CA_FILE");
    }

    // The loopback ports stand in for the port table from the first request on.
    void Prepare(CClientCore& core) const
    {
        core.Session().ServerSettings().SetPortOverride(m_plain.Port(), m_secure.Port());
    }

    std::vector<std::string> PlainPaths() const
    {
        std::vector<std::string> paths;
        for (const RecordedRequest& request : m_plain.Requests())
            paths.push_back(request.path);
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    std::string LibraryText() const
    {
        std::ifstream in(m_folders.Data() / "tracks.txt", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    CScopedTestFolders m_folders;
    CTestPump m_pump;
    CLoopbackHttpServer m_plain{false};
    CLoopbackHttpServer m_secure{true};
    std::vector<std::string> m_messages;
};

TEST_F(ClientCoreTest, StartsInOrderAndExitsInTheReverseOrder)
{
    m_plain.SetResponse(ServerPagePath("CheckForUpgrade.jsp"), 200,
                        "<U><UpgradeAvailable>1</UpgradeAvailable><NewVersion>2.0</NewVersion></U>");
    // The tables' answer waits until start-up is over, so the defaults are seen.
    m_plain.Hold(ServerPagePath("TablesToXML.jsp"));
    CRecordingShell shell;
    CClientCore core(shell);
    Prepare(core);
    CRecordingPanes panes(shell.log);

    shell.onMainWindow = [&] {
        // Everything before the main window exists: the upgrade check and the
        // tables are already on their way, with the defaults in place.
        ASSERT_TRUE(m_plain.WaitForRequests(2));
        EXPECT_EQ(PlainPaths(),
                  (std::vector<std::string>{ServerPagePath("CheckForUpgrade.jsp"), ServerPagePath("TablesToXML.jsp")}));
        EXPECT_EQ(m_plain.RequestsTo(ServerPagePath("CheckForUpgrade.jsp")).at(0).body, "version=1.1.0.5");
        EXPECT_TRUE(core.Session().KeepAliveRunning());
        ASSERT_NE(core.LookupTables(), nullptr);
        ASSERT_NE(core.LookupTables()->Lookup("Genres"), nullptr);
        EXPECT_EQ(core.LookupTables()->Lookup("Genres")->size(), 2u);
        ASSERT_NE(core.PlaylistStore(), nullptr);
        ASSERT_NE(core.FavoritesModel(), nullptr);
        EXPECT_NE(core.SearchController(), nullptr);
        core.Session().AddSessionListener(&panes);
        core.PlaylistStore()->AddListener(&panes);
        core.FavoritesModel()->AddListener(&panes);
        core.AddTablesListener(&panes);
    };
    shell.prompt.onShown = [&] {
        EXPECT_FALSE(std::filesystem::exists(m_folders.Data() / "tracks.txt"));
        EXPECT_FALSE(core.HasTrackLibrary());
    };
    EXPECT_EQ(core.PreviouslyRun(), 0u);
    core.StartUp();
    EXPECT_EQ(core.PreviouslyRun(), 0u);

    // The models hear of the login before the panes that registered later.
    EXPECT_EQ(shell.log, (Log{"main window", "welcome 1.1.0.5", "preview browser", "login dialog", "store loading",
                              "favorites reset", "frame session 'ann'", "drops"}));
    EXPECT_TRUE(core.HasTrackLibrary());
    EXPECT_TRUE(std::filesystem::exists(m_folders.Data() / "tracks.txt"));
    EXPECT_FALSE(core.CanLogIn());
    EXPECT_TRUE(core.CanLogOut());

    EXPECT_EQ(panes.tablesChanged, 0);
    m_plain.Release(ServerPagePath("TablesToXML.jsp"));
    ASSERT_TRUE(m_pump.RunUntil([&] { return shell.upgradeShown == 1 && panes.tablesChanged == 1; }));
    EXPECT_TRUE(shell.upgradeAvailable);
    ASSERT_NE(core.LookupTables()->Lookup("Mood"), nullptr);
    EXPECT_EQ(core.LookupTables()->Lookup("Genres"), nullptr);

    shell.log.clear();
    panes.onSession = [&] {
        // The logout reaches the models while they are still listening, and
        // before the keep-alive stops.
        EXPECT_NE(core.PlaylistStore(), nullptr);
        EXPECT_TRUE(core.Session().KeepAliveRunning());
    };
    shell.onExitWindows = [&] {
        EXPECT_EQ(core.PlaylistStore(), nullptr);
        EXPECT_EQ(core.FavoritesModel(), nullptr);
        EXPECT_EQ(core.SearchController(), nullptr);
        EXPECT_EQ(core.UpgradeRequest(), nullptr);
        EXPECT_FALSE(core.Session().KeepAliveRunning());
        EXPECT_EQ(core.LookupTables(), nullptr);
        EXPECT_EQ(CPreferences().GetNumber(Pref::PreviouslyRun, 0), 0u);
    };
    const std::size_t secureBefore = m_secure.RequestCount();
    core.ShutDown();
    EXPECT_EQ(shell.log, (Log{"store cleared", "favorites cleared", "frame session ''", "exit windows"}));
    ASSERT_EQ(m_secure.RequestCount(), secureBefore + 1);
    EXPECT_EQ(m_secure.LastRequest().Form("Action"), "Logout");
    EXPECT_EQ(m_secure.LastRequest().Form("UserToken"), "sess:77");
    EXPECT_FALSE(core.Session().IsLoggedIn());
    EXPECT_EQ(CPreferences().GetNumber(Pref::PreviouslyRun, 0), 1u);
    EXPECT_FALSE(core.HasTrackLibrary());
    core.Session().RemoveSessionListener(&panes);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(ClientCoreTest, ServerAddressFromThePreferencesAndTheServerOptions)
{
    struct Case {
        const char* name;
        std::function<void()> prepare;
        const char* plain;
        const char* secure;
    };
    const Case cases[] = {
        {"first start", [this] { std::filesystem::remove_all(m_folders.Registry()); },
         "http://localhost:80/corvanta/production/", "https://localhost:443/corvanta/production/"},
        {"empty appserver", [] { CPreferences().SetString(Pref::AppServer, ""); },
         "http://localhost:80/corvanta/production/", "https://localhost:443/corvanta/production/"},
        {"own host, application-server ports",
         [] {
             CPreferences preferences;
             preferences.SetString(Pref::AppServer, "srv.example");
             preferences.SetNumber(Pref::DefaultPorts, 0);
         },
         "http://srv.example:7001/corvanta/production/", "https://srv.example:7002/corvanta/production/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        CRecordingShell shell;
        CClientCore core(shell);
        core.Session().LoadServerSettings();
        EXPECT_EQ(core.GetServerBaseUrl(false), c.plain);
        EXPECT_EQ(core.GetServerBaseUrl(true), c.secure);
        EXPECT_EQ(core.HelpUrl(), std::string(c.plain) + "tessarin/help/version1.1/helpindex.htm");
    }

    // The Server Options dialog's OK holds for the next request and the next start.
    CRecordingShell shell;
    CClientCore core(shell);
    core.Session().LoadServerSettings();
    core.ApplyServerOptions("other.example", false);
    EXPECT_EQ(core.GetServerBaseUrl(false), "http://other.example:7001/corvanta/production/");
    core.ApplyServerOptions("other.example", true);
    EXPECT_EQ(core.GetServerBaseUrl(true), "https://other.example:443/corvanta/production/");
    CPreferences preferences;
    EXPECT_EQ(preferences.GetString(Pref::AppServer), "other.example");
    EXPECT_EQ(preferences.GetNumber(Pref::DefaultPorts, 7), 1u);
}

TEST_F(ClientCoreTest, MainWindowClosedDuringTheWelcomeSkipsWhatNeedsIt)
{
    CRecordingShell shell;
    shell.closeDuringWelcome = true;
    CClientCore core(shell);
    Prepare(core);
    core.StartUp();
    EXPECT_EQ(shell.log, (Log{"main window", "welcome 1.1.0.5"}));
    EXPECT_EQ(m_secure.RequestCount(), 0u);
    EXPECT_TRUE(core.HasTrackLibrary());
    core.ShutDown();
    EXPECT_EQ(m_secure.RequestCount(), 0u);
    EXPECT_EQ(CPreferences().GetNumber(Pref::PreviouslyRun, 0), 1u);
}

TEST_F(ClientCoreTest, TrackLibraryKeepsLocalFilesAcrossRuns)
{
    struct Case {
        std::int32_t performanceID;
        const char* path;
        const char* found;  // after recording
    };
    const Case cases[] = {
        {1203, "/music/a, b.mp3", "/music/a, b.mp3"},
        {77, "/música/ñandú.mp3", "/música/ñandú.mp3"},
        {-4, "/music/negative.mp3", "/music/negative.mp3"},
        {5, "", ""},  // an empty path records nothing
    };
    {
        CRecordingShell shell;
        shell.closeDuringWelcome = true;
        CClientCore core(shell);
        Prepare(core);
        core.StartUp();
        ASSERT_TRUE(core.HasTrackLibrary());
        for (const Case& c : cases) {
            SCOPED_TRACE(c.performanceID);
            EXPECT_EQ(core.GetLocalFile(c.performanceID), "");
            core.RecordLocalFile(c.performanceID, c.path);
            EXPECT_EQ(core.GetLocalFile(c.performanceID), c.found);
        }
        core.RecordLocalFile(1203, "/music/replaced.mp3");
        EXPECT_EQ(core.GetLocalFile(1203), "/music/replaced.mp3");
        core.ShutDown();
    }
    EXPECT_NE(LibraryText().find("77,/música/ñandú.mp3\n"), std::string::npos);

    CRecordingShell shell;
    shell.closeDuringWelcome = true;
    CClientCore core(shell);
    Prepare(core);
    core.StartUp();
    EXPECT_EQ(core.GetLocalFile(1203), "/music/replaced.mp3");
    EXPECT_EQ(core.GetLocalFile(77), "/música/ñandú.mp3");
    EXPECT_EQ(core.GetLocalFile(-4), "/music/negative.mp3");
    EXPECT_EQ(core.GetLocalFile(5), "");
}

TEST_F(ClientCoreTest, StoredPlaylistsLearnTheirLocalFilesAndPlayThem)
{
    m_plain.SetResponse(ServerPagePath("GetUserPlaylists.jsp"), 200,
                        "<R><PlaylistSummary playlistID='5'><Name>Five</Name></PlaylistSummary></R>");
    m_plain.SetResponse(ServerPagePath("GetPlaylistDetails.jsp"), 200,
                        "<R><PlaylistDetail><PlaylistSummary playlistID='5'/></PlaylistDetail>"
                        "<PerformanceSummary performanceID='50'/><PerformanceSummary performanceID='51'/>"
                        "<PerformanceSummary performanceID='0'/></R>");
    // The details come once the library is there and knows track 50.
    m_plain.Hold(ServerPagePath("GetPlaylistDetails.jsp"));
    CRecordingShell shell;
    CClientCore core(shell);
    Prepare(core);
    bool loaded = false;
    struct CLoadedListener : IPlaylistStoreListener {
        bool& loaded;
        explicit CLoadedListener(bool& flag) : loaded(flag) {}
        void OnPlaylistsLoading() override {}
        void OnPlaylistsLoaded() override { loaded = true; }
        void OnPlaylistsCleared() override {}
        void OnPlaylistDetailLoaded(PlaylistDetail*) override {}
        void OnPlaylistAdded(PlaylistDetail*) override {}
        void OnPlaylistRemoved(PlaylistDetail*) override {}
        void OnPlaylistUpdated(PlaylistDetail*) override {}
    } listener(loaded);
    shell.onMainWindow = [&] { core.PlaylistStore()->AddListener(&listener); };
    core.StartUp();
    core.RecordLocalFile(50, "/music/fifty.mp3");
    // The list has come, so the details are asked for.
    ASSERT_TRUE(m_pump.RunUntil([&] { return core.PlaylistStore()->GetCount() == 1; }));
    ASSERT_TRUE(m_plain.WaitForHeld(1));
    m_plain.Release(ServerPagePath("GetPlaylistDetails.jsp"));
    ASSERT_TRUE(m_pump.RunUntil([&] { return loaded; }));

    ASSERT_EQ(core.PlaylistStore()->GetCount(), 1);
    const PlaylistDetail& playlist = *core.PlaylistStore()->GetAt(0);
    ASSERT_EQ(playlist.Tracks.size(), 3u);
    EXPECT_EQ(playlist.Tracks[0]->localFilePath, "/music/fifty.mp3");
    EXPECT_EQ(playlist.Tracks[1]->localFilePath, "");
    EXPECT_EQ(CPlaylistStore::CountLocalTracks(playlist), 1);

    std::vector<std::string> opened;
    SetShellOpenHandler([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    const std::string tmp = (m_folders.Root() / "tmp").string();
    std::filesystem::create_directories(tmp);
    setenv("TMPDIR", tmp.c_str(), 1);
    CLocalPlayer player(CLocalPlayer::kStorePrefix);
    EXPECT_EQ(player.Play(playlist), 1);
    unsetenv("TMPDIR");
    SetShellOpenHandler({});
    EXPECT_EQ(opened, (std::vector<std::string>{tmp + "/pmt00001.m3u"}));
    std::ifstream in(tmp + "/pmt00001.m3u");
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "/music/fifty.mp3\n");
    core.ShutDown();
}

TEST_F(ClientCoreTest, WithoutAUsableComponentNothingIsRecordedOrFound)
{
    struct Case {
        const char* name;
        std::function<void()> spoil;
    };
    const Case cases[] = {
        {"class not registered", [] { ASSERT_EQ(RunTool(std::string(REGSVR_PATH) + " /u " + CORALIND_PATH), 0); }},
        {"library file cannot be made",
         [this] {
             std::ofstream(m_folders.Root() / "plain-file") << "x";
             setenv("CORVANTA_DATA_DIR", (m_folders.Root() / "plain-file" / "data").c_str(), 1);
         }},
    };
    const std::string data = m_folders.Data().string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(RunTool(std::string(REGSVR_PATH) + " " + CORALIND_PATH), 0);
        setenv("CORVANTA_DATA_DIR", data.c_str(), 1);
        c.spoil();
        CRecordingShell shell;
        CClientCore core(shell);
        Prepare(core);
        core.StartUp();
        // The rest of the program runs without it.
        EXPECT_EQ(shell.log.back(), "drops");
        EXPECT_FALSE(core.HasTrackLibrary());
        core.RecordLocalFile(9, "/music/nine.mp3");
        EXPECT_EQ(core.GetLocalFile(9), "");
        core.ShutDown();
    }
}

TEST_F(ClientCoreTest, PreviewsCarryTheTokenAndTheTrackAddressReachesTheBrowser)
{
    m_plain.SetResponse(ServerPagePath("fulfill/fulfillperformance.jsp"), 200,
                        "<F><URL>http://media.example/p/5</URL></F>");
    CRecordingShell shell;
    CClientCore core(shell);
    Prepare(core);
    core.StartUp();

    core.PreviewPerformance(5);
    ASSERT_TRUE(m_pump.RunUntil([&] { return !shell.previews.empty(); }));
    EXPECT_EQ(shell.previews, (std::vector<std::string>{"http://media.example/p/5"}));
    const RecordedRequest track = m_plain.RequestsTo(ServerPagePath("fulfill/fulfillperformance.jsp")).at(0);
    EXPECT_EQ(track.body, "user=sess:77&PerformanceID=5&FulfillmentTypeID=1&App=Tessarin");

    const std::string playlistPage = ServerPagePath("fulfill/FulfillPlaylist.jsp");
    core.PreviewPlaylist(31);
    // Recorded before its answer goes back, so at the latest when the completion arrives.
    ASSERT_TRUE(m_pump.RunUntil([&] { return !m_plain.RequestsTo(playlistPage).empty(); }));
    EXPECT_EQ(m_plain.RequestsTo(playlistPage).at(0).body, "user=sess:77&PlaylistID=31&App=Tessarin");
    core.ShutDown();
}

TEST_F(ClientCoreTest, UpgradeCommandShowsAKnownAnswerWithoutAskingAgain)
{
    struct Case {
        const char* answer;
        int shownAtStart;
        bool available;
    };
    const Case cases[] = {
        {"<U><UpgradeAvailable>0</UpgradeAvailable></U>", 0, false},
        {"<U><UpgradeAvailable>1</UpgradeAvailable><NewVersion>2.0</NewVersion></U>", 1, true},
    };
    const std::string page = ServerPagePath("CheckForUpgrade.jsp");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        m_plain.SetResponse(page, 200, c.answer);
        CRecordingShell shell;
        shell.closeDuringWelcome = true;
        CClientCore core(shell);
        Prepare(core);
        core.StartUp();
        ASSERT_TRUE(m_pump.RunUntil([&] { return core.UpgradeRequest()->Answered(); }));
        m_pump.RunPending();
        EXPECT_EQ(shell.upgradeShown, c.shownAtStart);
        const std::size_t asked = m_plain.RequestsTo(page).size();
        core.CheckForUpgrade();
        EXPECT_EQ(shell.upgradeShown, c.shownAtStart + 1);
        EXPECT_EQ(shell.upgradeAvailable, c.available);
        EXPECT_EQ(m_plain.RequestsTo(page).size(), asked);
        core.ShutDown();
    }
}

TEST_F(ClientCoreTest, UnreadableUpgradeAnswerShowsNothingAndTheCommandAsksAgain)
{
    const std::string page = ServerPagePath("CheckForUpgrade.jsp");
    m_plain.SetResponse(page, 200, "not xml");
    CRecordingShell shell;
    shell.closeDuringWelcome = true;
    CClientCore core(shell);
    Prepare(core);
    core.StartUp();
    ASSERT_TRUE(m_pump.RunUntil([&] { return core.UpgradeRequest()->LastAnswerFailed(); }));
    m_plain.SetResponse(page, 200, "<U><UpgradeAvailable>1</UpgradeAvailable></U>");
    core.CheckForUpgrade();
    ASSERT_TRUE(m_pump.RunUntil([&] { return shell.upgradeShown == 1; }));
    EXPECT_EQ(m_plain.RequestsTo(page).size(), 2u);
    core.ShutDown();
}

}  // namespace
