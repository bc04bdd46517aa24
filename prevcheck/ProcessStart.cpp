#include "prevcheck/ProcessStart.h"

#include <cerrno>

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

extern char** environ;

bool StartProcessAndWait(const std::vector<std::string>& words)
{
    if (words.empty() || words.front().empty())
        return false;
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    // The uninstaller inherits no handles of ours beyond standard input and output.
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return false;
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t child = 0;
    const int started = posix_spawnp(&child, argv.front(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return false;

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}
