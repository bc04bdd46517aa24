#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class RegToolTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/corvanta-regtool-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_temp = pattern;
        setenv("CORVANTA_REGISTRY_DIR", (m_temp + "/registry").c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("CORVANTA_REGISTRY_DIR");
        std::error_code ec;
        fs::remove_all(m_temp, ec);
    }

    // Starts the tool with its output going to two files named after tag.
    pid_t Start(const std::vector<std::string>& args, const std::string& tag)
    {
        std::vector<char*> argv;
        std::string program = CORVANTA_REG_TOOL;
        argv.push_back(program.data());
        std::vector<std::string> copy = args;
        for (auto& arg : copy)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, (m_temp + "/" + tag + ".out").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, (m_temp + "/" + tag + ".err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = -1;
        const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        return rc == 0 ? pid : -1;
    }

    ToolRun Finish(pid_t pid, const std::string& tag)
    {
        ToolRun run;
        int status = 0;
        if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
            run.exitCode = WEXITSTATUS(status);
        run.out = ReadText(m_temp + "/" + tag + ".out");
        run.err = ReadText(m_temp + "/" + tag + ".err");
        return run;
    }

    ToolRun Run(const std::vector<std::string>& args) { return Finish(Start(args, "run"), "run"); }

    static std::string ReadText(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static std::vector<std::string> Lines(const std::string& text)
    {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            if (!line.empty())
                lines.push_back(line);
        return lines;
    }

    std::string m_temp;
};

const std::string kPrefs = "HKCU\\software\\corvanta\\tessarin\\preferences";

TEST_F(RegToolTest, AddThenQueryShowsNameTypeAndData)
{
    ASSERT_EQ(Run({"add", kPrefs, "/v", "appserver", "/t", "REG_SZ", "/d", "host.example"}).exitCode, 0);
    ASSERT_EQ(Run({"add", kPrefs, "/v", "defaultports", "/t", "REG_DWORD", "/d", "0"}).exitCode, 0);
    ASSERT_EQ(Run({"add", kPrefs, "/v", "Previous Session", "/d", "tok 1"}).exitCode, 0);
    ASSERT_EQ(Run({"add", kPrefs, "/v", "mainCX", "/t", "reg_dword", "/d", "0x400"}).exitCode, 0);
    ASSERT_EQ(Run({"add", kPrefs, "/v", "blob", "/t", "REG_BINARY", "/d", "01aB"}).exitCode, 0);
    ASSERT_EQ(Run({"add", kPrefs, "/ve", "/d", "dflt"}).exitCode, 0);
    ASSERT_EQ(Run({"add", kPrefs + "\\Sub"}).exitCode, 0);

    const ToolRun all = Run({"query", "hkey_current_user\\SOFTWARE\\corvanta\\tessarin\\preferences"});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(Lines(all.out), (std::vector<std::string>{
                                  "HKEY_CURRENT_USER\\SOFTWARE\\corvanta\\tessarin\\preferences",
                                  "    appserver    REG_SZ    host.example",
                                  "    defaultports    REG_DWORD    0",
                                  "    Previous Session    REG_SZ    tok 1",
                                  "    mainCX    REG_DWORD    1024",
                                  "    blob    REG_BINARY    01AB",
                                  "    (Default)    REG_SZ    dflt",
                                  "HKEY_CURRENT_USER\\SOFTWARE\\corvanta\\tessarin\\preferences\\Sub",
                              }));

    const ToolRun one = Run({"query", kPrefs, "/v", "DEFAULTPORTS"});
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(Lines(one.out), (std::vector<std::string>{"HKEY_CURRENT_USER\\software\\corvanta\\tessarin\\preferences",
                                                        "    DEFAULTPORTS    REG_DWORD    0"}));

    // What the tool wrote is what the library reads.
    auto key = CRegKey::Open(RegHive::CurrentUser, "software\\corvanta\\tessarin\\preferences");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->GetString("appserver"), "host.example");
    EXPECT_EQ(key->GetDword("mainCX"), 1024u);
    EXPECT_EQ(key->GetString(""), "dflt");
}

