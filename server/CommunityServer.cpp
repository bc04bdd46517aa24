#include "server/CommunityServer.h"

#include "server/Accounts.h"
#include "server/AudioPreview.h"
#include "server/Bookmarks.h"
#include "server/Catalogue.h"
#include "server/Certificate.h"
#include "server/Database.h"
#include "server/DemoData.h"
#include "server/FormFields.h"
#include "server/LookupTables.h"
#include "server/PagePaths.h"
#include "server/WebPages.h"
#include "server/XmlPages.h"

#include <httplib.h>

#include <sys/socket.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace corvanta::server {

namespace {

constexpr size_t kMaxBody = 1024 * 1024;
const std::string kOrvane = kXmlPagesPath;
const std::string kTessarin = kWebPagesPath;

// cpp-httplib as Debian builds it listens with a backlog of 5, so a burst of
// fresh connections waits for SYN retries; raise it on the bound socket.
template <class Base>
class CTunedServer : public Base {
public:
    using Base::Base;
    void RaiseBacklog(int backlog) { ::listen(this->svr_sock_, backlog); }
};

// The query fields, and for a form POST the body's fields over them.
CFormFields FieldsOf(const httplib::Request& req)
{
    size_t q = req.target.find('?');
    CFormFields fields = CFormFields::Parse(q == std::string::npos ? std::string() : req.target.substr(q + 1));
    if (req.method == "POST") {
        CFormFields body = CFormFields::Parse(req.body);
        fields.Merge(body);
    }
    return fields;
}

thread_local std::chrono::steady_clock::time_point t_requestStart;
thread_local bool t_requestTimed = false;

void LogLine(const httplib::Request& req, const httplib::Response& res)
{
    double ms = 0;
    if (t_requestTimed)
        ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t_requestStart).count();
    t_requestTimed = false;
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &tm);
    // The path only: query strings carry session tokens.
    std::fprintf(stderr, "%s %s %s %d %.1fms\n", stamp, req.method.c_str(), req.path.c_str(), res.status, ms);
}

} // namespace

struct CCommunityServer::SImpl {
    CTunedServer<httplib::Server> http;
    CTunedServer<httplib::SSLServer> https;
    SImpl(const std::string& cert, const std::string& key) : https(cert.c_str(), key.c_str()) {}
};

CCommunityServer::CCommunityServer(SServerOptions options) : m_options(std::move(options))
{
    if (!m_options.clock)
        m_options.clock = [] { return static_cast<int64_t>(std::time(nullptr)); };
}

CCommunityServer::~CCommunityServer() { Stop(); }

std::string CCommunityServer::CertificatePath() const { return m_options.dataDir + "/cert.pem"; }

