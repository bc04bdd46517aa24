// The application object against loopback servers: the start-up order, the
// login after the welcome dialog, exit, and the application's commands.
#include "AppFixture.h"
#include "tests/support/ModalDriver.h"

#include "client/app/ClientCore.h"
#include "client/app/Preferences.h"
#include "client/app/Session.h"
#include "client/ui/app/ClientApp.h"
#include "client/ui/frame/LoginStatusBar.h"
#include "client/ui/frame/MainFrame.h"
#include "client/ui/web/DetailViewer.h"
#include "client/ui/web/ProgressDlg.h"
#include "client/app/CheckForUpgradeRequest.h"
#include "client/ui/shell/ControlId.h"
#include "platform/Shell.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <atomic>

namespace {

constexpr const char* kGoodLogin = "<Session userToken=\"sess:41\"><UserID>41</UserID></Session>";

class SessionRecorder : public ISessionListener {
public:
    void OnSessionChanged(const std::string& handle, const std::string& token) override
    {
        changes.emplace_back(handle, token);
    }
    std::vector<std::pair<std::string, std::string>> changes;
};

class ClientAppTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        CPreferences preferences;
        preferences.SetString(Pref::AppServer, CLoopbackHttpServer::kHost);
        preferences.SetNumber(Pref::DefaultPorts, 0);
        m_secure.SetResponse(kLoginPage, [this](const RecordedRequest& request) {
            if (request.Form("Action") == "Login")
                loginAfterWelcome = welcomeClosed.load();
            return ScriptedResponse{200, request.Form("Action") == "Login" ? kGoodLogin : ""};
        });
    }

    /// A fresh application pointed at the loopback servers.
    std::unique_ptr<CClientApp> MakeApp()
    {
        auto app = std::make_unique<CClientApp>();
        app->Session().ServerSettings().SetPortOverride(m_plain.Port(), m_secure.Port());
        // The application's message boxes replace the fixture's; record again.
        SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned type) {
            m_messages.push_back({text, caption, type});
            return kIdOk;
        });
        return app;
    }

    static void SaveAutomaticLogin()
    {
        CPreferences preferences;
        preferences.SetNumber(Pref::AutoLogin, 1);
        preferences.SetString(Pref::UserHandle, "demo");
        preferences.SetString(Pref::Password, "demo");
    }

    std::vector<RecordedRequest> LoginsWith(const char* action) const
    {
        std::vector<RecordedRequest> found;
        for (const RecordedRequest& request : m_secure.RequestsTo(kLoginPage))
            if (request.Form("Action") == action)
                found.push_back(request);
        return found;
    }

    std::atomic<bool> welcomeClosed{false};
    std::atomic<bool> loginAfterWelcome{false};
};

TEST_F(ClientAppTest, StartUpPostsTablesAndUpgradeCheckThenWelcomesThenLogsIn)
{
    SaveAutomaticLogin();
    auto app = MakeApp();
    SessionRecorder recorder;
    app->Session().AddSessionListener(&recorder);
    bool tablesAndUpgradeBeforeWelcomeClosed = false;
    std::size_t loginsDuringWelcome = 99;
    CModalDriver driver([&](QWidget* modal) {
        if (modal->objectName() != QStringLiteral("id_181"))
            return;
        tablesAndUpgradeBeforeWelcomeClosed = m_plain.WaitForRequests(2) &&
                                              !m_plain.RequestsTo(ServerPagePath("TablesToXML.jsp")).empty() &&
                                              !m_plain.RequestsTo(ServerPagePath("CheckForUpgrade.jsp")).empty();
        loginsDuringWelcome = m_secure.RequestCount();
        welcomeClosed = true;
        static_cast<QDialog*>(modal)->accept();
    });
    app->StartUp();
    EXPECT_EQ(driver.seen, std::vector<std::string>{"id_181"});
    EXPECT_TRUE(tablesAndUpgradeBeforeWelcomeClosed);
    EXPECT_EQ(loginsDuringWelcome, 0u);
    ASSERT_NE(app->MainWindow(), nullptr);
    EXPECT_TRUE(app->MainWindow()->isVisible());
    CLoginStatusBar* statusBar = app->MainWindow()->GetStatusBar();

    // The automatic login is posted; its answer completes the session.
    ASSERT_TRUE(SpinUntil([&] { return app->Session().IsLoggedIn(); }));
    EXPECT_TRUE(loginAfterWelcome);
    const auto logins = LoginsWith("Login");
    ASSERT_EQ(logins.size(), 1u);
    EXPECT_EQ(logins[0].Form("UserHandle"), "demo");
    EXPECT_EQ(recorder.changes.back(), (std::pair<std::string, std::string>{"demo", "sess:41"}));
    EXPECT_EQ(statusBar->PaneText(1), QStringLiteral("demo logged in."));
    // Both browser panes load their pages from the server.
    EXPECT_TRUE(SpinUntil([&] {
        return !m_plain.RequestsTo("/corvanta/production/tessarin/home/index.html").empty() &&
               !m_plain.RequestsTo("/corvanta/production/tessarin/details/NoDetails.htm").empty();
    }));
    EXPECT_EQ(CPreferences().GetString(Pref::PreviousSession), "41");
    EXPECT_TRUE(m_messages.empty());
    app->Session().RemoveSessionListener(&recorder);
}

