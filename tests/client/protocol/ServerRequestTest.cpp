#include "client/protocol/QueuedServerRequest.h"
#include "client/protocol/ServerRequest.h"
#include "client/protocol/ServerSettings.h"
#include "platform/Http.h"
#include "platform/Threading.h"
#include "platform/Url.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestPump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr char kPage[] = "test/Page.jsp";
const std::string kPath = ServerPagePath(kPage);

struct HookCall {
    std::string answer;
    std::int32_t value1;
    std::int32_t value2;
    std::thread::id thread;
};

// What the answer hooks saw; it outlives the requests that fill it.
struct HookLog {
    std::mutex mutex;
    std::vector<HookCall> calls;
    std::atomic<bool> running{false};
    std::function<void(std::int32_t value1)> gate;  // runs inside the hook

    void Record(const std::string& answer, std::int32_t value1, std::int32_t value2)
    {
        running = true;
        if (gate)
            gate(value1);
        {
            std::lock_guard lock(mutex);
            calls.push_back({answer, value1, value2, std::this_thread::get_id()});
        }
        running = false;
    }
    std::vector<HookCall> Calls()
    {
        std::lock_guard lock(mutex);
        return calls;
    }
};

class CTestRequest : public CServerRequest {
public:
    explicit CTestRequest(std::shared_ptr<HookLog> log, bool secure = false) : m_log(std::move(log))
    {
        SetPage(kPage, secure);
    }
    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override
    {
        m_log->Record(answer, value1, value2);
    }

private:
    std::shared_ptr<HookLog> m_log;
};

class CTestQueuedRequest : public CQueuedServerRequest {
public:
    explicit CTestQueuedRequest(std::shared_ptr<HookLog> log) : m_log(std::move(log)) { SetPage(kPage, false); }
    void ParseAnswer(const std::string& answer, std::int32_t value1, std::int32_t value2) override
    {
        m_log->Record(answer, value1, value2);
    }

private:
    std::shared_ptr<HookLog> m_log;
};

struct Notification {
    bool completed;
    CServerRequest* request;
    HRESULT result;
    std::int32_t value1;
    std::int32_t value2;
    std::thread::id thread;
    bool hookRunning;
};

// Lives on the test thread, which is the pump's (user-interface) thread.
class CRecordingListener : public IRequestListener {
public:
    explicit CRecordingListener(const HookLog* log = nullptr) : m_log(log) {}
    void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) override
    {
        Record({true, request, S_OK, value1, value2, std::this_thread::get_id(), HookRunning()});
    }
    void OnRequestFailed(CServerRequest* request, HRESULT result, std::int32_t value1, std::int32_t value2) override
    {
        Record({false, request, result, value1, value2, std::this_thread::get_id(), HookRunning()});
    }
    std::vector<Notification> events;
    std::function<void(const Notification&)> onEvent;

private:
    bool HookRunning() const { return m_log != nullptr && m_log->running; }
    void Record(const Notification& n)
    {
        events.push_back(n);
        if (onEvent)
            onEvent(n);
    }
    const HookLog* m_log;
};

class ServerRequestTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("no_proxy", "127.0.0.1,localhost", 1);
        m_settings.SetPortOverride(m_server.Port(), 0);
        SetActiveServerSettings(&m_settings);
        SetTransportErrorReporter([this](const std::string& text) {
            std::lock_guard lock(m_reportsMutex);
            m_reports.push_back(text);
        });
    }
    void TearDown() override
    {
        EXPECT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
        SetTransportErrorReporter(nullptr);
        SetActiveServerSettings(nullptr);
    }
    std::size_t ReportCount()
    {
        std::lock_guard lock(m_reportsMutex);
        return m_reports.size();
    }
    bool PumpUntilEvents(const CRecordingListener& listener, std::size_t count)
    {
        return m_pump.RunUntil([&] { return listener.events.size() >= count; });
    }

    CTestPump m_pump;
    CLoopbackHttpServer m_server;
    CServerSettings m_settings{CLoopbackHttpServer::kHost, 1};
    std::shared_ptr<HookLog> m_log = std::make_shared<HookLog>();