bool CCommunityServer::Start(std::string& error)
{
    try {
        std::error_code ec;
        std::filesystem::create_directories(m_options.dataDir, ec);
        ::chmod(m_options.dataDir.c_str(), 0700);
        m_db = std::make_unique<CDatabase>(m_options.dataDir + "/corvanta.db", 16);
        {
            auto db = m_db->Acquire();
            CLookupTables::SeedIfEmpty(*db);
        }
        m_accounts = std::make_unique<CAccounts>(*m_db, m_options.clock, m_options.pbkdf2Iterations);
        m_catalogue = std::make_unique<CCatalogue>(*m_db, m_options.clock);
        m_bookmarks = std::make_unique<CBookmarks>(*m_db);
        if (m_options.demo) {
            auto db = m_db->Acquire();
            CDemoData::SeedOnce(*db, m_options.pbkdf2Iterations, m_options.clock());
        }
        m_xmlPages = std::make_unique<CXmlPages>(*m_db, *m_accounts, *m_catalogue, *m_bookmarks,
                                                 SServerSettings{m_options.newestVersion, m_options.downloadUrl});
        m_webPages = std::make_unique<CWebPages>(*m_db, *m_accounts, *m_catalogue);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }

    const std::string keyPath = m_options.dataDir + "/key.pem";
    if (!CCertificate::EnsureSelfSigned(m_options.host, CertificatePath(), keyPath, error))
        return false;
    m_impl = std::make_unique<SImpl>(CertificatePath(), keyPath);
    if (!m_impl->https.is_valid()) {
        error = "cannot load " + CertificatePath() + " and " + keyPath;
        return false;
    }

    auto setUp = [this](httplib::Server& server, bool secure) {
        const int threads = m_options.threads < 1 ? 1 : m_options.threads;
        server.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
        server.set_tcp_nodelay(true);
        server.set_payload_max_length(kMaxBody);
        server.set_keep_alive_max_count(1000);
        server.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
            t_requestStart = std::chrono::steady_clock::now();
            t_requestTimed = true;
            return httplib::Server::HandlerResponse::Unhandled;
        });
        if (m_options.log)
            server.set_logger(LogLine);
        server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
            res.status = 500;
            res.set_content(CXmlPages::Exception("com.velmar.orvane.ServerException", "The server could not complete the request"),
                            "text/xml; charset=UTF-8");
        });
        server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
            if (res.body.empty())
                res.set_content(CWebPages::ErrorPage(res.status), "text/html; charset=UTF-8");
        });

        auto xml = [this, secure](const httplib::Request& req, httplib::Response& res) {
            std::string page = req.matches[1];
            if (!m_xmlPages->Knows(page) || (req.method == "GET" && page == "bookmark/AddBookmark.jsp")) {
                SWebAnswer web = m_webPages->Answer("orvane/" + page, req.method, FieldsOf(req));
                res.status = web.status;
                res.set_content(web.body, web.contentType);
                return;
            }
            std::string body = req.body;
            if (req.method == "GET") {
                size_t q = req.target.find('?');
                body = q == std::string::npos ? std::string() : req.target.substr(q + 1);
            }
            // Passwords never cross the plain port.
            if (!secure && (page == "CreateUser.jsp" || (page == "UserLogin.jsp" && body.find("Action=Login") != std::string::npos))) {
                res.set_content(CXmlPages::Exception("com.velmar.orvane.SecurityException", "Please log in over the secure connection"),
                                "text/xml; charset=UTF-8");
                return;
            }
            std::string host = req.get_header_value("Host");
            if (host.empty() || host.find_first_of("<>\"' ") != std::string::npos)
                host = m_options.host + ":" + std::to_string(m_httpPort);
            else if (secure) {
                // Previews are fetched over the plain port.
                size_t colon = host.rfind(':');
                host = (colon == std::string::npos || host.back() == ']' ? host : host.substr(0, colon)) + ":" +
                       std::to_string(m_httpPort);
            }
            res.set_content(m_xmlPages->Answer(page, body, "http://" + host), "text/xml; charset=UTF-8");
        };
        server.Post(kOrvane + "(.+)", xml);
        server.Get(kOrvane + "(.+)", xml);

        auto web = [this](const httplib::Request& req, httplib::Response& res) {
            std::string page = req.matches[1];
            int64_t track = 0;
            if (CAudioPreview::ParsePath(page, track)) {
                if (!m_catalogue->HasPreview(track)) {
                    res.status = 404;
                    return;
                }
                res.set_content(CAudioPreview::Wave(track), "audio/wav");
                return;
            }
            SWebAnswer answer = m_webPages->Answer("tessarin/" + page, req.method, FieldsOf(req));
            res.status = answer.status;
            res.set_content(answer.body, answer.contentType);
        };
        server.Get(kTessarin + "(.+)", web);
        server.Post(kTessarin + "(.+)", web);
        server.Get("/", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect(kHomePagePath);
        });
    };
    setUp(m_impl->http, false);
    setUp(m_impl->https, true);

    auto bind = [&](auto& server, int port, int& bound) {
        if (port == 0)
            bound = server.bind_to_any_port(m_options.host);
        else
            bound = server.bind_to_port(m_options.host, port) ? port : -1;
        if (bound <= 0) {
            error = "cannot listen on " + m_options.host + ":" + std::to_string(port);
            return false;
        }
        server.RaiseBacklog(m_options.backlog);
        return true;
    };
    if (!bind(m_impl->http, m_options.httpPort, m_httpPort) || !bind(m_impl->https, m_options.httpsPort, m_httpsPort)) {
        m_impl->http.stop();
        m_impl->https.stop();
        return false;
    }
    m_httpThread = std::thread([this] { m_impl->http.listen_after_bind(); });
    m_httpsThread = std::thread([this] { m_impl->https.listen_after_bind(); });
    // stop() only acts on a running server; until then connections already queue.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((!m_impl->http.is_running() || !m_impl->https.is_running()) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    return true;
}

void CCommunityServer::Stop()
{
    if (m_impl) {
        m_impl->http.stop();
        m_impl->https.stop();
    }
    if (m_httpThread.joinable())
        m_httpThread.join();
    if (m_httpsThread.joinable())
        m_httpsThread.join();
}

} // namespace corvanta::server