TEST_F(ClientAppTest, WithoutSavedLoginTheLoginDialogFollowsTheWelcome)
{
    auto app = MakeApp();
    CModalDriver driver([&](QWidget* modal) {
        if (modal->objectName() == QStringLiteral("id_181")) {
            welcomeClosed = true;
            static_cast<QDialog*>(modal)->accept();
            return;
        }
        if (modal->objectName() == QStringLiteral("id_135")) {
            qobject_cast<QLineEdit*>(FindControl(modal, 1023))->setText(QStringLiteral("ann"));
            qobject_cast<QLineEdit*>(FindControl(modal, 1024))->setText(QStringLiteral("pw"));
            qobject_cast<QCheckBox*>(FindControl(modal, 1102))->setChecked(true);
            qobject_cast<QAbstractButton*>(FindControl(modal, 1))->click();
        }
    });
    app->StartUp();
    EXPECT_EQ(driver.seen, (std::vector<std::string>{"id_181", "id_135"}));
    EXPECT_TRUE(loginAfterWelcome);
    EXPECT_TRUE(app->Session().IsLoggedIn());
    EXPECT_EQ(app->Session().CurrentHandle(), "ann");
    EXPECT_EQ(app->Session().UserId(), 41);
    // "Save login information" saves the login for the next start.
    CPreferences preferences;
    EXPECT_EQ(preferences.GetNumber(Pref::AutoLogin), 1u);
    EXPECT_EQ(preferences.GetString(Pref::UserHandle), "ann");
    EXPECT_EQ(preferences.GetString(Pref::Password), "pw");
    EXPECT_FALSE(QueryCommand(*app, 32784).Enabled());
    EXPECT_TRUE(QueryCommand(*app, 32826).Enabled());
}

TEST_F(ClientAppTest, AQuitDuringTheWelcomeEndsStartUpThere)
{
    // A signal while the welcome dialog is up: the program closes, and no
    // login is sent for it (an exchange still under way at exit would outlive it).
    SaveAutomaticLogin();
    auto app = MakeApp();
    CModalDriver driver([&](QWidget* modal) {
        if (modal->objectName() == QStringLiteral("id_181"))
            app->RequestQuit();
    });
    app->StartUp();
    EXPECT_EQ(driver.seen, std::vector<std::string>{"id_181"});
    EXPECT_FALSE(app->MainWindowExists());
    app->ShutDown();
    EXPECT_TRUE(LoginsWith("Login").empty());
    EXPECT_EQ(CPreferences().GetNumber(Pref::PreviouslyRun, 7), 1u);
}