private:
    std::mutex m_reportsMutex;
    std::vector<std::string> m_reports;
};

}  // namespace

TEST(ServerSettings, BaseUrlFollowsThePortTable)
{
    const struct {
        DWORD defaultPorts;
        bool secure;
        const char* url;
    } cases[] = {
        {1, false, "http://h:80/corvanta/production/"},   {1, true, "https://h:443/corvanta/production/"},
        {0, false, "http://h:7001/corvanta/production/"}, {0, true, "https://h:7002/corvanta/production/"},
        {7, true, "https://h:443/corvanta/production/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        CServerSettings settings("h", c.defaultPorts);
        EXPECT_EQ(settings.GetServerBaseUrl(c.secure), c.url);
    }
    CServerSettings overridden("h", 0);
    overridden.SetPortOverride(8080, 0);
    EXPECT_EQ(overridden.GetServerBaseUrl(false), "http://h:8080/corvanta/production/");
    EXPECT_EQ(overridden.GetServerBaseUrl(true), "https://h:7002/corvanta/production/");
}

TEST(ServerRequestEndpoint, IsComputedFromTheActiveSettings)
{
    const struct {
        DWORD defaultPorts;
        bool secure;
        std::uint16_t port;
        DWORD service;
    } cases[] = {
        {1, true, 443, kServiceHttps},
        {1, false, 80, kServiceHttp},
        {0, false, 7001, kServiceHttp},
        {0, true, 7002, kServiceHttps},
    };
    CServerSettings settings("h", 1);
    SetActiveServerSettings(&settings);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.port);
        settings.SetDefaultPorts(c.defaultPorts);
        CServerRequest request;
        request.SetPage("UserLogin.jsp", c.secure);
        EXPECT_FALSE(request.EndpointReady());
        EXPECT_EQ(request.Port(), 80);
        request.PrepareEndpoint();
        EXPECT_TRUE(request.EndpointReady());
        EXPECT_EQ(request.ServerHost(), "h");
        EXPECT_EQ(request.Port(), c.port);
        EXPECT_EQ(request.ServiceType(), c.service);
        EXPECT_EQ(request.ObjectPath(), "/corvanta/production/orvane/UserLogin.jsp");
    }
    SetActiveServerSettings(nullptr);
}

TEST_F(ServerRequestTest, SpacesBecomePlusOnlyWhenPosted)
{
    const std::string body = "user=a b&text=x+y  z";
    const std::string plussed = "user=a+b&text=x+y++z";
    CRecordingListener listener;
    auto* queued = new CTestQueuedRequest(m_log);
    queued->AddListener(&listener);
    CTestRequest request(m_log);
    request.AddListener(&listener);

    std::string answer;
    ASSERT_EQ(request.Execute(body, answer, 1, 0), S_OK);
    EXPECT_EQ(m_server.LastRequest().body, body);
    EXPECT_TRUE(listener.events.empty());

    ASSERT_EQ(request.Post(body, 2, 0), S_OK);
    ASSERT_TRUE(PumpUntilEvents(listener, 1));
    EXPECT_EQ(m_server.LastRequest().body, plussed);

    ASSERT_EQ(queued->QueuedPost(body, 3, 0), S_OK);
    ASSERT_TRUE(PumpUntilEvents(listener, 2));
    EXPECT_EQ(m_server.LastRequest().body, plussed);
    EXPECT_EQ(m_server.LastRequest().path, kPath);
    queued->Shutdown();
}

