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
#include "server/WebPages.h"
#include "server/WorkerPool.h"
#include "server/XmlPages.h"
#include "shared/PagePaths.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace corvanta::server {

namespace {

const std::string kOrvane = PagePaths::ServerPath(PagePaths::kXmlPages);
const std::string kTessarin = PagePaths::ServerPath(PagePaths::kWebPages);
const char* const kXmlType = "text/xml; charset=UTF-8";
// What a web page's form field may hold (the longest is a message).
constexpr size_t kMaxWebField = 4000;

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The query's fields, and for a form POST the body's fields over them.
CFormFields FieldsOf(const HttpRequest& request)
{
    CFormFields fields = CFormFields::Parse(request.query);
    if (request.method == "POST")
        fields.Merge(CFormFields::Parse(request.body));
    return fields;
}

HttpResponse FromWeb(WebAnswer answer)
{
    return {answer.status, std::move(answer.body), std::move(answer.contentType), {}};
}

HttpResponse ErrorAnswer(int status)
{
    return {status, CWebPages::ErrorPage(status), "text/html; charset=UTF-8", {}};
}

bool ReadFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream out;
    out << in.rdbuf();
    text = out.str();
    return !text.empty();
}

// Login and sign-up hash a password on purpose slowly; they run apart so that a
// burst of them never holds up the other pages.
bool TakesPassword(const std::string& path)
{
    return path == kOrvane + "UserLogin.jsp" || path == kOrvane + "CreateUser.jsp";
}

}  // namespace

CCommunityServer::CCommunityServer(ServerOptions options) : m_options(std::move(options))
{
    if (!m_options.clock)
        m_options.clock = [] { return static_cast<int64_t>(std::time(nullptr)); };
}

CCommunityServer::~CCommunityServer()
{
    Stop();
}

std::string CCommunityServer::CertificatePath() const
{
    return m_options.dataDir + "/cert.pem";
}

bool CCommunityServer::Start(std::string& error)
{
    std::string certificate, key;
    return OpenStorage(error) && LoadCertificate(certificate, key, error) && ServePorts(certificate, key, error);
}

