// Runs the built program as the installer does, with no display (or one that
// does not open), so it asks on the terminal; the answer comes from standard input.
#include "tests/prevcheck/PrevCheckTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class PrevCheckProgram : public PrevCheckFixture {
protected:
    /// extra: NAME=VALUE entries added to the environment.
    ProgramRun Run(const std::string& answer, const std::vector<std::string>& extra = {})
    {
        const std::string in = Folder() + "/stdin", out = Folder() + "/stdout", err = Folder() + "/stderr";
        {
            std::ofstream(in, std::ios::binary) << answer;
        }
        std::vector<std::string> environment;
        for (char** entry = environ; *entry; ++entry) {
            const std::string text = *entry;
            if (text.starts_with("DISPLAY=") || text.starts_with("WAYLAND_DISPLAY=") ||
                text.starts_with("QT_QPA_PLATFORM="))
                continue;
            environment.push_back(text);
        }
        environment.insert(environment.end(), extra.begin(), extra.end());
        std::vector<char*> envp;
        for (auto& text : environment)
            envp.push_back(text.data());
        envp.push_back(nullptr);
        std::string program = PREVCHECK_PROGRAM, ignored = "--ignored-argument";
        char* argv[] = {program.data(), ignored.data(), nullptr};

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t child = 0;
        const int started = posix_spawn(&child, argv[0], &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ProgramRun run;
        if (started != 0) {
            ADD_FAILURE() << "cannot start " << PREVCHECK_PROGRAM << ": " << std::strerror(started);
            return run;
        }
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.out = ReadText(out);
        run.err = ReadText(err);
        return run;
    }

    static std::string ReadText(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    static constexpr const char* kQuestionStart = "Old version detected\nInstallShield found a previous version";
};

TEST_F(PrevCheckProgram, YesRunsTheNewestUninstallerAndWaits)
{
    RegisterVersion("2.1", FakeCommand("from 2.1"));
    RegisterVersion("4.0", FakeCommand("from 4.0") + " \"with space\"");
    const ProgramRun run = Run("y\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.starts_with(kQuestionStart)) << run.out;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(RecordedArguments(), "from 4.0\nwith space\n");
}

TEST_F(PrevCheckProgram, UninstallStringOf1024Bytes)
{
    // A command line of 1023 characters fills the buffer with its NUL.
    const std::string base = FakeCommand("pad") + " ";
    const std::string padding(1023 - base.size(), 'p');
    RegisterVersion("3.0", base + padding);
    const ProgramRun fits = Run("yes\n");
    EXPECT_EQ(fits.exitCode, 0);
    EXPECT_EQ(RecordedArguments(), "pad\n" + padding + "\n");

    std::filesystem::remove(RecordPath());
    RegisterVersion("3.0", base + padding + "p");
    const ProgramRun tooLong = Run("yes\n");
    EXPECT_EQ(tooLong.exitCode, 0);
    EXPECT_EQ(tooLong.out, "");
    EXPECT_EQ(tooLong.err, "");
    EXPECT_FALSE(Record());
}

TEST_F(PrevCheckProgram, EveryOutcomeExitsWithZero)
{
    const struct {
        const char* name;
        std::optional<std::string> command;
        const char* answer;
        const char* uninstallerExit;
        bool asked;
        bool ran;
        std::string err;
    } cases[] = {
        {"nothing installed", std::nullopt, "y\n", "0", false, false, ""},
        {"answer no", FakeCommand("x"), "n\n", "0", true, false, ""},
        {"no answer at all", FakeCommand("x"), "", "0", true, false, ""},
        {"uninstaller fails", FakeCommand("x"), "Y\n", "3", true, true, ""},
        {"uninstaller cannot start", std::string("\"/nonexistent/Harmolux/uninst\" -f"), "y\n", "0", true, false,
         "Error: Unable to start uninstall.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CRegKey::DeleteTree(RegHive::LocalMachine, KeyOf("5.0"));
        std::filesystem::remove(RecordPath());
        if (c.command)
            RegisterVersion("5.0", *c.command);
        setenv("PREVCHECK_TEST_EXIT", c.uninstallerExit, 1);
        const ProgramRun run = Run(c.answer);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out.starts_with(kQuestionStart), c.asked) << run.out;
        EXPECT_EQ(Record().has_value(), c.ran);
        EXPECT_EQ(run.err, c.err);
    }
}

TEST_F(PrevCheckProgram, ADisplayThatDoesNotOpenAsksOnTheTerminal)
{
    RegisterVersion("5.0", FakeCommand("from 5.0"));
    const std::string display = ":" + std::to_string(UnusedXDisplay());
    const struct {
        const char* name;
        std::vector<std::string> environment;
    } cases[] = {
        {"X display", {"DISPLAY=" + display}},
        {"Wayland display", {"WAYLAND_DISPLAY=corvanta-no-such-display", "XDG_SESSION_TYPE=wayland"}},
        {"both", {"DISPLAY=" + display, "WAYLAND_DISPLAY=corvanta-no-such-display"}},
        {"X display named for Qt", {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(RecordPath());
        const ProgramRun run = Run("y\n", c.environment);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_TRUE(run.out.starts_with(kQuestionStart)) << run.out;
        EXPECT_EQ(RecordedArguments(), "from 5.0\n");
    }
}

}  // namespace