TEST_F(RegToolTest, AddOverwritesOnlyWithForce)
{
    ASSERT_EQ(Run({"add", kPrefs, "/v", "autologin", "/t", "REG_DWORD", "/d", "1"}).exitCode, 0);
    const ToolRun refused = Run({"add", kPrefs, "/v", "AutoLogin", "/t", "REG_DWORD", "/d", "0"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("/f"), std::string::npos) << refused.err;
    EXPECT_NE(Run({"query", kPrefs, "/v", "autologin"}).out.find("REG_DWORD    1"), std::string::npos);

    EXPECT_EQ(Run({"add", kPrefs, "/v", "AutoLogin", "/t", "REG_DWORD", "/d", "0", "/f"}).exitCode, 0);
    EXPECT_NE(Run({"query", kPrefs, "/v", "autologin"}).out.find("autologin    REG_DWORD    0"), std::string::npos);
}

TEST_F(RegToolTest, DeleteValuesAndKeys)
{
    ASSERT_EQ(Run({"add", kPrefs, "/v", "a", "/d", "1"}).exitCode, 0);
    ASSERT_EQ(Run({"add", kPrefs, "/v", "b", "/d", "2"}).exitCode, 0);
    ASSERT_EQ(Run({"add", kPrefs + "\\child", "/v", "c", "/d", "3"}).exitCode, 0);

    EXPECT_EQ(Run({"delete", kPrefs, "/v", "a"}).exitCode, 1) << "needs /f";
    EXPECT_EQ(Run({"delete", kPrefs, "/v", "A", "/f"}).exitCode, 0);
    EXPECT_EQ(Run({"query", kPrefs, "/v", "a"}).exitCode, 1);
    EXPECT_EQ(Run({"delete", kPrefs, "/v", "a", "/f"}).exitCode, 1);
    EXPECT_EQ(Run({"delete", kPrefs, "/va", "/f"}).exitCode, 0);
    EXPECT_EQ(Run({"query", kPrefs, "/v", "b"}).exitCode, 1);

    EXPECT_EQ(Run({"delete", "HKCU\\software\\corvanta", "/f"}).exitCode, 0);
    EXPECT_EQ(Run({"query", kPrefs + "\\child"}).exitCode, 1);
    EXPECT_EQ(Run({"query", "HKCU\\software"}).exitCode, 0);
    EXPECT_EQ(Run({"delete", "HKCU\\software\\corvanta", "/f"}).exitCode, 1);
    EXPECT_EQ(Run({"delete", "HKCU", "/f"}).exitCode, 1);
}

TEST_F(RegToolTest, MistakesExitWithOneAndSayWhy)
{
    ASSERT_EQ(Run({"add", kPrefs, "/v", "x", "/d", "1"}).exitCode, 0);
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{}, "Usage"},
        {{"query"}, "Usage"},
        {{"frobnicate", kPrefs}, "unknown command"},
        {{"query", "HKXX\\software"}, "unknown hive \"HKXX\""},
        {{"query", "HKLM\\software\\missing"}, "unable to find"},
        {{"query", kPrefs, "/v", "missing"}, "unable to find"},
        {{"query", kPrefs, "/v"}, "needs a value"},
        {{"add", kPrefs, "/v", "n", "/t", "REG_DWORD", "/d", "12ab"}, "not a DWORD"},
        {{"add", kPrefs, "/v", "n", "/t", "REG_DWORD", "/d", "4294967296"}, "not a DWORD"},
        {{"add", kPrefs, "/v", "n", "/t", "REG_DWORD", "/d", "-1"}, "not a DWORD"},
        {{"add", kPrefs, "/v", "n", "/t", "REG_BINARY", "/d", "abc"}, "not hex"},
        {{"add", kPrefs, "/v", "n", "/t", "REG_QWORD", "/d", "1"}, "unknown type"},
        {{"add", kPrefs, "/d", "1"}, "need /v"},
        {{"add", kPrefs, "/v", "n", "/bogus"}, "unexpected argument"},
        {{"delete", kPrefs, "/v", "x"}, "/f"},
    };
    for (const auto& c : cases) {
        std::string label;
        for (const auto& arg : c.args)
            label += arg + " ";
        SCOPED_TRACE(label);
        const ToolRun run = Run(c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    auto key = CRegKey::Open(RegHive::CurrentUser, "software\\corvanta\\tessarin\\preferences");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ValueNames(), std::vector<std::string>{"x"});

    const ToolRun help = Run({"/?"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage"), std::string::npos);
}

TEST_F(RegToolTest, ManyToolsWritingOneKeyAtOnceLoseNothing)
{
    constexpr int kTools = 24;
    std::vector<pid_t> pids;
    for (int i = 0; i < kTools; ++i)
        pids.push_back(Start({"add", "HKLM\\software\\shared", "/v", "v" + std::to_string(i), "/t", "REG_DWORD", "/d",
                              std::to_string(i)},
                             "tool" + std::to_string(i)));
    for (int i = 0; i < kTools; ++i) {
        ASSERT_GT(pids[i], 0);
        EXPECT_EQ(Finish(pids[i], "tool" + std::to_string(i)).exitCode, 0);
    }
    auto key = CRegKey::Open(RegHive::LocalMachine, "software\\shared");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ValueNames().size(), static_cast<std::size_t>(kTools));
    for (int i = 0; i < kTools; ++i)
        EXPECT_EQ(key->GetDword("v" + std::to_string(i)), static_cast<std::uint32_t>(i));
}

}  // namespace
