#include "server/Certificate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using corvanta::server::CCertificate;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(ServerCertificate, KeptWhileItNamesTheHostAndRemadeWhenNot)
{
    char pattern[] = "/tmp/corvanta-cert-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string dir = pattern, cert = dir + "/cert.pem", key = dir + "/key.pem";
    // Each step: the host the folder is served under, and whether the files stay as they were.
    struct SStep {
        const char* host;
        bool kept;
    } steps[] = {
        {"corvanta.example", false}, // first start
        {"corvanta.example", true},
        {"localhost", true},         // every certificate also names the loopback names
        {"127.0.0.1", true},
        {"music.example", false},    // served under another name
        {"music.example", true},
    };
    std::string previous;
    for (const SStep& step : steps) {
        SCOPED_TRACE(step.host);
        std::string error;
        ASSERT_TRUE(CCertificate::EnsureSelfSigned(step.host, cert, key, error)) << error;
        std::string now = ReadFile(cert);
        EXPECT_EQ(now == previous, step.kept);
        previous = now;
    }
    // A damaged certificate is made again.
    std::ofstream(cert) << "not a certificate";
    std::string error;
    ASSERT_TRUE(CCertificate::EnsureSelfSigned("music.example", cert, key, error)) << error;
    EXPECT_NE(ReadFile(cert).find("BEGIN CERTIFICATE"), std::string::npos);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
