#pragma once

#include "server/CommunityServer.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace corvanta::server::test {

struct HttpAnswer {
    long status = 0;
    std::string body;
    bool ok = false;  // the exchange itself worked
};

// One POST (or GET when body is null) through libcurl; secure exchanges verify
// the server's certificate against caFile. from names the loopback address the
// exchange comes from (127.0.0.x), as another client would.
HttpAnswer Exchange(const std::string& url, const std::string* body, const std::string& caFile = {},
                    const std::string& from = {});

// A server on free loopback ports with its own data folder and a clock the test moves.
class CServerFixture : public ::testing::Test {
protected:
    void SetUp() override { StartServer(0); }
    void TearDown() override;

    // demoScale 0 seeds nothing, 1 the demo community, N one N times as large.
    void StartServer(int demoScale);
    std::string Url(const std::string& page, bool secure = false) const;
    std::string WebUrl(const std::string& page) const;
    // Posts to an XML page (relative to orvane/) and loads the answer.
    pugi::xml_document Post(const std::string& page, const std::string& body, bool secure = false,
                            const std::string& from = {});
    std::string PostText(const std::string& page, const std::string& body, bool secure = false,
                         const std::string& from = {});
    // Logs in (creating the member first when asked); returns the token.
    std::string SignUp(const std::string& handle, const std::string& password = "secret");
    std::string Login(const std::string& handle, const std::string& password, int64_t* userId = nullptr,
                      const std::string& prev = {});

    static std::string Text(const pugi::xml_document& doc, const char* xpath);
    static size_t Count(const pugi::xml_document& doc, const char* xpath);

    std::string m_dir;
    std::atomic<int64_t> m_now{1700000000};
    std::unique_ptr<CCommunityServer> m_server;
};

}  // namespace corvanta::server::test
