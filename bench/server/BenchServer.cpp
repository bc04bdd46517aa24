// bench_server: drives corvanta-server's pages on loopback with wrk and prints
// requests per second and latency percentiles beside a static-file baseline.
#include "bench/BenchFigure.h"
#include "server/CommunityServer.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

using corvanta::server::CCommunityServer;
using corvanta::server::ServerOptions;

namespace {

struct WrkResult {
    double requestsPerSecond = 0;
    std::string p50, p90, p99;
    long errors = 0;
};

std::string RunCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    ::pclose(pipe);
    return output;
}

// wrk with a script that posts one fixed form body (or plain GETs without one).
// fresh: a new connection for every request, as the client makes them.
WrkResult Wrk(const std::string& dir, const std::string& name, const std::string& url, const std::string& body,
              int connections, bool fresh = false)
{
    std::string script = dir + "/" + name + ".lua";
    {
        std::ofstream out(script);
        if (!body.empty()) {
            out << "wrk.method = \"POST\"\n";
            out << "wrk.body = \"" << body << "\"\n";
            out << "wrk.headers[\"Content-Type\"] = \"application/x-www-form-urlencoded\"\n";
        }
        if (fresh)
            out << "wrk.headers[\"Connection\"] = \"close\"\n";
        // Count answers that carry a refusal as errors, so a broken page cannot look fast.
        out << "errors = 0\nfunction response(status, headers, body)\n"
               "  if status ~= 200 or string.find(body, \"<Exception>\", 1, true) then errors = errors + 1 end\nend\n";
    }
    std::string output =
        RunCommand("wrk -t2 -c" + std::to_string(connections) + " -d4s --latency -s " + script + " " + url + " 2>&1");
    WrkResult result;
    std::smatch m;
    if (std::regex_search(output, m, std::regex(R"(Requests/sec:\s+([0-9.]+))")))
        result.requestsPerSecond = std::stod(m[1]);
    auto percentile = [&](const char* p) {
        std::smatch pm;
        return std::regex_search(output, pm, std::regex(std::string(R"(\s)") + p + R"(%\s+([0-9.]+\w+))")) ? pm[1].str()
                                                                                                           : "?";
    };
    result.p50 = percentile("50");
    result.p90 = percentile("90");
    result.p99 = percentile("99");
    if (std::regex_search(output, m, std::regex(R"(Non-2xx or 3xx responses:\s+(\d+))")))
        result.errors = std::stol(m[1]);
    if (result.requestsPerSecond == 0)
        std::fprintf(stderr, "wrk output for %s:\n%s\n", name.c_str(), output.c_str());
    return result;
}

size_t Discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

// Worst time, over many bursts, for seven fresh connections opened at once
// (the client's "All" search); each thread does one complete exchange.
double WorstBurstMs(int port, int bursts)
{
    double worst = 0;
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/corvanta/production/tessarin/style.css";
    for (int b = 0; b < bursts; ++b) {
        std::vector<std::thread> threads;
        std::vector<double> times(7);
        for (int i = 0; i < 7; ++i)
            threads.emplace_back([&, i] {
                CURL* curl = curl_easy_init();
                curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
                curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Discard);
                curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
                curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
                auto start = std::chrono::steady_clock::now();
                curl_easy_perform(curl);
                times[static_cast<size_t>(i)] =
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                curl_easy_cleanup(curl);
            });
        for (auto& t : threads)
            t.join();
        worst = std::max(worst, *std::max_element(times.begin(), times.end()));
    }
    return worst;
}

std::unique_ptr<CCommunityServer> StartServer(const std::string& dir, bool demo, int backlog, int iterations)
{
    ServerOptions options;
    options.dataDir = dir;
    options.httpPort = 0;
    options.httpsPort = 0;
    options.demo = demo;
    options.log = false;
    options.http.backlog = backlog;
    options.pbkdf2Iterations = iterations;
    auto server = std::make_unique<CCommunityServer>(options);
    std::string error;
    if (!server->Start(error)) {
        std::fprintf(stderr, "bench_server: %s\n", error.c_str());
        std::exit(1);
    }
    return server;
}

}  // namespace

int main()
{
    curl_global_init(CURL_GLOBAL_ALL);
    char pattern[] = "/tmp/corvanta-bench-server-XXXXXX";
    if (!::mkdtemp(pattern))
        return 1;
    const std::string dir = pattern;
    const int iterations = 200000;  // the server's default strength
    auto server = StartServer(dir + "/data", true, 4096, iterations);
    const std::string plain = "http://127.0.0.1:" + std::to_string(server->HttpPort());
    const std::string secure = "https://127.0.0.1:" + std::to_string(server->HttpsPort());
    const std::string orvane = "/corvanta/production/orvane/";

    std::string ids;
    for (int i = 1; i <= 50; ++i) {
        if (i > 1)
            ids += ',';
        ids += std::to_string(i * 37);
    }

    WrkResult baseline = Wrk(dir, "static", plain + "/corvanta/production/tessarin/style.css", "", 32);
    WrkResult search = Wrk(dir, "search", plain + orvane + "search/SearchForPerformances.jsp",
                           "PerformanceTitle=love&PerformanceTitleSearchType=0", 32);
    WrkResult freshSearch = Wrk(dir, "search_fresh", plain + orvane + "search/SearchForPerformances.jsp",
                                "PerformanceTitle=love&PerformanceTitleSearchType=0", 32, true);
    WrkResult summaries =
        Wrk(dir, "summaries", plain + orvane + "search/GetSummaries.jsp", "Type=PERFORMANCE&IDs=" + ids, 32);
    WrkResult secureBaseline = Wrk(dir, "static_tls", secure + "/corvanta/production/tessarin/style.css", "", 8);
    WrkResult login = Wrk(dir, "login", secure + orvane + "UserLogin.jsp",
                          "Action=Login&App=Tessarin&UserHandle=demo&PWD=demo&PrevSession=", 8);

    auto row = [](const char* name, const WrkResult& r) {
        std::printf("%-34s %9.0f req/s   p50 %-8s p90 %-8s p99 %-8s errors %ld\n", name, r.requestsPerSecond,
                    r.p50.c_str(), r.p90.c_str(), r.p99.c_str(), r.errors);
    };
    row("static file (http baseline)", baseline);
    row("tracks search (http)", search);
    row("tracks search, new connections", freshSearch);
    row("GetSummaries of 50 tracks (http)", summaries);
    row("static file (https baseline)", secureBaseline);
    row("login, PBKDF2 200000 (https)", login);
    PrintFigure("tracks search", "static file", search.requestsPerSecond, baseline.requestsPerSecond, "req/s", 0);
    PrintFigure("GetSummaries of 50", "static file", summaries.requestsPerSecond, baseline.requestsPerSecond, "req/s",
                0);
    PrintFigure("login", "https static file", login.requestsPerSecond, secureBaseline.requestsPerSecond, "req/s", 0);
    PrintFigure("tracks search", "1000 req/s target", search.requestsPerSecond, 1000, "req/s", 0);
    PrintFigure("tracks search on new connections", "1000 req/s target", freshSearch.requestsPerSecond, 1000, "req/s",
                0);

    // Seven fresh connections at once, with our backlog and with the library's 5.
    auto small = StartServer(dir + "/small", false, 5, 1000);
    double ours = WorstBurstMs(server->HttpPort(), 200);
    double reference = WorstBurstMs(small->HttpPort(), 200);
    PrintFigure("worst of 200 bursts of 7 fresh connections", "listen backlog 5", ours, reference, "ms");

    small->Stop();
    server->Stop();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    curl_global_cleanup();
    return 0;
}
