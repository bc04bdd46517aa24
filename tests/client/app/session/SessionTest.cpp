// The session state: listeners, the login flow, logout and the keep-alive worker.
#include "SessionFixture.h"

#include "client/app/LoginPrompt.h"
#include "client/app/Preferences.h"
#include "client/app/Session.h"
#include "client/app/UpdateSessionRequest.h"
#include "client/app/UserLoginRequest.h"

#include <atomic>
#include <condition_variable>
#include <future>
#include <mutex>
#include <utility>
#include <vector>

namespace {

using Change = std::pair<std::string, std::string>;

class RecordingListener : public ISessionListener {
public:
    void OnSessionChanged(const std::string& handle, const std::string& token) override
    {
        changes.emplace_back(handle, token);
        if (onChange)
            onChange();
    }
    std::vector<Change> changes;
    std::function<void()> onChange;
};

class ScriptedPrompt : public ILoginPrompt {
public:
    bool RunLoginDialog(CUserLoginRequest& request, LoginDialogResult& result) override
    {
        ++shown;
        if (!accept)
            return false;
        std::string error;
        if (Failed(request.Login(handle, password, error))) {
            lastError = error;
            return false;
        }
        result.handle = handle;
        result.password = password;
        result.token = request.Token();
        result.userId = request.UserId();
        result.saveLogin = save;
        return true;
    }
    bool accept = true;
    bool save = false;
    std::string handle = "ann";
    std::string password = "pw";
    std::string lastError;
    int shown = 0;
};

constexpr const char* kGoodLogin = "<Session userToken=\"sess:77\"><UserID>12</UserID></Session>";

using SessionTest = SessionFixture;

TEST_F(SessionTest, ListenerAddedWhileLoggedInIsToldAtOnce)
{
    CSession session;
    RecordingListener early;
    session.AddSessionListener(&early);
    EXPECT_TRUE(early.changes.empty());

    session.AdoptSession("ann", 12, "sess:77");
    RecordingListener late;
    session.AddSessionListener(&late);
    EXPECT_EQ(late.changes, (std::vector<Change>{{"ann", "sess:77"}}));
    EXPECT_EQ(early.changes, (std::vector<Change>{{"ann", "sess:77"}}));
    session.RemoveSessionListener(&early);
    session.RemoveSessionListener(&late);
}

TEST_F(SessionTest, ListenersAreToldInOrderAndMayRemoveThemselves)
{
    CSession session;
    std::vector<int> order;
    RecordingListener first;
    RecordingListener second;
    RecordingListener third;
    first.onChange = [&] { order.push_back(1); };
    second.onChange = [&] {
        order.push_back(2);
        session.RemoveSessionListener(&second);
    };
    third.onChange = [&] { order.push_back(3); };
    session.AddSessionListener(&first);
    session.AddSessionListener(&second);
    session.AddSessionListener(&third);
    session.SetSession("t1");
    session.SetSession("t2");
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 1, 3}));
    EXPECT_EQ(session.Token(), "t2");
    session.RemoveSessionListener(&first);
    session.RemoveSessionListener(&third);
}

TEST_F(SessionTest, DialogLoginAdoptsTheSessionAndSavesTheLoginWhenAsked)
{
    m_secure.SetResponse(PagePath("UserLogin.jsp"), 200, kGoodLogin);
    CSession session;
    RecordingListener listener;
    session.AddSessionListener(&listener);
    ScriptedPrompt prompt;
    prompt.save = true;
    session.LoginFlow(prompt);

    EXPECT_EQ(prompt.shown, 1);
    EXPECT_TRUE(session.IsLoggedIn());
    EXPECT_EQ(session.CurrentHandle(), "ann");
    EXPECT_EQ(session.UserId(), 12);
    EXPECT_EQ(session.Token(), "sess:77");
    EXPECT_EQ(listener.changes, (std::vector<Change>{{"ann", "sess:77"}}));
    CPreferences preferences;
    EXPECT_EQ(preferences.GetString(Pref::PreviousSession), "77");
    EXPECT_EQ(preferences.GetString(Pref::UserHandle), "ann");
    EXPECT_EQ(preferences.GetString(Pref::Password), "pw");
    EXPECT_EQ(preferences.GetNumber(Pref::AutoLogin, 0), 1u);
    EXPECT_TRUE(session.AutomaticLogin());
    session.RemoveSessionListener(&listener);
}