TEST_F(ServerRequestTest, FormValuesArriveIntactThroughExecuteAndPost)
{
    const std::string texts[] = {
        "Rock & Roll", "1+1=2", "100% #1", "a b:c d", "Bj\xC3\xB6rk", "%41", "plain",
    };
    CRecordingListener listener;
    CTestRequest request(m_log);
    request.AddListener(&listener);
    std::size_t posted = 0;
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::string body = "user=" + FormValue(text) + "&n=1";
        std::string answer;
        ASSERT_EQ(request.Execute(body, answer), S_OK);
        const RecordedRequest executed = m_server.LastRequest();
        request.Post(body, 0, 0);
        ASSERT_TRUE(PumpUntilEvents(listener, ++posted));
        for (const RecordedRequest& r : {executed, m_server.LastRequest()}) {
            EXPECT_EQ(r.Form("user"), text);
            EXPECT_EQ(r.Form("n"), "1");
            ASSERT_EQ(r.libraryForm.count("user"), 1u) << r.body;
            EXPECT_EQ(r.libraryForm.find("user")->second, text);
        }
    }
}

TEST_F(ServerRequestTest, ExecuteRunsTheHookOnTheCallerAndTellsNoListener)
{
    m_server.SetResponse(kPath, 200, "<Session/>");
    CRecordingListener listener;
    CTestRequest request(m_log);
    request.AddListener(&listener);
    std::string answer;
    EXPECT_EQ(request.Execute("a=1", answer, 5, 6), S_OK);
    ASSERT_EQ(m_log->Calls().size(), 1u);
    EXPECT_EQ(m_log->Calls()[0].answer, "<Session/>\n\r");
    EXPECT_EQ(m_log->Calls()[0].thread, std::this_thread::get_id());

    m_server.SetResponse(kPath, 500, "<html>error</html>");
    EXPECT_EQ(request.Execute("a=1", answer, 5, 6), E_FAIL);
    EXPECT_EQ(answer, "<html>error</html>\n\r");
    EXPECT_EQ(m_log->Calls().size(), 1u);
    m_pump.RunPending();
    EXPECT_TRUE(listener.events.empty());
}

TEST_F(ServerRequestTest, OutcomesReachListenersOnTheUiThread)
{
    const struct {
        const char* what;
        int status;
        std::string body;
        bool completed;
        std::size_t hookCalls;
    } cases[] = {
        {"200 empty", 200, "", true, 1},
        {"200 xml", 200, "<a/>", true, 1},
        {"500", 500, "oops", false, 0},
        {"404 html", 404, "<html/>", false, 0},
    };
    std::int32_t value = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto log = std::make_shared<HookLog>();
        CRecordingListener listener(log.get());
        CTestRequest request(log);
        request.AddListener(&listener);
        m_server.SetResponse(kPath, c.status, c.body);
        ++value;
        request.Post("a=1", value, -value);
        ASSERT_TRUE(PumpUntilEvents(listener, 1));
        ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
        m_pump.RunPending();
        ASSERT_EQ(listener.events.size(), 1u);
        const Notification& n = listener.events[0];
        EXPECT_EQ(n.completed, c.completed);
        EXPECT_EQ(n.result, c.completed ? S_OK : E_FAIL);
        EXPECT_EQ(n.request, &request);
        EXPECT_EQ(n.value1, value);
        EXPECT_EQ(n.value2, -value);
        EXPECT_EQ(n.thread, std::this_thread::get_id());
        ASSERT_EQ(log->Calls().size(), c.hookCalls);
        if (c.hookCalls != 0) {
            EXPECT_EQ(log->Calls()[0].answer, c.body.empty() ? "" : c.body + "\n\r");
            EXPECT_NE(log->Calls()[0].thread, std::this_thread::get_id());
        }
        EXPECT_EQ(request.PendingJobCount(), 0u);
    }
    EXPECT_EQ(ReportCount(), 0u);
}

