#pragma once

#include "server/HttpServer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace corvanta::server {

class CAccounts;
class CBookmarks;
class CCatalogue;
class CDatabase;
class CWebPages;
class CWorkerPool;
class CXmlPages;
struct PageContext;

struct ServerOptions {
    std::string dataDir;
    std::string host = "127.0.0.1";
    int httpPort = 7001;   // 0: any free port
    int httpsPort = 7002;  // 0: any free port
    bool demo = false;
    int demoScale = 1;  // the demo community's size, 1 the plain demo
    std::string newestVersion;
    std::string downloadUrl;
    int pbkdf2Iterations = 200000;
    int threads = 0;                 // run the pages (connections hold none); 0: twice the processors, at least 4
    int passwordThreads = 2;         // run login and sign-up, whose hashing is slow on purpose
    HttpLimits http;                 // per port
    bool log = true;                 // one line per request on stderr
    std::function<int64_t()> clock;  // seconds since the epoch; the system clock when empty
};

// The community server: storage, the XML pages and the web pages on a plain and
// a secure port.
class CCommunityServer {
public:
    explicit CCommunityServer(ServerOptions options);
    CCommunityServer(const CCommunityServer&) = delete;
    CCommunityServer& operator=(const CCommunityServer&) = delete;
    ~CCommunityServer();

    // Opens the storage, seeds it when asked, makes the certificate and starts
    // serving; connections queue from the moment this returns true.
    bool Start(std::string& error);
    void Stop();

    int HttpPort() const { return m_httpPort; }
    int HttpsPort() const { return m_httpsPort; }
    std::string CertificatePath() const;
    CAccounts& Accounts() { return *m_accounts; }

private:
    // Start's steps, in order.
    bool OpenStorage(std::string& error);
    void SeedDemo();
    bool LoadCertificate(std::string& certificate, std::string& key, std::string& error);
    bool ServePorts(const std::string& certificate, const std::string& key, std::string& error);

    // On an event-loop thread: hands the request to the pool that runs its page.
    void Dispatch(HttpRequest request, CHttpReply reply);
    // On a pool's thread: the page's answer, by the path's folder.
    HttpResponse Answer(const HttpRequest& request);
    HttpResponse AnswerWebPage(const HttpRequest& request, const std::string& page);
    PageContext ContextOf(const HttpRequest& request) const;

    ServerOptions m_options;
    std::unique_ptr<CDatabase> m_db;
    std::unique_ptr<CAccounts> m_accounts;
    std::unique_ptr<CCatalogue> m_catalogue;
    std::unique_ptr<CBookmarks> m_bookmarks;
    std::unique_ptr<CXmlPages> m_xmlPages;
    std::unique_ptr<CWebPages> m_webPages;
    std::unique_ptr<CWorkerPool> m_pages;
    std::unique_ptr<CWorkerPool> m_passwordPages;
    std::unique_ptr<CHttpServer> m_http;
    std::unique_ptr<CHttpServer> m_https;
    int m_httpPort = 0;
    int m_httpsPort = 0;
};

}  // namespace corvanta::server