TEST_F(ClientAppTest, AQuitEndsStartUpWhateverDialogsAreOpen)
{
    // Nothing answers on the plain port: the lookup tables and the upgrade
    // check fail, and the application's own error boxes stack on the welcome
    // dialog. A quit then must close them all.
    SaveAutomaticLogin();
    auto app = std::make_unique<CClientApp>();
    app->Session().ServerSettings().SetPortOverride(1, m_secure.Port());
    const auto openModals = [] {
        int open = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            open += window->isVisible() && window->isModal() ? 1 : 0;
        return open;
    };
    int openAtQuit = 0;
    CModalDriver driver([&](QWidget*) {
        if (openAtQuit == 0 && openModals() == 3) {
            openAtQuit = 3;
            app->RequestQuit();
        }
    });
    // Should start-up hang on a dialog left open, the test ends it.
    bool rescued = false;
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        rescued = true;
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    rescue.start(10000);
    app->StartUp();
    rescue.stop();
    EXPECT_EQ(openAtQuit, 3) << "the welcome dialog and two error boxes";
    EXPECT_FALSE(rescued) << "a dialog stayed open after the quit";
    EXPECT_EQ(openModals(), 0);
    EXPECT_FALSE(app->MainWindowExists());
    app->ShutDown();
    EXPECT_TRUE(LoginsWith("Login").empty());
}

