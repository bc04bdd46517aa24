#include "tests/support/LoopbackHttpServer.h"

#include "platform/Text.h"

#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

namespace {

std::string ToLower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string DecodeFormPart(const std::string& text)
{
    return PercentDecode(text, PlusSign::Space);
}

// Counts the connections the server accepts: it queues one task per socket.
class CountingTaskQueue : public httplib::TaskQueue {
public:
    CountingTaskQueue(std::atomic<int>& connections, std::size_t threads) : m_connections(connections), m_pool(threads)
    {
    }
    void enqueue(std::function<void()> fn) override
    {
        ++m_connections;
        m_pool.enqueue(std::move(fn));
    }
    void shutdown() override { m_pool.shutdown(); }

private:
    std::atomic<int>& m_connections;
    httplib::ThreadPool m_pool;
};

struct KeyDeleter {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertDeleter {
    void operator()(X509* cert) const { X509_free(cert); }
};

// A self-signed certificate for 127.0.0.1 and localhost, valid for a day.
void MakeCertificate(std::unique_ptr<EVP_PKEY, KeyDeleter>& key, std::unique_ptr<X509, CertDeleter>& cert)
{
    key.reset(EVP_EC_gen("P-256"));
    cert.reset(X509_new());
    if (!key || !cert)
        throw std::runtime_error("cannot create a test certificate");
    X509* x = cert.get();
    X509_set_version(x, 2);
    static std::atomic<long> serial{1};
    ASN1_INTEGER_set(X509_get_serialNumber(x), serial++ + static_cast<long>(::getpid()) * 1000);
    X509_gmtime_adj(X509_getm_notBefore(x), -3600);
    X509_gmtime_adj(X509_getm_notAfter(x), 24 * 3600);
    X509_set_pubkey(x, key.get());
    X509_NAME* name = X509_get_subject_name(x);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1,
                               0);
    X509_set_issuer_name(x, name);
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, x, x, nullptr, nullptr, 0);
    for (auto [nid, value] : {std::pair{NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost"},
                              std::pair{NID_basic_constraints, "critical,CA:TRUE"},
                              std::pair{NID_key_usage, "critical,digitalSignature,keyCertSign"}}) {
        X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
        if (ext == nullptr)
            throw std::runtime_error("cannot add a certificate extension");
        X509_add_ext(x, ext, -1);
        X509_EXTENSION_free(ext);
    }
    if (X509_sign(x, key.get(), EVP_sha256()) == 0)
        throw std::runtime_error("cannot sign the test certificate");
}

}  // namespace

std::string ServerPagePath(const std::string& page)
{
    return "/corvanta/production/orvane/" + page;
}

std::vector<std::pair<std::string, std::string>> DecodeFormBody(const std::string& body)
{
    std::vector<std::pair<std::string, std::string>> form;
    std::size_t start = 0;
    while (start <= body.size()) {
        std::size_t end = body.find('&', start);
        if (end == std::string::npos)
            end = body.size();
        const std::string pair = body.substr(start, end - start);
        if (!pair.empty()) {
            const std::size_t eq = pair.find('=');
            if (eq == std::string::npos)
                form.emplace_back(DecodeFormPart(pair), std::string());
            else
                form.emplace_back(DecodeFormPart(pair.substr(0, eq)), DecodeFormPart(pair.substr(eq + 1)));
        }
        start = end + 1;
    }
    return form;
}

std::string RecordedRequest::Header(const std::string& name) const
{
    const auto it = headers.find(ToLower(name));
    return it == headers.end() ? std::string() : it->second;
}

std::string RecordedRequest::Form(const std::string& key) const
{
    for (const auto& [k, v] : form)
        if (k == key)
            return v;
    return {};
}

bool RecordedRequest::HasForm(const std::string& key) const
{
    return std::any_of(form.begin(), form.end(), [&](const auto& entry) { return entry.first == key; });
}

struct CLoopbackHttpServer::State {
    bool secure = false;
    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    std::atomic<bool> listenEnded{false};
    std::uint16_t port = 0;
    std::filesystem::path folder;
    std::atomic<int> connections{0};

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<RecordedRequest> requests;
    std::map<std::string, std::function<ScriptedResponse(const RecordedRequest&)>> responders;
    ScriptedResponse defaultResponse;
    std::set<std::string> held;
    std::size_t holding = 0;
    bool stopping = false;

    void Handle(const httplib::Request& req, httplib::Response& res)
    {
        RecordedRequest record;
        record.method = req.method;
        record.path = req.path;
        for (const auto& [name, value] : req.headers)
            record.headers.emplace(ToLower(name), value);
        record.body = req.body;
        record.form = DecodeFormBody(req.body);
        for (const auto& [key, value] : req.params)
            record.libraryForm.emplace(key, value);

        std::function<ScriptedResponse(const RecordedRequest&)> responder;
        ScriptedResponse answer;
        {
            std::unique_lock lock(mutex);
            requests.push_back(record);
            changed.notify_all();
            if (held.count(record.path) != 0) {
                ++holding;
                changed.notify_all();
                changed.wait(lock, [&] { return stopping || held.count(record.path) == 0; });
                --holding;
            }
            if (const auto it = responders.find(record.path); it != responders.end())
                responder = it->second;
            else
                answer = defaultResponse;
        }
        if (responder)
            answer = responder(record);
        res.status = answer.status;
        res.set_content(answer.body, answer.contentType.c_str());
    }
};

