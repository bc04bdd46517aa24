// The program corvanta started as the member would start it as root, with
// QTWEBENGINE_DISABLE_SANDBOX not set: its browser engine must come up (its
// zygote processes start) instead of ending the program.
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

TEST(ProgramStart, AsRootTheBrowserEngineStartsWithoutTheSandboxSwitchSet)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only the root user meets the engine's refusal";
    std::string pattern = (std::filesystem::temp_directory_path() / "corvanta-program-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path folder = pattern;
    for (const char* sub : {"registry", "data", "home", "runtime"})
        std::filesystem::create_directory(folder / sub);
    chmod((folder / "runtime").c_str(), 0700);

    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const auto ours = [&](const char* prefix) { return text.starts_with(prefix); };
        const char* const replaced[] = {"QTWEBENGINE_DISABLE_SANDBOX=", "QT_QPA_PLATFORM=", "CORVANTA_", "HOME=", "XDG_"};
        if (std::none_of(std::begin(replaced), std::end(replaced), ours))
            environment.push_back(text);
    }
    environment.push_back("QT_QPA_PLATFORM=offscreen");
    environment.push_back("CORVANTA_REGISTRY_DIR=" + (folder / "registry").string());
    environment.push_back("CORVANTA_DATA_DIR=" + (folder / "data").string());
    environment.push_back("HOME=" + (folder / "home").string());
    environment.push_back("XDG_RUNTIME_DIR=" + (folder / "runtime").string());
    std::vector<char*> envp;
    for (std::string& text : environment)
        envp.push_back(text.data());
    envp.push_back(nullptr);

    const std::string out = (folder / "stdout").string(), err = (folder / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    // A group of its own, so that the engine's processes go with it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::string program = CORVANTA_PROGRAM;
    char* argv[] = {program.data(), nullptr};
    ProcessGroup group;
    const int started = posix_spawn(&group.leader, argv[0], &actions, &attributes, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ASSERT_EQ(started, 0) << std::strerror(started);
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
    const std::string errors = ReadText(err);
    EXPECT_TRUE(engineUp) << (ended ? "the program ended with " + std::to_string(WEXITSTATUS(status)) : "timed out")
                          << ":\n" << errors.substr(errors.size() > 2000 ? errors.size() - 2000 : 0);
    EXPECT_NE(errors.find("QTWEBENGINE_DISABLE_SANDBOX=1"), std::string::npos) << "the program says what it did";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

} // namespace