TEST_F(SessionTest, CancelledOrRefusedDialogLeavesTheMemberLoggedOut)
{
    m_secure.SetResponse(PagePath("UserLogin.jsp"), 200, "<E><Exception>x.Auth: Wrong password</Exception></E>");
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "refused" : "cancelled");
        CSession session;
        ScriptedPrompt prompt;
        prompt.accept = accept;
        prompt.save = true;
        session.LoginFlow(prompt);
        EXPECT_EQ(prompt.shown, 1);
        EXPECT_FALSE(session.IsLoggedIn());
        EXPECT_EQ(session.Token(), "");
        EXPECT_EQ(session.CurrentHandle(), "");
        EXPECT_EQ(CPreferences().GetNumber(Pref::AutoLogin, 0), 0u);
        EXPECT_EQ(prompt.lastError, accept ? " Wrong password" : "");
    }
}

TEST_F(SessionTest, AutomaticLoginNeedsBothSavedValues)
{
    struct Case {
        DWORD autoLogin;
        const char* handle;
        const char* password;
        bool dialog;
    };
    const Case cases[] = {
        {1, "ann", "pw", false},
        {1, "ann", "", true},
        {1, "", "pw", true},
        {0, "ann", "pw", true},
    };
    m_secure.SetResponse(PagePath("UserLogin.jsp"), 200, kGoodLogin);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.autoLogin << " '" << c.handle << "' '" << c.password << "'");
        {
            CPreferences preferences;
            preferences.SetNumber(Pref::AutoLogin, c.autoLogin);
            preferences.SetString(Pref::UserHandle, c.handle);
            preferences.SetString(Pref::Password, c.password);
        }
        CSession session;
        session.LoadSavedLogin();
        RecordingListener listener;
        session.AddSessionListener(&listener);
        ScriptedPrompt prompt;
        prompt.accept = false;
        const std::size_t before = m_secure.RequestCount();
        session.LoginFlow(prompt);
        EXPECT_EQ(prompt.shown, c.dialog ? 1 : 0);
        if (!c.dialog) {
            ASSERT_TRUE(m_pump.RunUntil([&] { return !listener.changes.empty(); }));
            EXPECT_EQ(listener.changes, (std::vector<Change>{{"ann", "sess:77"}}));
            EXPECT_TRUE(session.IsLoggedIn());
            EXPECT_EQ(session.UserId(), 12);
            EXPECT_EQ(m_secure.LastRequest().Form("UserHandle"), "ann");
            EXPECT_EQ(m_secure.LastRequest().Form("PWD"), "pw");
        } else {
            EXPECT_EQ(m_secure.RequestCount(), before);
            EXPECT_FALSE(session.IsLoggedIn());
        }
        EXPECT_TRUE(m_messages.empty());
        session.RemoveSessionListener(&listener);
    }
}

class CompletionSpy : public IRequestListener {
public:
    void OnRequestCompleted(CServerRequest*, std::int32_t, std::int32_t) override { ++done; }
    void OnRequestFailed(CServerRequest*, HRESULT, std::int32_t, std::int32_t) override { ++done; }
    int done = 0;
};

TEST_F(SessionTest, RejectedAutomaticLoginSaysSoAndFailedExchangeIsSilent)
{
    struct Case {
        int status;
        const char* body;
        std::size_t messages;
    };
    const Case cases[] = {
        {200, "<E><Exception>x.Auth: Wrong password</Exception></E>", 1},
        {200, "not xml", 1},
        {500, kGoodLogin, 0},
    };
    {
        CPreferences preferences;
        preferences.SetNumber(Pref::AutoLogin, 1);
        preferences.SetString(Pref::UserHandle, "ann");
        preferences.SetString(Pref::Password, "pw");
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        m_messages.clear();
        m_secure.SetResponse(PagePath("UserLogin.jsp"), c.status, c.body);
        CSession session;
        session.LoadSavedLogin();
        RecordingListener listener;
        session.AddSessionListener(&listener);
        CompletionSpy spy;  // registered after the session, so told after it
        session.LoginRequest().AddListener(&spy);
        ScriptedPrompt prompt;
        session.LoginFlow(prompt);
        ASSERT_TRUE(m_pump.RunUntil([&] { return spy.done > 0; }));
        EXPECT_EQ(prompt.shown, 0);
        EXPECT_FALSE(session.IsLoggedIn());
        EXPECT_TRUE(listener.changes.empty());
        ASSERT_EQ(m_messages.size(), c.messages);
        if (c.messages) {
            EXPECT_EQ(m_messages[0].text, "Automatic login failed");
        }
        session.LoginRequest().RemoveListener(&spy);
        session.RemoveSessionListener(&listener);
    }
}

