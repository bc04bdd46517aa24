#include "platform/Shell.h"

#include <cstdlib>
#include <mutex>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {
std::mutex g_mutex;
std::function<bool(const std::string&)> g_handler;

bool SpawnXdgOpen(const std::string& target)
{
    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(target.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0)
        return false;
    // Reap the child in the background so that it never lingers as a zombie.
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}
}  // namespace

bool ShellOpen(const std::string& target)
{
    std::function<bool(const std::string&)> handler;
    {
        std::lock_guard lock(g_mutex);
        handler = g_handler;
    }
    return handler ? handler(target) : SpawnXdgOpen(target);
}

void SetShellOpenHandler(std::function<bool(const std::string&)> handler)
{
    std::lock_guard lock(g_mutex);
    g_handler = std::move(handler);
}

std::string TemporaryFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = (tmp && *tmp) ? tmp : "/tmp";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}
