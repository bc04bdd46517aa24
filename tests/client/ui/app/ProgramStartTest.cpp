// The program corvanta started as a member starts it: as root, with
// QTWEBENGINE_DISABLE_SANDBOX not set, its browser engine must come up (its
// zygote processes start) instead of ending the program; with a display that
// does not open it must say so and end, not abort inside Qt.
#include "tests/support/UnusedXDisplay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Whether a process whose parent is parent runs the engine's helper program.
bool HasEngineChild(pid_t parent)
{
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream file(entry.path() / "stat");
        std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        // "pid (comm) state ppid ...": comm may hold spaces, so read from the last ")".
        const std::size_t close = stat.rfind(')');
        const std::size_t open = stat.find('(');
        if (close == std::string::npos || open == std::string::npos)
            continue;
        const std::string comm = stat.substr(open + 1, close - open - 1);
        char state = 0;
        int ppid = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == parent &&
            comm.starts_with("QtWebEngine"))
            return true;
    }
    return false;
}

// The program's process group, ended with the test whatever happens.
struct ProcessGroup {
    pid_t leader = 0;
    bool reaped = false;
    ~ProcessGroup() { End(); }
    void End()
    {
        if (leader <= 0)
            return;
        kill(-leader, SIGKILL);
        if (!reaped)
            waitpid(leader, nullptr, 0);
        leader = 0;
    }
};

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A private folder for one run, with the registry, data, home and runtime
// folders the program is pointed at; removed with the test.
struct RunFolder {
    std::filesystem::path path;
    RunFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvanta-program-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        path = pattern;
        for (const char* sub : {"registry", "data", "home", "runtime"})
            std::filesystem::create_directory(path / sub);
        chmod((path / "runtime").c_str(), 0700);
    }
    ~RunFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

// Starts the program in a process group of its own (so that the engine's
// processes go with it), with the test's environment less the variables that
// start with one of replaced, plus added and the run folder's; its output goes
// to files "stdout" and "stderr" of the folder.
void StartProgram(ProcessGroup& group, const RunFolder& folder, std::vector<std::string> added,
                  std::vector<const char*> replaced)
{
    std::vector<std::string> environment;
    replaced.insert(replaced.end(), {"CORVANTA_", "HOME=", "XDG_"});
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const auto ours = [&](const char* prefix) { return text.starts_with(prefix); };
        if (std::none_of(replaced.begin(), replaced.end(), ours))
            environment.push_back(text);
    }
    environment.insert(environment.end(), added.begin(), added.end());
    environment.push_back("CORVANTA_REGISTRY_DIR=" + (folder.path / "registry").string());
    environment.push_back("CORVANTA_DATA_DIR=" + (folder.path / "data").string());
    environment.push_back("HOME=" + (folder.path / "home").string());
    environment.push_back("XDG_RUNTIME_DIR=" + (folder.path / "runtime").string());
    std::vector<char*> envp;
    for (std::string& text : environment)
        envp.push_back(text.data());
    envp.push_back(nullptr);

    const std::string out = (folder.path / "stdout").string(), err = (folder.path / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::string program = CORVANTA_PROGRAM;
    char* argv[] = {program.data(), nullptr};
    const int started = posix_spawn(&group.leader, argv[0], &actions, &attributes, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ASSERT_EQ(started, 0) << std::strerror(started);
}

TEST(ProgramStart, AsRootTheBrowserEngineStartsWithoutTheSandboxSwitchSet)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only the root user meets the engine's refusal";
    const RunFolder folder;
    ProcessGroup group;
    StartProgram(group, folder, {"QT_QPA_PLATFORM=offscreen"}, {"QTWEBENGINE_DISABLE_SANDBOX=", "QT_QPA_PLATFORM="});
    ASSERT_GT(group.leader, 0);
    const pid_t child = group.leader;

    // Until the engine's processes run or the program ends, whichever comes
    // first: the end wakes the wait at once, the processes are looked for
    // between waits.
    const int ending = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    ASSERT_GE(ending, 0) << std::strerror(errno);
    bool engineUp = false;
    bool ended = false;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (!engineUp && !ended && std::chrono::steady_clock::now() < deadline) {
        pollfd wait{ending, POLLIN, 0};
        ended = poll(&wait, 1, 20) == 1 && waitpid(child, &status, 0) == child;
        engineUp = !ended && HasEngineChild(child);
    }
    close(ending);
    group.reaped = ended;
    group.End();
    const std::string errors = ReadText((folder.path / "stderr").string());
    EXPECT_TRUE(engineUp) << (ended ? "the program ended with " + std::to_string(WEXITSTATUS(status)) : "timed out")
                          << ":\n"
                          << errors.substr(errors.size() > 2000 ? errors.size() - 2000 : 0);
    EXPECT_NE(errors.find("QTWEBENGINE_DISABLE_SANDBOX=1"), std::string::npos) << "the program says what it did";
}

TEST(ProgramStart, WithADisplayThatDoesNotOpenTheProgramSaysSoAndEnds)
{
    const RunFolder folder;
    ProcessGroup group;
    const std::string display = "DISPLAY=:" + std::to_string(UnusedXDisplay());
    StartProgram(group, folder, {display}, {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="});
    ASSERT_GT(group.leader, 0);
    const int ending = static_cast<int>(syscall(SYS_pidfd_open, group.leader, 0));
    ASSERT_GE(ending, 0) << std::strerror(errno);
    pollfd wait{ending, POLLIN, 0};
    const bool ended = poll(&wait, 1, 60000) == 1;
    close(ending);
    int status = 0;
    ASSERT_TRUE(ended && waitpid(group.leader, &status, 0) == group.leader) << "the program did not end";
    group.reaped = true;
    const std::string errors = ReadText((folder.path / "stderr").string());
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << ":\n" << errors;
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(errors.find("corvanta: no display could be opened (" + display), std::string::npos) << errors;
}

}  // namespace