TEST_F(ServerRequestTest, ListenersHearOfCompletionOnlyAfterTheHookReturned)
{
    CManualResetEvent hookEntered;
    CManualResetEvent hookMayReturn;
    m_log->gate = [&](std::int32_t) {
        hookEntered.Set();
        hookMayReturn.Wait();
    };
    CRecordingListener listener(m_log.get());
    CTestRequest request(m_log);
    request.AddListener(&listener);
    request.Post("a=1", 1, 2);
    ASSERT_TRUE(hookEntered.Wait(std::chrono::seconds(20)));
    m_pump.RunPending();
    EXPECT_TRUE(listener.events.empty());
    hookMayReturn.Set();
    ASSERT_TRUE(PumpUntilEvents(listener, 1));
    EXPECT_FALSE(listener.events[0].hookRunning);
}

TEST_F(ServerRequestTest, TwoPostsExchangeInParallelWithTheirOwnValues)
{
    m_server.SetResponse(kPath, [](const RecordedRequest& r) { return ScriptedResponse{200, r.Form("n")}; });
    m_server.Hold(kPath);
    CRecordingListener listener(m_log.get());
    CTestRequest request(m_log);
    request.AddListener(&listener);
    request.Post("n=1", 1, 10);
    request.Post("n=2", 2, 20);
    // Both are at the server at once.
    ASSERT_TRUE(m_server.WaitForHeld(2));
    m_server.Release(kPath);
    ASSERT_TRUE(PumpUntilEvents(listener, 2));

    std::vector<std::pair<std::int32_t, std::int32_t>> values;
    for (const Notification& n : listener.events) {
        EXPECT_TRUE(n.completed);
        EXPECT_FALSE(n.hookRunning);
        values.emplace_back(n.value1, n.value2);
    }
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<std::pair<std::int32_t, std::int32_t>>{{1, 10}, {2, 20}}));
    for (const HookCall& call : m_log->Calls())
        EXPECT_EQ(call.answer, std::to_string(call.value1) + "\n\r");
}

TEST_F(ServerRequestTest, DestroyedRequestDropsTheResultOfItsExchange)
{
    m_server.Hold(kPath);
    CRecordingListener listener(m_log.get());
    auto request = std::make_unique<CTestRequest>(m_log);
    request->AddListener(&listener);
    request->Post("a=1", 1, 2);
    request->Post("a=2", 3, 4);
    ASSERT_TRUE(m_server.WaitForHeld(2));
    request.reset();
    m_server.Release(kPath);
    ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
    m_pump.RunPending();
    EXPECT_TRUE(listener.events.empty());
    EXPECT_TRUE(m_log->Calls().empty());
}

TEST_F(ServerRequestTest, ResultsPostedBeforeDestructionAreDropped)
{
    CRecordingListener listener(m_log.get());
    auto request = std::make_unique<CTestRequest>(m_log);
    request->AddListener(&listener);
    request->Post("a=1", 1, 2);
    ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
    ASSERT_EQ(m_pump.Queued(), 1);
    request.reset();
    m_pump.RunPending();
    EXPECT_TRUE(listener.events.empty());
}

TEST_F(ServerRequestTest, ListenerRemovingItselfDoesNotDisturbTheOthers)
{
    CTestRequest request(m_log);
    std::vector<std::string> order;
    CRecordingListener first, leaving, last;
    first.onEvent = [&](const Notification&) { order.push_back("first"); };
    leaving.onEvent = [&](const Notification&) {
        order.push_back("leaving");
        request.RemoveListener(&leaving);
    };
    last.onEvent = [&](const Notification&) { order.push_back("last"); };
    request.AddListener(&first);
    request.AddListener(&leaving);
    request.AddListener(&last);

    request.Post("a=1", 1, 0);
    ASSERT_TRUE(PumpUntilEvents(last, 1));
    request.Post("a=2", 2, 0);
    ASSERT_TRUE(PumpUntilEvents(last, 2));
    EXPECT_EQ(order, (std::vector<std::string>{"first", "leaving", "last", "first", "last"}));
}

