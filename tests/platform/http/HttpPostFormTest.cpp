#include "platform/Http.h"
#include "tests/support/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

class HttpPostFormTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("no_proxy", "127.0.0.1,localhost", 1);
        ::unsetenv("CORVANTA_CA_FILE");
        SetTransportErrorReporter([this](const std::string& text) {
            std::lock_guard lock(m_mutex);
            m_reports.push_back(text);
        });
    }
    void TearDown() override
    {
        SetTransportErrorReporter(nullptr);
        ::unsetenv("CORVANTA_CA_FILE");
    }
    std::vector<std::string> Reports()
    {
        std::lock_guard lock(m_mutex);
        return m_reports;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_reports;
};

// A port on which nothing listens.
std::uint16_t ClosedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

}  // namespace

TEST_F(HttpPostFormTest, StatusDecidesResultAndBodyIsReJoined)
{
    const struct {
        int status;
        std::string body;
        HRESULT hr;
        std::string answer;
    } cases[] = {
        {200, "", S_OK, ""},
        {200, "abc\r\nxyz", S_OK, "abc\r\n\rxyz\n\r"},
        {200, "<a/>\n", S_OK, "<a/>\n\r"},
        {200, "a\n\nb\n", S_OK, "a\n\r\n\rb\n\r"},
        {204, "", S_OK, ""},
        {299, "edge", S_OK, "edge\n\r"},
        {404, "<html><body>Not Found</body></html>", E_FAIL, "<html><body>Not Found</body></html>\n\r"},
        {500, "boom\r\n", E_FAIL, "boom\r\n\r"},
        {302, "moved", E_FAIL, "moved\n\r"},
    };
    CLoopbackHttpServer plain;
    CLoopbackHttpServer secure(true);
    ::setenv("CORVANTA_CA_FILE", secure.CertificateFile().c_str(), 1);
    for (CLoopbackHttpServer* server : {&plain, &secure}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << (server->Secure() ? "https " : "http ") << c.status << " " << c.body);
            server->SetResponse("/page.jsp", c.status, c.body);
            std::string answer = "stale";
            EXPECT_EQ(
                HttpPostForm(CLoopbackHttpServer::kHost, server->Port(), "/page.jsp", "a=1", answer, server->Secure()),
                c.hr);
            EXPECT_EQ(answer, c.answer);
            EXPECT_EQ(LastHttpAttemptCount(), 1);
        }
        // Redirects are not followed: one request per exchange.
        EXPECT_EQ(server->RequestCount(), std::size(cases));
    }
    EXPECT_TRUE(Reports().empty());
}

TEST_F(HttpPostFormTest, SendsOneFreshPostWithHeadersAndExactBody)
{
    CLoopbackHttpServer server;
    const std::string body("user=a b&x=1+2%20\r\n\0\xFF end", 26);
    std::string answer;
    ASSERT_EQ(HttpPostForm(CLoopbackHttpServer::kHost, server.Port(), "/corvanta/production/orvane/P.jsp", body, answer,
                           false),
              S_OK);
    ASSERT_EQ(HttpPostForm(CLoopbackHttpServer::kHost, server.Port(), "/corvanta/production/orvane/P.jsp", body, answer,
                           false),
              S_OK);
    const RecordedRequest request = server.LastRequest();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/corvanta/production/orvane/P.jsp");
    EXPECT_EQ(request.body, body);
    EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.Header("Content-Length"), "26");
    EXPECT_EQ(request.Header("User-Agent"), "Corvanta");
    EXPECT_EQ(request.Header("Pragma"), "no-cache");
    EXPECT_EQ(request.Header("Cache-Control"), "no-cache");
    EXPECT_EQ(request.Header("Cookie"), "");
    EXPECT_EQ(request.Header("Expect"), "");
    EXPECT_EQ(server.Connections(), 2);
}

TEST_F(HttpPostFormTest, TransportErrorsAreReportedOnceWithoutRetry)
{
    const struct {
        const char* what;
        std::string host;
        std::uint16_t port;
        const char* reportMentions;
    } cases[] = {
        {"unresolvable", "no-such-server.invalid", 80, "no-such-server.invalid"},
        {"refused", CLoopbackHttpServer::kHost, ClosedPort(), "127.0.0.1"},
    };
    std::size_t expectedReports = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string answer = "untouched";
        EXPECT_EQ(HttpPostForm(c.host, c.port, "/x.jsp", "a=1", answer, false), E_FAIL);
        EXPECT_EQ(answer, "untouched");
        EXPECT_EQ(LastHttpAttemptCount(), 1);
        const auto reports = Reports();
        ASSERT_EQ(reports.size(), ++expectedReports);
        EXPECT_NE(reports.back().find(c.reportMentions), std::string::npos) << reports.back();
    }
}

TEST_F(HttpPostFormTest, ConnectTimeoutIsRetriedSilentlyThreeTimes)
{
    CUnansweredListener listener;
    std::string answer = "untouched";
    EXPECT_EQ(HttpPostForm(CLoopbackHttpServer::kHost, listener.Port(), "/x.jsp", "a=1", answer, false), E_FAIL);
    EXPECT_EQ(LastHttpAttemptCount(), 3);
    EXPECT_EQ(answer, "untouched");
    EXPECT_TRUE(Reports().empty());
}

TEST_F(HttpPostFormTest, HttpsTrustsOnlyKnownCertificates)
{
    CLoopbackHttpServer trusted(true);
    CLoopbackHttpServer stranger(true);
    trusted.SetResponse("/s.jsp", 200, "<ok/>");
    std::string answer;

    EXPECT_EQ(HttpPostForm(CLoopbackHttpServer::kHost, trusted.Port(), "/s.jsp", "a=1", answer, true), E_FAIL);
    ASSERT_EQ(Reports().size(), 1u);

    ::setenv("CORVANTA_CA_FILE", trusted.CertificateFile().c_str(), 1);
    EXPECT_EQ(HttpPostForm(CLoopbackHttpServer::kHost, trusted.Port(), "/s.jsp", "a=1", answer, true), S_OK);
    EXPECT_EQ(answer, "<ok/>\n\r");
    EXPECT_EQ(HttpPostForm("localhost", trusted.Port(), "/s.jsp", "a=1", answer, true), S_OK);

    answer = "untouched";
    EXPECT_EQ(HttpPostForm(CLoopbackHttpServer::kHost, stranger.Port(), "/s.jsp", "a=1", answer, true), E_FAIL);
    EXPECT_EQ(answer, "untouched");
    EXPECT_EQ(LastHttpAttemptCount(), 1);
    ASSERT_EQ(Reports().size(), 2u);
    EXPECT_NE(Reports().back().find("certificate"), std::string::npos) << Reports().back();
    EXPECT_EQ(stranger.RequestCount(), 0u);

    // Plain HTTP to the TLS port is a protocol error, not a success.
    EXPECT_EQ(HttpPostForm(CLoopbackHttpServer::kHost, trusted.Port(), "/s.jsp", "a=1", answer, false), E_FAIL);
}