TEST_F(ClientAppTest, ExitLogsOutAndRecordsTheRun)
{
    SaveAutomaticLogin();
    auto app = MakeApp();
    CModalDriver driver([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    app->StartUp();
    ASSERT_TRUE(SpinUntil([&] { return app->Session().IsLoggedIn(); }));
    EXPECT_EQ(CPreferences().GetNumber(Pref::PreviouslyRun, 7), 7u);
    EXPECT_EQ(CPreferences().GetNumber(Pref::MainCX), 0u);
    const QRect placed = app->MainWindow()->normalGeometry();
    app->ShutDown();
    EXPECT_EQ(app->MainWindow(), nullptr);
    const auto logouts = LoginsWith("Logout");
    ASSERT_EQ(logouts.size(), 1u);
    EXPECT_EQ(logouts[0].Form("UserToken"), "sess:41");
    CPreferences preferences;
    EXPECT_EQ(preferences.GetNumber(Pref::PreviouslyRun, 7), 1u);
    EXPECT_EQ(preferences.GetNumber(Pref::MainCX), static_cast<DWORD>(placed.width()));
    EXPECT_EQ(preferences.GetNumber(Pref::MainCY), static_cast<DWORD>(placed.height()));
    EXPECT_EQ(preferences.GetNumber(Pref::Maximize, 7), 0u);
    EXPECT_GT(preferences.GetNumber(Pref::HomeWidth), 0u);
    EXPECT_EQ(preferences.GetString(Pref::PreviousSession), "");
    EXPECT_FALSE(app->Session().IsLoggedIn());
}

TEST_F(ClientAppTest, LogInAndLogOutFollowTheSession)
{
    SaveAutomaticLogin();
    auto app = MakeApp();
    CModalDriver driver([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    app->StartUp();
    ASSERT_TRUE(SpinUntil([&] { return app->Session().IsLoggedIn(); }));
    // The frame's menus ask the whole chain; the application is its last target.
    CMainFrame& frame = *app->MainWindow();
    EXPECT_FALSE(QueryCommand(frame, 32784).Enabled());
    EXPECT_TRUE(QueryCommand(frame, 32826).Enabled());
    EXPECT_TRUE(QueryCommand(frame, 57664).Enabled());
    EXPECT_FALSE(QueryCommand(frame, 32783).Enabled());
    ASSERT_TRUE(RunCommand(frame, 32826));
    EXPECT_FALSE(app->Session().IsLoggedIn());
    EXPECT_EQ(app->MainWindow()->GetStatusBar()->PaneText(1), QStringLiteral("Not logged in."));
    EXPECT_TRUE(QueryCommand(*app, 32784).Enabled());
    EXPECT_FALSE(QueryCommand(*app, 32826).Enabled());
    // Automatic login configured: "Log In" logs in again without a dialog.
    ASSERT_TRUE(RunCommand(*app, 32784));
    ASSERT_TRUE(SpinUntil([&] { return app->Session().IsLoggedIn(); }));
    EXPECT_EQ(LoginsWith("Login").size(), 2u);
    EXPECT_EQ(driver.seen, std::vector<std::string>{"id_181"});
}

TEST_F(ClientAppTest, TheApplicationAnswersItsOwnCommandsOnly)
{
    auto app = MakeApp();
    struct Case {
        unsigned id;
        bool enabled;
    };
    // Sign-up, the profile sheet and the upgrade window are not part of the
    // program yet, and "Details" needs the frame's detail pane.
    const Case cases[] = {{57664, true},  {32778, true},  {32779, true},  {32802, true},  {57667, true},
                          {57665, true},  {32784, true},  {32826, false}, {32777, false}, {32781, false},
                          {32786, false}, {59411, false}, {57634, false}, {32783, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(QueryCommand(*app, c.id).Enabled(), c.enabled);
    }
}

TEST_F(ClientAppTest, OptionsAndServerOptionsWriteThePreferences)
{
    SaveAutomaticLogin();
    auto app = MakeApp();
    CModalDriver driver([](QWidget* modal) {
        if (modal->objectName() == QStringLiteral("id_139"))
            qobject_cast<QCheckBox*>(FindControl(modal, 1103))->setChecked(false);
        if (modal->objectName() == QStringLiteral("id_159"))
            qobject_cast<QRadioButton*>(FindControl(modal, 1100))->setChecked(true);
        static_cast<QDialog*>(modal)->accept();
    });
    app->StartUp();
    ASSERT_TRUE(RunCommand(*app, 32778));
    CPreferences preferences;
    EXPECT_EQ(preferences.GetNumber(Pref::AutoLogin, 7), 0u);
    EXPECT_EQ(preferences.GetString(Pref::UserHandle), "demo");
    EXPECT_EQ(preferences.GetString(Pref::Password), "demo");
    EXPECT_FALSE(app->Session().AutomaticLogin());

    CPreferences().SetNumber(Pref::DefaultPorts, 1);
    app->Session().ServerSettings().SetDefaultPorts(1);
    ASSERT_TRUE(RunCommand(*app, 32802));
    EXPECT_EQ(preferences.GetNumber(Pref::DefaultPorts, 7), 0u);
    EXPECT_EQ(preferences.GetString(Pref::AppServer), CLoopbackHttpServer::kHost);
    EXPECT_EQ(app->Session().ServerSettings().DefaultPorts(), 0u);
    EXPECT_EQ(driver.seen.back(), "id_159");
}

TEST_F(ClientAppTest, DetailsCommandShowsAndHidesTheDetailPane)
{
    auto app = MakeApp();
    CModalDriver driver([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    app->StartUp();
    QWidget* details = app->MainWindow()->GetDetailViewer();
    ASSERT_NE(details, nullptr);
    for (bool shown : {false, true}) {
        ASSERT_TRUE(RunCommand(*app, 59411));
        EXPECT_EQ(details->isVisible(), shown);
        EXPECT_EQ(QueryCommand(*app, 59411).Checked(), shown);
    }
}

TEST_F(ClientAppTest, ProgressWindowShowsItsTextUntilHidden)
{
    auto app = MakeApp();
    QWidget owner;
    owner.show();
    app->ShowProgress(&owner, 3552);
    ASSERT_NE(app->ProgressWindow(), nullptr);
    EXPECT_TRUE(app->ProgressWindow()->isVisible());
    EXPECT_EQ(app->ProgressWindow()->Text(), "Creating Track");
    app->ShowProgress(&owner, 3551);
    EXPECT_EQ(app->ProgressWindow()->Text(), "Creating Artist");
    app->HideProgress();
    EXPECT_EQ(app->ProgressWindow(), nullptr);
    // A window that goes before the busy window over it takes it along.
    auto* parent = new QWidget;
    parent->show();
    app->ShowProgress(parent, 3551);
    delete parent;
    EXPECT_EQ(app->ProgressWindow(), nullptr);
    app->HideProgress();
}

TEST_F(ClientAppTest, HelpAndWebSiteOpenThroughTheShell)
{
    std::vector<std::string> opened;
    SetShellOpenHandler([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    auto app = MakeApp();
    CModalDriver driver([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    app->StartUp();
    ASSERT_TRUE(RunCommand(*app, 57667));
    ASSERT_TRUE(RunCommand(*app, 32779));
    SetShellOpenHandler(nullptr);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], "http://127.0.0.1:" + std::to_string(m_plain.Port()) +
                             "/corvanta/production/tessarin/help/version1.1/helpindex.htm");
    EXPECT_EQ(opened[1], kProductWebSite);
}

}  // namespace