TEST_F(ServerRequestTest, QueuedPostsRunInOrderAndShutdownDropsWhatNobodyWillRead)
{
    m_server.SetResponse(kPath, [](const RecordedRequest& r) { return ScriptedResponse{200, r.Form("n")}; });
    CRecordingListener listener(m_log.get());
    auto* queued = new CTestQueuedRequest(m_log);
    queued->AddListener(&listener);
    for (std::int32_t n = 1; n <= 3; ++n)
        queued->QueuedPost("n=" + std::to_string(n), n, 0);
    ASSERT_TRUE(PumpUntilEvents(listener, 3));
    for (std::int32_t n = 1; n <= 3; ++n)
        EXPECT_EQ(listener.events[static_cast<std::size_t>(n - 1)].value1, n);

    // Held answers show the exchanges go one at a time.
    m_server.Hold(kPath);
    for (std::int32_t n = 4; n <= 6; ++n)
        queued->QueuedPost("n=" + std::to_string(n), n, 0);
    ASSERT_TRUE(m_server.WaitForHeld(1));
    EXPECT_EQ(m_server.RequestCount(), 4u);
    // Shutdown returns while the exchange under way is still held, and the
    // posts queued behind it are never sent.
    queued->Shutdown();
    EXPECT_TRUE(m_server.WaitForHeld(1, std::chrono::milliseconds(0)));
    m_server.Release(kPath);
    ASSERT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
    m_pump.RunPending();

    EXPECT_EQ(listener.events.size(), 3u);
    EXPECT_EQ(m_log->Calls().size(), 3u);
    const std::vector<RecordedRequest> requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(requests[i].Form("n"), std::to_string(i + 1));
}

TEST_F(ServerRequestTest, DroppedQueuedPostsAreNotSent)
{
    m_server.SetResponse(kPath, [](const RecordedRequest& r) { return ScriptedResponse{200, r.Form("n")}; });
    CRecordingListener listener(m_log.get());
    auto* queued = new CTestQueuedRequest(m_log);
    queued->AddListener(&listener);
    m_server.Hold(kPath);
    for (std::int32_t n = 1; n <= 3; ++n)
        queued->QueuedPost("n=" + std::to_string(n), n, 0);
    ASSERT_TRUE(m_server.WaitForHeld(1));
    queued->DropQueuedPosts();
    queued->QueuedPost("n=4", 4, 0);
    m_server.Release(kPath);
    ASSERT_TRUE(PumpUntilEvents(listener, 2));
    EXPECT_EQ(listener.events[0].value1, 1);
    EXPECT_EQ(listener.events[1].value1, 4);
    const std::vector<RecordedRequest> requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].Form("n"), "4");
    queued->Shutdown();
}

TEST_F(ServerRequestTest, EndpointFollowsASettingsChange)
{
    CLoopbackHttpServer other;
    CTestRequest request(m_log);
    std::string answer;
    ASSERT_EQ(request.Execute("a=1", answer), S_OK);
    m_settings.SetPortOverride(other.Port(), 0);
    ASSERT_EQ(request.Execute("a=2", answer), S_OK);
    CRecordingListener listener;
    request.AddListener(&listener);
    request.Post("a=3", 0, 0);
    ASSERT_TRUE(PumpUntilEvents(listener, 1));
    EXPECT_EQ(m_server.RequestCount(), 1u);
    EXPECT_EQ(other.RequestCount(), 2u);
    EXPECT_EQ(request.Port(), other.Port());
}

TEST_F(ServerRequestTest, SecurePageGoesOverVerifiedHttps)
{
    CLoopbackHttpServer secure(true);
    secure.SetResponse(kPath, 200, "<Session/>");
    secure.TrustCertificate();
    m_settings.SetPortOverride(m_server.Port(), secure.Port());
    CTestRequest request(m_log, true);
    std::string answer;
    EXPECT_EQ(request.Execute("user=a", answer), S_OK);
    EXPECT_EQ(answer, "<Session/>\n\r");
    EXPECT_EQ(request.ServiceType(), kServiceHttps);
    ::unsetenv("CORVANTA_CA_FILE");
    EXPECT_EQ(m_server.RequestCount(), 0u);
    EXPECT_EQ(secure.RequestCount(), 1u);
}
