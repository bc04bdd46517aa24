#include "server/Certificate.h"

#include "platform/DurableFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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

}  // namespace

TEST(ServerCertificate, KeptWhileItNamesTheHostAndRemadeWhenNot)
{
    char pattern[] = "/tmp/corvanta-cert-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string dir = pattern, cert = dir + "/cert.pem", key = dir + "/key.pem";
    // Each step: the host the folder is served under, and whether the files stay as they were.
    struct Step {
        const char* host;
        bool kept;
    } steps[] = {
        {"corvanta.example", false},                            // first start
        {"corvanta.example", true},  {"localhost", true},       // every certificate also names the loopback names
        {"127.0.0.1", true},         {"music.example", false},  // served under another name
        {"music.example", true},
    };
    std::string previous;
    for (const Step& step : steps) {
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

// The files are the owner's only, and a certificate that cannot be written
// whole leaves the one before it, key and all.
TEST(ServerCertificate, OwnerOnlyAndNeverHalfWritten)
{
    char pattern[] = "/tmp/corvanta-cert-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string dir = pattern, cert = dir + "/cert.pem", key = dir + "/key.pem";
    std::string error;
    ASSERT_TRUE(CCertificate::EnsureSelfSigned("corvanta.example", cert, key, error)) << error;
    for (const std::string& file : {cert, key}) {
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u) << file;
    }
    const std::string oldCert = ReadFile(cert), oldKey = ReadFile(key);
    SetFileReplaceFaultHook([](FileReplaceStep step) { return step == FileReplaceStep::Rename; });
    EXPECT_FALSE(CCertificate::EnsureSelfSigned("music.example", cert, key, error));
    SetFileReplaceFaultHook(nullptr);
    EXPECT_EQ(error, "cannot write " + key);
    EXPECT_EQ(ReadFile(cert), oldCert);
    EXPECT_EQ(ReadFile(key), oldKey);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 2);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}
