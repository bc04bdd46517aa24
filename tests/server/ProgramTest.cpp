// corvanta-server as a child process: start-up on a fresh folder, readiness,
// both ports, the request log and a clean stop on SIGTERM.
#include "tests/server/ServerTestEnv.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>

namespace corvanta::server::test {

namespace {

struct SChild {
    pid_t pid = -1;
    int stderrFd = -1;
    std::string output;

    // Reads the child's standard error until pattern matches or the bound passes.
    bool WaitFor(const std::regex& pattern, std::smatch& match, std::chrono::seconds bound)
    {
        auto deadline = std::chrono::steady_clock::now() + bound;
        while (!std::regex_search(output, match, pattern)) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
            if (left <= 0)
                return false;
            pollfd p{stderrFd, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left)) <= 0)
                return false;
            char buffer[4096];
            ssize_t n = ::read(stderrFd, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            output.append(buffer, static_cast<size_t>(n));
        }
        return true;
    }
};

SChild Spawn(const std::vector<std::string>& args)
{
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    SChild child;
    child.pid = ::fork();
    if (child.pid == 0) {
        ::dup2(fds[1], 2);
        ::close(fds[0]);
        ::close(fds[1]);
        ::setenv("CORVANTA_PBKDF2_ITERATIONS", "1000", 1);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    child.stderrFd = fds[0];
    return child;
}

} // namespace

TEST(ServerProgram, StartsOnAFreshFolderServesBothPortsAndStopsOnSigterm)
{
    char pattern[] = "/tmp/corvanta-server-program-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    SChild child = Spawn({CORVANTA_SERVER_PROGRAM, "--data", dir + "/data", "--demo", "--http-port", "0", "--https-port", "0"});
    std::smatch ready;
    ASSERT_TRUE(child.WaitFor(std::regex(R"(http port (\d+) and https port (\d+))"), ready, std::chrono::seconds(60)))
        << child.output;
    const std::string http = ready[1], https = ready[2];

    std::string body = "Action=Login&App=Tessarin&UserHandle=demo&PWD=demo&PrevSession=";
    SHttpAnswer login = Exchange("https://127.0.0.1:" + https + "/corvanta/production/orvane/UserLogin.jsp", &body,
                                 dir + "/data/cert.pem");
    EXPECT_NE(login.body.find("userToken=\""), std::string::npos) << login.body;
    SHttpAnswer home = Exchange("http://127.0.0.1:" + http + "/corvanta/production/tessarin/home/index.html", nullptr);
    EXPECT_EQ(home.status, 200);

    // The log names page and status, never the password.
    std::smatch logged;
    EXPECT_TRUE(child.WaitFor(std::regex(R"(GET /corvanta/production/tessarin/home/index.html 200)"), logged,
                              std::chrono::seconds(30)));
    EXPECT_NE(child.output.find("POST /corvanta/production/orvane/UserLogin.jsp 200"), std::string::npos);
    EXPECT_EQ(child.output.find("PWD"), std::string::npos);
    EXPECT_EQ(child.output.find("demo&"), std::string::npos);

    ASSERT_EQ(::kill(child.pid, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child.pid, &status, 0), child.pid);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ::close(child.stderrFd);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

TEST(ServerProgram, HelpDocumentsEveryOption)
{
    FILE* pipe = ::popen((std::string(CORVANTA_SERVER_PROGRAM) + " --help").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    int status = ::pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (const char* option : {"--data", "--host", "--http-port", "--https-port", "--demo", "--newest-version", "--download-url",
                               "SIGTERM", "CORVANTA_CA_FILE"})
        EXPECT_NE(text.find(option), std::string::npos) << option;
}

} // namespace corvanta::server::test