TEST_F(SessionTest, LogoutSendsClearsPreviousSessionAndTellsListeners)
{
    m_secure.SetResponse(PagePath("UserLogin.jsp"), 500, "whatever");
    CPreferences().SetString(Pref::PreviousSession, "77");
    CSession session;
    session.AdoptSession("ann", 12, "sess:77");
    RecordingListener listener;
    session.AddSessionListener(&listener);
    session.Logout();

    EXPECT_EQ(m_secure.LastRequest().body, "Action=Logout&UserToken=sess:77");
    EXPECT_EQ(CPreferences().GetString(Pref::PreviousSession), "");
    EXPECT_FALSE(session.IsLoggedIn());
    EXPECT_EQ(session.Token(), "");
    EXPECT_EQ(session.CurrentHandle(), "");
    EXPECT_EQ(session.UserId(), 0);
    EXPECT_EQ(listener.changes, (std::vector<Change>{{"ann", "sess:77"}, {"", ""}}));
    session.RemoveSessionListener(&listener);
}

TEST_F(SessionTest, SignUpWhileLoggedInEndsTheOldServerSessionFirst)
{
    CPreferences().SetString(Pref::PreviousSession, "77");
    CSession session;
    session.AdoptSession("ann", 12, "sess:77");
    session.EndServerSessionKeepingPrevious();
    EXPECT_EQ(m_secure.LastRequest().body, "Action=Logout&UserToken=sess:77");
    EXPECT_EQ(CPreferences().GetString(Pref::PreviousSession), "77");
    session.AdoptSession("bob", 13, "sess:78");
    EXPECT_EQ(session.CurrentHandle(), "bob");
    EXPECT_EQ(session.Token(), "sess:78");

    CSession loggedOut;
    const std::size_t before = m_secure.RequestCount();
    loggedOut.EndServerSessionKeepingPrevious();
    EXPECT_EQ(m_secure.RequestCount(), before);
}

TEST_F(SessionTest, KeepAliveCarriesTheCurrentTokenWhileLoggedIn)
{
    CSession session;
    session.AdoptSession("ann", 12, "sess:77 x");
    session.StartKeepAlive(std::chrono::milliseconds(5));
    ASSERT_TRUE(m_plain.WaitForRequests(2));
    session.StopKeepAlive();
    EXPECT_FALSE(session.KeepAliveRunning());
    for (const RecordedRequest& sent : m_plain.Requests()) {
        EXPECT_EQ(sent.path, PagePath("UpdateSession.jsp"));
        EXPECT_EQ(sent.body, "UserToken=sess:77+x&App=Tessarin");
    }
}

// The snapshot the worker asks for, with a count of how often it asked.
class SnapshotScript {
public:
    bool Take(std::string& token)
    {
        std::lock_guard lock(m_mutex);
        ++m_calls;
        m_changed.notify_all();
        if (m_loggedIn)
            token = m_token;
        return m_loggedIn;
    }
    void LogIn(std::string token)
    {
        std::lock_guard lock(m_mutex);
        m_token = std::move(token);
        m_loggedIn = true;
    }
    bool WaitForCalls(int count)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return m_calls >= count; });
    }
    int Calls()
    {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_calls = 0;
    bool m_loggedIn = false;
    std::string m_token;
};

TEST_F(SessionTest, KeepAliveSendsOnlyWhileLoggedIn)
{
    SnapshotScript script;
    CUpdateSessionRequest request;
    request.Start([&](std::string& token) { return script.Take(token); }, std::chrono::milliseconds(2));
    ASSERT_TRUE(script.WaitForCalls(5));
    EXPECT_EQ(m_plain.RequestCount(), 0u);
    script.LogIn("k:1");
    ASSERT_TRUE(m_plain.WaitForRequests(1));
    request.Stop();
    const int calls = script.Calls();
    EXPECT_EQ(m_plain.LastRequest().body, "UserToken=k:1&App=Tessarin");
    EXPECT_FALSE(request.Running());
    EXPECT_EQ(script.Calls(), calls);
}

TEST_F(SessionTest, KeepAliveStopReturnsWithinOneExchange)
{
    // With the real 15-minute interval, Stop must not wait for the next wake-up;
    // and an exchange under way is finished before Stop returns.
    const std::string page = PagePath("UpdateSession.jsp");
    m_plain.Hold(page);
    SnapshotScript script;
    script.LogIn("k:2");
    auto request = std::make_unique<CUpdateSessionRequest>();
    request->Start([&](std::string& token) { return script.Take(token); });
    ASSERT_TRUE(m_plain.WaitForHeld(1));
    auto stopped = std::async(std::launch::async, [&] { request->Stop(); });
    EXPECT_EQ(stopped.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    m_plain.Release(page);
    ASSERT_EQ(stopped.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(m_plain.RequestCount(), 1u);
    EXPECT_EQ(script.Calls(), 1);
    request.reset();
}

}  // namespace
