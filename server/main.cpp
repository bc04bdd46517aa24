// corvanta-server: the reference community server.
#include "server/CommunityServer.h"
#include "server/DemoData.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <string>

namespace {

const char* const kUsage = "Usage: corvanta-server --data DIR [options]\n"
                           "\n"
                           "Serves the Corvanta community: the XML pages the client posts to under\n"
                           "/corvanta/production/orvane/ and the web pages under /corvanta/production/tessarin/,\n"
                           "plain on the first port and secure (TLS) on the second.\n"
                           "\n"
                           "  --data DIR               data folder: corvanta.db (SQLite), cert.pem and key.pem;\n"
                           "                           created on first start, readable only by the owner\n"
                           "  --host HOST              address to listen on and name in the certificate\n"
                           "                           (default 127.0.0.1)\n"
                           "  --http-port PORT         plain port (default 7001; 0 picks a free one)\n"
                           "  --https-port PORT        secure port (default 7002; 0 picks a free one)\n"
                           "  --demo                   seed a demo community once: 30 members (log in as\n"
                           "                           demo / demo; the others use their handle as password),\n"
                           "                           320 artists, over 3,000 tracks, 100 playlists, favorites\n"
                           "  --demo-scale N           seed a demo community N times as large (1 to 1000; 1 is\n"
                           "                           --demo): 30N members, 320N artists, about 3,700N tracks,\n"
                           "                           100N playlists, and 50N favorites of demo over the four\n"
                           "                           kinds (23 at 1); members past the first 30 have the\n"
                           "                           password demo.\n"
                           "                           100 gives 370,000 tracks, 10,000 playlists, 5,000\n"
                           "                           favorites, seeded in one transaction in about 6 s\n"
                           "  --newest-version V       version that CheckForUpgrade offers to older clients\n"
                           "  --download-url URL       where that version is downloaded\n"
                           "  --pbkdf2-iterations N    password hash strength for new passwords (default 200000;\n"
                           "                           also CORVANTA_PBKDF2_ITERATIONS)\n"
                           "  --threads N              threads that run the pages (default twice the\n"
                           "                           processors, at least 4); connections wait in event\n"
                           "                           loops and hold none\n"
                           "  --quiet                  no request log\n"
                           "  --help                   this text\n"
                           "\n"
                           "Point the client at it with \"appserver\" = HOST and \"defaultports\" = 0, and let it\n"
                           "trust the certificate with CORVANTA_CA_FILE=DIR/cert.pem. One line per request goes\n"
                           "to standard error (time, method, page, status, duration). SIGINT or SIGTERM stops\n"
                           "the server cleanly within a moment, whatever its clients do.\n"
                           "\n"
                           "Each port takes at most 1000 connections, 64 from one address; a request must\n"
                           "arrive whole within 10 s (headers at most 16 KB and 64 lines, a body at most\n"
                           "1 MB). Failed logins slow further attempts for the member and the address.\n";

bool ParseInt(const char* text, int& value)
{
    char* end = nullptr;
    long parsed = std::strtol(text, &end, 10);
    if (!end || *end || parsed < 0 || parsed > 100000000)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    corvanta::server::ServerOptions options;
    if (const char* env = std::getenv("CORVANTA_PBKDF2_ITERATIONS")) {
        int iterations = 0;
        if (ParseInt(env, iterations) && iterations > 0)
            options.pbkdf2Iterations = iterations;
    }
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "corvanta-server: %s needs a value\n", arg.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        auto number = [&](int& target) {
            const char* text = value();
            if (!ParseInt(text, target)) {
                std::fprintf(stderr, "corvanta-server: bad number for %s: %s\n", arg.c_str(), text);
                std::exit(2);
            }
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--data") {
            options.dataDir = value();
        } else if (arg == "--host") {
            options.host = value();
        } else if (arg == "--http-port") {
            number(options.httpPort);
        } else if (arg == "--https-port") {
            number(options.httpsPort);
        } else if (arg == "--demo") {
            options.demo = true;
        } else if (arg == "--demo-scale") {
            number(options.demoScale);
            options.demo = true;
        } else if (arg == "--newest-version") {
            options.newestVersion = value();
        } else if (arg == "--download-url") {
            options.downloadUrl = value();
        } else if (arg == "--pbkdf2-iterations") {
            number(options.pbkdf2Iterations);
        } else if (arg == "--threads") {
            number(options.threads);
        } else if (arg == "--quiet") {
            options.log = false;
        } else {
            std::fprintf(stderr, "corvanta-server: unknown option %s\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }
    if (options.dataDir.empty()) {
        std::fputs("corvanta-server: --data DIR is required\n", stderr);
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (options.httpPort > 65535 || options.httpsPort > 65535 || options.pbkdf2Iterations < 1) {
        std::fputs("corvanta-server: bad port or iteration count\n", stderr);
        return 2;
    }
    if (options.demoScale < 1 || options.demoScale > corvanta::server::CDemoData::kMaxScale) {
        std::fputs("corvanta-server: --demo-scale takes 1 to 1000\n", stderr);
        return 2;
    }

    // Every connection is a descriptor; let the ports' limits be the ones that bind.
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max && files.rlim_cur < 8192) {
        files.rlim_cur = files.rlim_max < 8192 ? files.rlim_max : 8192;
        ::setrlimit(RLIMIT_NOFILE, &files);
    }

    // Every thread started from here on inherits the blocked signals; main waits for them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    // The database and the key hold secrets: nothing the server writes is for others.
    ::umask(077);
    corvanta::server::CCommunityServer server(options);
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "corvanta-server: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "corvanta-server: serving %s on http port %d and https port %d\n", options.dataDir.c_str(),
                 server.HttpPort(), server.HttpsPort());
    int received = 0;
    sigwait(&stopSignals, &received);
    std::fprintf(stderr, "corvanta-server: stopping (%s)\n", received == SIGINT ? "SIGINT" : "SIGTERM");
    server.Stop();
    return 0;
}
