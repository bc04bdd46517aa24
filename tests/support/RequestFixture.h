#pragma once
// A loopback server as the application server, a pump as the user-interface
// thread, and a listener that records what the requests report.
#include "client/protocol/RequestListener.h"
#include "client/protocol/ServerRequest.h"
#include "client/protocol/ServerSettings.h"
#include "platform/Threading.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestPump.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

struct RequestEvent {
    bool completed;
    CServerRequest* request;
    HRESULT result;
    std::int32_t value1;
    std::int32_t value2;
};

class CEventListener : public IRequestListener {
public:
    void OnRequestCompleted(CServerRequest* request, std::int32_t value1, std::int32_t value2) override
    {
        events.push_back({true, request, S_OK, value1, value2});
    }
    void OnRequestFailed(CServerRequest* request, HRESULT result, std::int32_t value1, std::int32_t value2) override
    {
        events.push_back({false, request, result, value1, value2});
    }
    std::vector<RequestEvent> events;
};

class RequestFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("no_proxy", "127.0.0.1,localhost", 1);
        m_settings.SetServerHost(CLoopbackHttpServer::kHost);
        m_settings.SetPortOverride(m_server.Port(), 0);
        SetActiveServerSettings(&m_settings);
    }
    void TearDown() override
    {
        EXPECT_TRUE(WaitForWorkerThreads(std::chrono::seconds(20)));
        SetActiveServerSettings(nullptr);
    }

    static std::string PathOf(const std::string& page) { return "/corvanta/production/orvane/" + page; }

    /// Answers every request to page with body (status 200).
    void Answer(const std::string& page, const std::string& body) { m_server.SetResponse(PathOf(page), 200, body); }

    /// Pumps until the listener has heard count notifications.
    bool WaitForEvents(const CEventListener& listener, std::size_t count)
    {
        return m_pump.RunUntil([&] { return listener.events.size() >= count; });
    }

    /// Registers a listener, runs send, and pumps until it is told once.
    RequestEvent SendAndWait(CServerRequest& request, const std::function<void()>& send)
    {
        CEventListener listener;
        request.AddListener(&listener);
        send();
        const bool told = WaitForEvents(listener, 1);
        request.RemoveListener(&listener);
        EXPECT_TRUE(told);
        return told ? listener.events.front() : RequestEvent{false, nullptr, E_FAIL, 0, 0};
    }

    /// Checks that the last request the server took went to page with body.
    void ExpectLastPost(const std::string& page, const std::string& body)
    {
        const RecordedRequest sent = m_server.LastRequest();
        EXPECT_EQ(sent.path, PathOf(page));
        EXPECT_EQ(sent.body, body);
    }

    /// Sends as SendAndWait does and checks that exactly one request went out,
    /// to page with body; returns the notification.
    RequestEvent ExpectPosted(CServerRequest& request, const std::function<void()>& send, const std::string& page,
                              const std::string& body)
    {
        const std::size_t before = m_server.RequestCount();
        const RequestEvent event = SendAndWait(request, send);
        EXPECT_EQ(m_server.RequestCount(), before + 1);
        ExpectLastPost(page, body);
        return event;
    }

    CLoopbackHttpServer m_server;
    CServerSettings m_settings;
    CTestPump m_pump;
};