bool CCommunityServer::OpenStorage(std::string& error)
{
    try {
        std::error_code ec;
        std::filesystem::create_directories(m_options.dataDir, ec);
        // The folder holds password hashes and the private key.
        ::chmod(m_options.dataDir.c_str(), 0700);
        m_db = std::make_unique<CDatabase>(m_options.dataDir + "/corvanta.db", 16);
        {
            auto db = m_db->Acquire();
            CLookupTables::SeedIfEmpty(*db);
        }
        m_accounts = std::make_unique<CAccounts>(*m_db, m_options.clock, m_options.pbkdf2Iterations);
        m_catalogue = std::make_unique<CCatalogue>(*m_db, m_options.clock);
        m_bookmarks = std::make_unique<CBookmarks>(*m_db);
        if (m_options.demo)
            SeedDemo();
        m_xmlPages = std::make_unique<CXmlPages>(*m_db, *m_accounts, *m_catalogue, *m_bookmarks,
                                                 ServerSettings{m_options.newestVersion, m_options.downloadUrl});
        m_webPages = std::make_unique<CWebPages>(*m_db, *m_accounts, *m_catalogue);
        // After seeding, so that the demo's tracks are searchable from the start.
        m_catalogue->LoadTrackTexts();
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

void CCommunityServer::SeedDemo()
{
    auto db = m_db->Acquire();
    auto start = std::chrono::steady_clock::now();
    if (CDemoData::SeedOnce(*db, m_options.pbkdf2Iterations, m_options.clock(), m_options.demoScale) && m_options.log)
        std::fprintf(stderr, "corvanta-server: seeded the demo community (scale %d) in %.1f s\n", m_options.demoScale,
                     std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

bool CCommunityServer::LoadCertificate(std::string& certificate, std::string& key, std::string& error)
{
    // Made once, on the first start, for the host the server listens on.
    const std::string keyPath = m_options.dataDir + "/key.pem";
    if (!CCertificate::EnsureSelfSigned(m_options.host, CertificatePath(), keyPath, error))
        return false;
    if (!ReadFile(CertificatePath(), certificate) || !ReadFile(keyPath, key)) {
        error = "cannot load " + CertificatePath() + " and " + keyPath;
        return false;
    }
    return true;
}

bool CCommunityServer::ServePorts(const std::string& certificate, const std::string& key, std::string& error)
{
    // Pages mostly compute: a few more threads than processors cover the waits on disk.
    const int threads = m_options.threads > 0 ? m_options.threads
                                              : std::max(4, 2 * static_cast<int>(std::thread::hardware_concurrency()));
    m_pages = std::make_unique<CWorkerPool>(threads, 4096);
    m_passwordPages = std::make_unique<CWorkerPool>(m_options.passwordThreads, 256);
    auto dispatch = [this](HttpRequest request, CHttpReply reply) { Dispatch(std::move(request), std::move(reply)); };
    m_http = std::make_unique<CHttpServer>(m_options.http, dispatch, ErrorAnswer, m_options.log);
    m_https = std::make_unique<CHttpServer>(m_options.http, dispatch, ErrorAnswer, m_options.log);
    if (!m_http->Start(m_options.host, m_options.httpPort, {}, {}, error) ||
        !m_https->Start(m_options.host, m_options.httpsPort, certificate, key, error)) {
        Stop();
        return false;
    }
    m_httpPort = m_http->Port();
    m_httpsPort = m_https->Port();
    return true;
}

void CCommunityServer::Stop()
{
    // New requests get 503; queued pages are answered 503, running ones finish;
    // then the ports close with every connection on them.
    for (CHttpServer* server : {m_http.get(), m_https.get()})
        if (server)
            server->Refuse();
    for (CWorkerPool* pool : {m_pages.get(), m_passwordPages.get()})
        if (pool)
            pool->Stop();
    for (CHttpServer* server : {m_http.get(), m_https.get()})
        if (server)
            server->Stop();
}

void CCommunityServer::Dispatch(HttpRequest request, CHttpReply reply)
{
    CWorkerPool& pool = TakesPassword(request.path) ? *m_passwordPages : *m_pages;
    auto run = [this, request = std::move(request), reply]() { reply.Send(Answer(request)); };
    if (!pool.Post(std::move(run), [reply] { reply.Send(ErrorAnswer(503)); }))
        reply.Send(ErrorAnswer(503));
}

HttpResponse CCommunityServer::Answer(const HttpRequest& request)
{
    HttpResponse response;
    try {
        const bool get = request.method == "GET" || request.method == "HEAD";
        if (StartsWith(request.path, kOrvane) && request.path.size() > kOrvane.size()) {
            const std::string page = request.path.substr(kOrvane.size());
            // A favorite added from a detail page's link arrives as a GET and
            // answers a web page; every other known page answers XML.
            if (!m_xmlPages->Knows(page) || (get && page == "bookmark/AddBookmark.jsp"))
                response = AnswerWebPage(request, PagePaths::kXmlPages + page);
            else
                response = {200,
                            m_xmlPages->Answer(page, get ? request.query : request.body, ContextOf(request)),
                            kXmlType,
                            {}};
        } else if (StartsWith(request.path, kTessarin) && request.path.size() > kTessarin.size()) {
            const std::string page = request.path.substr(kTessarin.size());
            int64_t track = 0;
            if (CAudioPreview::ParsePath(page, track))
                response = m_catalogue->HasPreview(track)
                               ? HttpResponse{200, CAudioPreview::Wave(track), "audio/wav", {}}
                               : HttpResponse{404, {}, {}, {}};
            else
                response = AnswerWebPage(request, PagePaths::kWebPages + page);
        } else if (request.path == "/" && get) {
            response = {302, {}, "text/html; charset=UTF-8", PagePaths::ServerPath(PagePaths::kHome)};
        } else {
            response = {404, {}, {}, {}};
        }
    } catch (const std::exception&) {
        response = {500, CXmlPages::ServerFailure(), kXmlType, {}};
    }
    if (response.status >= 400 && response.body.empty())
        response = ErrorAnswer(response.status);
    return response;
}

HttpResponse CCommunityServer::AnswerWebPage(const HttpRequest& request, const std::string& page)
{
    // Counted before decoding, so that a body of countless empty fields costs nothing.
    if (static_cast<size_t>(std::count(request.query.begin(), request.query.end(), '&') +
                            std::count(request.body.begin(), request.body.end(), '&')) >= CXmlPages::kMaxFields)
        return ErrorAnswer(400);
    CFormFields fields = FieldsOf(request);
    // Passwords never cross the plain port, on web pages either.
    if (!request.secure && CXmlPages::CarriesPassword(page, fields))
        return ErrorAnswer(403);
    for (const auto& [name, value] : fields.All())
        if (value.size() > kMaxWebField)
            return ErrorAnswer(413);
    const bool get = request.method == "GET" || request.method == "HEAD";
    return FromWeb(m_webPages->Answer(page, get ? "GET" : request.method, fields));
}

PageContext CCommunityServer::ContextOf(const HttpRequest& request) const
{
    PageContext context;
    context.peer = request.peer;
    context.secure = request.secure;
    // Previews are fetched over the plain port, at the host the client asked
    // for (a Host header fit to stand in an address), else at ours.
    std::string host = request.host;
    if (host.empty() || host.find_first_of("<>\"' ") != std::string::npos)
        host = m_options.host + ":" + std::to_string(m_httpPort);
    else if (request.secure) {
        size_t colon = host.rfind(':');
        host = (colon == std::string::npos || host.back() == ']' ? host : host.substr(0, colon)) + ":" +
               std::to_string(m_httpPort);
    }
    context.previewBase = "http://" + host;
    return context;
}

}  // namespace corvanta::server