CLoopbackHttpServer::CLoopbackHttpServer(bool secure) : m_state(std::make_shared<State>())
{
    State& s = *m_state;
    s.secure = secure;
    if (secure) {
        std::unique_ptr<EVP_PKEY, KeyDeleter> key;
        std::unique_ptr<X509, CertDeleter> cert;
        MakeCertificate(key, cert);
        std::string pattern = (std::filesystem::temp_directory_path() / "corvanta-loopback-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        s.folder = pattern;
        FILE* file = std::fopen((s.folder / "server.pem").c_str(), "w");
        if (file == nullptr || PEM_write_X509(file, cert.get()) != 1)
            throw std::runtime_error("cannot write the test certificate");
        std::fclose(file);
        s.server = std::make_unique<httplib::SSLServer>(cert.get(), key.get());
    } else {
        s.server = std::make_unique<httplib::Server>();
    }
    State* state = m_state.get();
    s.server->new_task_queue = [state] { return new CountingTaskQueue(state->connections, 16); };
    auto handler = [state](const httplib::Request& req, httplib::Response& res) { state->Handle(req, res); };
    s.server->Post(".*", handler);
    s.server->Get(".*", handler);
    const int port = s.server->bind_to_any_port(kHost);
    if (port <= 0)
        throw std::runtime_error("cannot bind the loopback server");
    s.port = static_cast<std::uint16_t>(port);
    s.server->set_keep_alive_timeout(1);
    s.thread = std::thread([state] {
        state->server->listen_after_bind();
        state->listenEnded = true;
    });
    // stop() is only heard once the loop runs.
    while (!s.server->is_running() && !s.listenEnded)
        std::this_thread::yield();
}

CLoopbackHttpServer::~CLoopbackHttpServer()
{
    State& s = *m_state;
    {
        std::lock_guard lock(s.mutex);
        s.stopping = true;
    }
    s.changed.notify_all();
    s.server->stop();
    if (s.thread.joinable())
        s.thread.join();
    if (!s.folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(s.folder, ignored);
    }
}

std::uint16_t CLoopbackHttpServer::Port() const
{
    return m_state->port;
}

bool CLoopbackHttpServer::Secure() const
{
    return m_state->secure;
}

std::string CLoopbackHttpServer::CertificateFile() const
{
    return m_state->folder.empty() ? std::string() : (m_state->folder / "server.pem").string();
}

void CLoopbackHttpServer::TrustCertificate() const
{
    ::setenv("CORVANTA_CA_FILE", CertificateFile().c_str(), 1);
}

void CLoopbackHttpServer::SetResponse(const std::string& path, int status, std::string body)
{
    SetResponse(path, [status, body = std::move(body)](const RecordedRequest&) {
        return ScriptedResponse{status, body};
    });
}

void CLoopbackHttpServer::SetResponse(const std::string& path,
                                      std::function<ScriptedResponse(const RecordedRequest&)> responder)
{
    std::lock_guard lock(m_state->mutex);
    m_state->responders[path] = std::move(responder);
}

void CLoopbackHttpServer::SetDefaultResponse(int status, std::string body)
{
    std::lock_guard lock(m_state->mutex);
    m_state->defaultResponse = ScriptedResponse{status, std::move(body)};
}

void CLoopbackHttpServer::Hold(const std::string& path)
{
    std::lock_guard lock(m_state->mutex);
    m_state->held.insert(path);
}

void CLoopbackHttpServer::Release(const std::string& path)
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->held.erase(path);
    }
    m_state->changed.notify_all();
}

bool CLoopbackHttpServer::WaitForRequests(std::size_t count, std::chrono::milliseconds bound) const
{
    std::unique_lock lock(m_state->mutex);
    return m_state->changed.wait_for(lock, bound, [&] { return m_state->requests.size() >= count; });
}

bool CLoopbackHttpServer::WaitForHeld(std::size_t count, std::chrono::milliseconds bound) const
{
    std::unique_lock lock(m_state->mutex);
    return m_state->changed.wait_for(lock, bound, [&] { return m_state->holding >= count; });
}

std::vector<RecordedRequest> CLoopbackHttpServer::Requests() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->requests;
}

std::vector<RecordedRequest> CLoopbackHttpServer::RequestsTo(const std::string& path) const
{
    std::lock_guard lock(m_state->mutex);
    std::vector<RecordedRequest> matching;
    for (const RecordedRequest& request : m_state->requests)
        if (request.path == path)
            matching.push_back(request);
    return matching;
}

RecordedRequest CLoopbackHttpServer::LastRequest() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->requests.empty() ? RecordedRequest{} : m_state->requests.back();
}

std::size_t CLoopbackHttpServer::RequestCount() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->requests.size();
}

int CLoopbackHttpServer::Connections() const
{
    return m_state->connections.load();
}

CUnansweredListener::CUnansweredListener()
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(m_listener, 0) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot open the unanswered listener");
    m_port = ntohs(address.sin_port);
    // Backlog 0 still queues one connection; two fillers make sure the queue
    // is full, later handshakes then get no answer.
    for (int i = 0; i < 2; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (filler < 0)
            throw std::runtime_error("cannot open a filler socket");
        static_cast<void>(::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address));
        m_fillers.push_back(filler);
    }
}

CUnansweredListener::~CUnansweredListener()
{
    for (const int filler : m_fillers)
        ::close(filler);
    if (m_listener >= 0)
        ::close(m_listener);
}
