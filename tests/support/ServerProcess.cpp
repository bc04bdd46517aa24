#include "tests/support/ServerProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <regex>

CServerProcess::CServerProcess(const std::string& program, const std::vector<std::string>& extraArgs,
                               std::chrono::seconds bound)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "corvanta-server-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return;
    m_folder = pattern;
    std::vector<std::string> args = {program,  "--data",       (m_folder / "data").string(),
                                     "--host", "127.0.0.1",    "--http-port",
                                     "0",      "--https-port", "0"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(fds[1], 2);
        ::setenv("CORVANTA_PBKDF2_ITERATIONS", "1000", 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    if (m_pid < 0) {
        ::close(fds[0]);
        return;
    }
    m_reader = std::thread([this, fd = fds[0]] { ReadOutput(fd); });

    const std::regex ready(R"(http port (\d+) and https port (\d+))");
    std::unique_lock lock(m_mutex);
    std::smatch match;
    m_changed.wait_for(lock, bound, [&] { return m_ended || std::regex_search(m_output, match, ready); });
    if (!match.empty()) {
        m_httpPort = static_cast<std::uint16_t>(std::stoi(match[1]));
        m_httpsPort = static_cast<std::uint16_t>(std::stoi(match[2]));
    }
}

CServerProcess::~CServerProcess()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    if (m_reader.joinable())
        m_reader.join();
    std::error_code ec;
    if (!m_folder.empty())
        std::filesystem::remove_all(m_folder, ec);
}

void CServerProcess::ReadOutput(int fd)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        std::lock_guard lock(m_mutex);
        if (n <= 0) {
            m_ended = true;
            m_changed.notify_all();
            break;
        }
        m_output.append(buffer, static_cast<std::size_t>(n));
        m_changed.notify_all();
    }
    ::close(fd);
}

std::string CServerProcess::Output() const
{
    std::lock_guard lock(m_mutex);
    return m_output;
}
