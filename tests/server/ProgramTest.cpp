// corvanta-server as a child process: start-up on a fresh folder, readiness,
// both ports, the request log and a clean stop on SIGTERM.
#include "tests/server/ServerTestEnv.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace corvanta::server::test {

namespace {

struct Child {
    pid_t pid = -1;
    int stderrFd = -1;
    std::string output;

    // Reads the child's standard error until pattern matches or the bound passes.
    bool WaitFor(const std::regex& pattern, std::smatch& match, std::chrono::seconds bound)
    {
        auto deadline = std::chrono::steady_clock::now() + bound;
        while (!std::regex_search(output, match, pattern)) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                    .count();
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

Child Spawn(const std::vector<std::string>& args)
{
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    Child child;
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

std::string TemporaryFolder()
{
    char pattern[] = "/tmp/corvanta-server-program-XXXXXX";
    return ::mkdtemp(pattern) ? pattern : "";
}

// Waits for the line that says the server serves, and reads its ports from it.
bool WaitUntilServing(Child& child, std::string& http, std::string& https)
{
    std::smatch ready;
    if (!child.WaitFor(std::regex(R"(http port (\d+) and https port (\d+))"), ready, std::chrono::seconds(60)))
        return false;
    http = ready[1];
    https = ready[2];
    return true;
}

// Waits for the child's end; its exit status, or -1 when it did not end in time.
int WaitForExit(pid_t pid, std::chrono::seconds bound)
{
    auto deadline = std::chrono::steady_clock::now() + bound;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline)
            return -1;
        ::poll(nullptr, 0, 10);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// An HTTP/1.0 exchange that the server ends: its side of the connection stays in TIME_WAIT.
bool ExchangeClosedByServer(int port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const char request[] = "GET /corvanta/production/tessarin/style.css HTTP/1.0\r\n\r\n";
    ok = ok && ::send(fd, request, sizeof request - 1, 0) == static_cast<ssize_t>(sizeof request - 1);
    char buffer[4096];
    ssize_t n;
    while (ok && (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
    }
    ::close(fd);
    return ok;
}

// Whether the kernel holds a TIME_WAIT connection whose local port is port.
bool TimeWaitOn(int port)
{
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (state == "06" && std::stoi(local.substr(local.find(':') + 1), nullptr, 16) == port)
            return true;
    }
    return false;
}

}  // namespace

TEST(ServerProgram, ASecondServerOnTheSamePortIsRefusedAndARestartBindsOverTimeWait)
{
    const std::string dir = TemporaryFolder();
    ASSERT_FALSE(dir.empty());
    Child first =
        Spawn({CORVANTA_SERVER_PROGRAM, "--data", dir + "/one", "--http-port", "0", "--https-port", "0", "--quiet"});
    std::string http, https;
    ASSERT_TRUE(WaitUntilServing(first, http, https)) << first.output;

    // Another server, on another data folder, takes neither port from it.
    for (const auto& ports : {std::make_pair(http, std::string("0")), std::make_pair(std::string("0"), https)}) {
        SCOPED_TRACE(ports.first + " " + ports.second);
        Child second = Spawn({CORVANTA_SERVER_PROGRAM, "--data", dir + "/two", "--http-port", ports.first,
                              "--https-port", ports.second, "--quiet"});
        std::smatch refused;
        const std::string taken = ports.first == "0" ? ports.second : ports.first;
        EXPECT_TRUE(
            second.WaitFor(std::regex("cannot listen on 127\\.0\\.0\\.1:" + taken), refused, std::chrono::seconds(60)))
            << second.output;
        EXPECT_EQ(WaitForExit(second.pid, std::chrono::seconds(30)), 1);
        ::close(second.stderrFd);
    }
    EXPECT_EQ(Exchange("http://127.0.0.1:" + http + "/corvanta/production/tessarin/style.css", nullptr).status, 200);

    // A restart binds the same ports while connections it closed are in TIME_WAIT.
    ASSERT_TRUE(ExchangeClosedByServer(std::stoi(http)));
    ASSERT_EQ(::kill(first.pid, SIGTERM), 0);
    ASSERT_EQ(WaitForExit(first.pid, std::chrono::seconds(30)), 0);
    ::close(first.stderrFd);
    ASSERT_TRUE(TimeWaitOn(std::stoi(http)));
    Child again =
        Spawn({CORVANTA_SERVER_PROGRAM, "--data", dir + "/one", "--http-port", http, "--https-port", https, "--quiet"});
    std::string httpAgain, httpsAgain;
    EXPECT_TRUE(WaitUntilServing(again, httpAgain, httpsAgain)) << again.output;
    EXPECT_EQ(httpAgain + " " + httpsAgain, http + " " + https);
    EXPECT_EQ(Exchange("http://127.0.0.1:" + http + "/corvanta/production/tessarin/style.css", nullptr).status, 200);
    ::kill(again.pid, SIGTERM);
    EXPECT_EQ(WaitForExit(again.pid, std::chrono::seconds(30)), 0);
    ::close(again.stderrFd);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

TEST(ServerProgram, StartsOnAFreshFolderServesBothPortsAndStopsOnSigterm)
{
    const std::string dir = TemporaryFolder();
    ASSERT_FALSE(dir.empty());
    Child child =
        Spawn({CORVANTA_SERVER_PROGRAM, "--data", dir + "/data", "--demo", "--http-port", "0", "--https-port", "0"});
    std::string http, https;
    ASSERT_TRUE(WaitUntilServing(child, http, https)) << child.output;

    std::string body = "Action=Login&App=Tessarin&UserHandle=demo&PWD=demo&PrevSession=";
    HttpAnswer login = Exchange("https://127.0.0.1:" + https + "/corvanta/production/orvane/UserLogin.jsp", &body,
                                dir + "/data/cert.pem");
    EXPECT_NE(login.body.find("userToken=\""), std::string::npos) << login.body;
    HttpAnswer home = Exchange("http://127.0.0.1:" + http + "/corvanta/production/tessarin/home/index.html", nullptr);
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
    for (const char* option : {"--data", "--host", "--http-port", "--https-port", "--demo", "--demo-scale", "--threads",
                               "--newest-version", "--download-url", "SIGTERM", "CORVANTA_CA_FILE"})
        EXPECT_NE(text.find(option), std::string::npos) << option;
}

}  // namespace corvanta::server::test
