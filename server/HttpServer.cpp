#include "server/HttpServer.h"

#include "platform/Text.h"

#include <microhttpd.h>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <vector>

namespace corvanta::server {

namespace {

using Clock = std::chrono::steady_clock;

int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

// Where a connection stands, for the deadlines the event loop cannot keep by itself.
enum Phase : int { kWaiting, kBusy, kSending };

bool IsKnownMethod(const std::string& method)
{
    return method == "GET" || method == "POST" || method == "HEAD";
}

std::string PeerOf(MHD_Connection* connection)
{
    const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (!info || !info->client_addr)
        return {};
    char text[INET6_ADDRSTRLEN] = {};
    if (info->client_addr->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(info->client_addr)->sin_addr, text, sizeof text);
    else if (info->client_addr->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(info->client_addr)->sin6_addr, text, sizeof text);
    return text;
}

std::string PathOf(const std::string& rawUri)
{
    return PercentDecode(std::string_view(rawUri).substr(0, rawUri.find('?')));
}

void DeleteString(void* text)
{
    delete static_cast<std::string*>(text);
}

}  // namespace

// One TCP connection, as the deadline keeper sees it.
struct HttpConnection {
    int fd = -1;
    std::atomic<int> phase{kWaiting};
    std::atomic<int64_t> since{0};
    bool cut = false;  // guarded by the registry's lock
};

// One request, from its request line to its completion.
struct HttpExchange {
    std::string rawUri;
    std::string method;
    std::string body;
    HttpConnection* connection = nullptr;
    bool headersSeen = false;
    bool tooLarge = false;
    bool dispatched = false;
    std::atomic<bool> answered{false};
    HttpResponse response;
    Clock::time_point arrived;
};

// The connection a reply belongs to; it stays suspended until Send.
struct CHttpReply::State {
    CHttpServer::Impl* owner = nullptr;
    MHD_Connection* connection = nullptr;
    HttpExchange* exchange = nullptr;
    std::mutex lock;
    bool sent = false;

    void Send(HttpResponse response);
    ~State();
};

struct CHttpServer::Impl {
    HttpLimits limits;
    Handler handler;
    ErrorAnswer errorAnswer;
    bool log = false;
    bool secure = false;
    std::string certificate, key;  // kept for the daemon's lifetime
    MHD_Daemon* daemon = nullptr;

    std::atomic<bool> refusing{false};
    std::mutex outstandingLock;
    std::condition_variable outstandingDone;
    int outstanding = 0;  // replies handed out and not yet given

    std::mutex registryLock;
    std::unordered_set<HttpConnection*> connections;
    std::condition_variable keeperWake;
    bool keeperStop = false;
    std::thread keeper;

    void ReplyGiven()
    {
        std::lock_guard<std::mutex> guard(outstandingLock);
        if (--outstanding == 0)
            outstandingDone.notify_all();
    }

    void LogLine(const HttpExchange& exchange, int status) const
    {
        double ms = exchange.dispatched
                        ? std::chrono::duration<double, std::milli>(Clock::now() - exchange.arrived).count()
                        : 0.0;
        std::time_t now = std::time(nullptr);
        std::tm tm{};
        gmtime_r(&now, &tm);
        char stamp[32];
        std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &tm);
        // The path only: query strings carry session tokens.
        std::fprintf(stderr, "%s %s %s %d %.1fms\n", stamp, exchange.method.c_str(), PathOf(exchange.rawUri).c_str(),
                     status, ms);
    }

    MHD_Result Queue(MHD_Connection* connection, HttpExchange& exchange, HttpResponse answer)
    {
        if (exchange.connection) {
            exchange.connection->since = NowMs();
            exchange.connection->phase = kSending;
        }
        auto* body = new std::string(std::move(answer.body));
        MHD_Response* response =
            MHD_create_response_from_buffer_with_free_callback_cls(body->size(), body->data(), DeleteString, body);
        if (!response) {
            delete body;
            return MHD_NO;
        }
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, answer.contentType.c_str());
        if (!answer.location.empty())
            MHD_add_response_header(response, MHD_HTTP_HEADER_LOCATION, answer.location.c_str());
        MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(answer.status), response);
        MHD_destroy_response(response);
        if (log)
            LogLine(exchange, answer.status);
        return queued;
    }

    MHD_Result Refuse(MHD_Connection* connection, HttpExchange& exchange, int status)
    {
        HttpResponse answer = errorAnswer ? errorAnswer(status) : HttpResponse{};
        answer.status = status;
        return Queue(connection, exchange, std::move(answer));
    }

    // Called once the headers are in: what can be refused before the body.
    MHD_Result Headers(MHD_Connection* connection, HttpExchange& exchange)
    {
        int count = MHD_get_connection_values(connection, MHD_HEADER_KIND, nullptr, nullptr);
        const MHD_ConnectionInfo* size = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_REQUEST_HEADER_SIZE);
        if (count < 0 || static_cast<unsigned>(count) > limits.maxHeaders ||
            (size && size->header_size > limits.maxHeaderBytes))
            return Refuse(connection, exchange, MHD_HTTP_REQUEST_HEADER_FIELDS_TOO_LARGE);
        if (!IsKnownMethod(exchange.method))
            return Refuse(connection, exchange, MHD_HTTP_METHOD_NOT_ALLOWED);
        if (const char* length =
                MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH)) {
            errno = 0;
            char* end = nullptr;
            unsigned long long announced = std::strtoull(length, &end, 10);
            if (errno != 0 || announced > limits.maxBody)
                return Refuse(connection, exchange, MHD_HTTP_CONTENT_TOO_LARGE);
            exchange.body.reserve(static_cast<size_t>(announced));
        }
        return MHD_YES;
    }

    MHD_Result Dispatch(MHD_Connection* connection, HttpExchange& exchange)
    {
        if (exchange.tooLarge)
            return Refuse(connection, exchange, MHD_HTTP_CONTENT_TOO_LARGE);
        if (refusing)
            return Refuse(connection, exchange, MHD_HTTP_SERVICE_UNAVAILABLE);
        HttpRequest request;
        request.method = exchange.method;
        request.path = PathOf(exchange.rawUri);
        size_t q = exchange.rawUri.find('?');
        if (q != std::string::npos)
            request.query = exchange.rawUri.substr(q + 1);
        request.body = std::move(exchange.body);
        if (const char* host = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_HOST))
            request.host = host;
        request.peer = PeerOf(connection);
        request.secure = secure;
        if (exchange.connection)
            exchange.connection->phase = kBusy;
        exchange.arrived = Clock::now();
        exchange.dispatched = true;
        {
            std::lock_guard<std::mutex> guard(outstandingLock);
            ++outstanding;
        }
        // Suspended before the work is handed on, so a reply can never come first.
        MHD_suspend_connection(connection);
        auto state = std::make_shared<CHttpReply::State>();
        state->owner = this;
        state->connection = connection;
        state->exchange = &exchange;
        handler(std::move(request), CHttpReply(std::move(state)));
        return MHD_YES;
    }

    static MHD_Result Access(void* cls, MHD_Connection* connection, const char*, const char* method, const char*,
                             const char* upload, size_t* uploadSize, void** requestContext)
    {
        auto* self = static_cast<Impl*>(cls);
        auto* exchange = static_cast<HttpExchange*>(*requestContext);
        if (!exchange)  // the request line came without our callback seeing it
            return MHD_NO;
        if (exchange->answered)
            return self->Queue(connection, *exchange, std::move(exchange->response));
        if (exchange->dispatched)
            return MHD_YES;
        if (!exchange->headersSeen) {
            exchange->headersSeen = true;
            exchange->method = method ? method : "";
            return self->Headers(connection, *exchange);
        }
        if (*uploadSize > 0) {
            if (!exchange->tooLarge && exchange->body.size() + *uploadSize <= self->limits.maxBody)
                exchange->body.append(upload, *uploadSize);
            else {
                exchange->tooLarge = true;
                exchange->body.clear();
            }
            *uploadSize = 0;
            return MHD_YES;
        }
        return self->Dispatch(connection, *exchange);
    }

    static void* RequestLine(void*, const char* uri, MHD_Connection* connection)
    {
        auto* exchange = new HttpExchange;
        exchange->rawUri = uri ? uri : "";
        if (const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT))
            exchange->connection = static_cast<HttpConnection*>(info->socket_context);
        return exchange;
    }

    static void Completed(void*, MHD_Connection* connection, void** requestContext, MHD_RequestTerminationCode)
    {
        delete static_cast<HttpExchange*>(*requestContext);
        *requestContext = nullptr;
        // Asked afresh: a connection that closes has no context left.
        const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
        if (auto* entry = info ? static_cast<HttpConnection*>(info->socket_context) : nullptr) {
            entry->since = NowMs();
            entry->phase = kWaiting;
        }
    }

    static void ConnectionEvent(void* cls, MHD_Connection* connection, void** socketContext,
                                MHD_ConnectionNotificationCode code)
    {
        auto* self = static_cast<Impl*>(cls);
        if (code == MHD_CONNECTION_NOTIFY_STARTED) {
            auto* entry = new HttpConnection;
            if (const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD))
                entry->fd = info->connect_fd;
            entry->since = NowMs();
            std::lock_guard<std::mutex> guard(self->registryLock);
            self->connections.insert(entry);
            *socketContext = entry;
        } else if (auto* entry = static_cast<HttpConnection*>(*socketContext)) {
            // Before the library closes the socket: the keeper never shuts down a reused descriptor.
            std::lock_guard<std::mutex> guard(self->registryLock);
            self->connections.erase(entry);
            delete entry;
            *socketContext = nullptr;
        }
    }

    // Ends connections whose request does not arrive, or whose answer is not
    // taken, in time: a shut-down socket reads as closed in the event loop.
    void KeepDeadlines()
    {
        const int64_t requestMs = static_cast<int64_t>(limits.requestSeconds) * 1000;
        const int64_t responseMs = static_cast<int64_t>(limits.responseSeconds) * 1000;
        std::unique_lock<std::mutex> guard(registryLock);
        while (!keeperStop) {
            keeperWake.wait_for(guard, std::chrono::milliseconds(200));
            const int64_t now = NowMs();
            for (HttpConnection* entry : connections) {
                if (entry->cut || entry->fd < 0)
                    continue;
                const int phase = entry->phase;
                const int64_t age = now - entry->since;
                if ((phase == kWaiting && age > requestMs) || (phase == kSending && age > responseMs)) {
                    ::shutdown(entry->fd, SHUT_RDWR);
                    entry->cut = true;
                }
            }
        }
    }
};

void CHttpReply::Send(HttpResponse response) const
{
    if (m_state)
        m_state->Send(std::move(response));
}

void CHttpReply::State::Send(HttpResponse response)
{
    std::lock_guard<std::mutex> guard(lock);
    if (sent)
        return;
    sent = true;
    exchange->response = std::move(response);
    exchange->answered = true;
    MHD_resume_connection(connection);
    owner->ReplyGiven();
}

CHttpReply::State::~State()
{
    if (!sent) {
        HttpResponse failure = owner->errorAnswer ? owner->errorAnswer(500) : HttpResponse{};
        failure.status = 500;
        Send(std::move(failure));
    }
}

namespace {

bool OpenListener(const std::string& host, int port, int backlog, int& fd, int& bound, bool& ipv6, std::string& error)
{
    const std::string where = "cannot listen on " + host + ":" + std::to_string(port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    int rc = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (rc != 0 || !found) {
        error = where + " (" + ::gai_strerror(rc) + ")";
        return false;
    }
    std::string reason = "no address";
    fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        int s = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (s < 0) {
            reason = std::strerror(errno);
            continue;
        }
        int on = 1;
        ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (a->ai_family == AF_INET6)
            ::setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
        if (::bind(s, a->ai_addr, a->ai_addrlen) != 0 || ::listen(s, backlog) != 0) {
            reason = std::strerror(errno);
            ::close(s);
            continue;
        }
        fd = s;
        ipv6 = a->ai_family == AF_INET6;
    }
    ::freeaddrinfo(found);
    if (fd < 0) {
        error = where + " (" + reason + ")";
        return false;
    }
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    bound = ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                                                : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    return true;
}

}  // namespace

CHttpServer::CHttpServer(HttpLimits limits, Handler handler, ErrorAnswer errorAnswer, bool log)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->limits = limits;
    m_impl->handler = std::move(handler);
    m_impl->errorAnswer = std::move(errorAnswer);
    m_impl->log = log;
}

CHttpServer::~CHttpServer()
{
    Stop();
}

bool CHttpServer::Start(const std::string& host, int port, const std::string& certificatePem, const std::string& keyPem,
                        std::string& error)
{
    Impl& s = *m_impl;
    int fd = -1;
    bool ipv6 = false;
    if (!OpenListener(host, port, s.limits.backlog, fd, m_port, ipv6, error))
        return false;
    s.secure = !certificatePem.empty() && !keyPem.empty();
    s.certificate = certificatePem;
    s.key = keyPem;

    auto fn = [](auto f) { return reinterpret_cast<intptr_t>(f); };
    std::vector<MHD_OptionItem> options = {
        {MHD_OPTION_LISTEN_SOCKET, fd, nullptr},
        {MHD_OPTION_THREAD_POOL_SIZE, static_cast<intptr_t>(s.limits.loopThreads < 1 ? 1 : s.limits.loopThreads),
         nullptr},
        {MHD_OPTION_CONNECTION_LIMIT, static_cast<intptr_t>(s.limits.connections), nullptr},
        {MHD_OPTION_PER_IP_CONNECTION_LIMIT, static_cast<intptr_t>(s.limits.perAddress), nullptr},
        {MHD_OPTION_CONNECTION_TIMEOUT, static_cast<intptr_t>(s.limits.idleSeconds), nullptr},
        // Headers must fit in half of a connection's memory; the rest buffers the body.
        {MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<intptr_t>(2 * s.limits.maxHeaderBytes), nullptr},
        {MHD_OPTION_URI_LOG_CALLBACK, fn(&Impl::RequestLine), &s},
        {MHD_OPTION_NOTIFY_COMPLETED, fn(&Impl::Completed), &s},
        {MHD_OPTION_NOTIFY_CONNECTION, fn(&Impl::ConnectionEvent), &s},
    };
    if (s.secure) {
        options.push_back({MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(s.certificate.c_str())});
        options.push_back({MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(s.key.c_str())});
    }
    options.push_back({MHD_OPTION_END, 0, nullptr});
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_ALLOW_SUSPEND_RESUME;
    if (ipv6)
        flags |= MHD_USE_IPv6;
    if (s.secure)
        flags |= MHD_USE_TLS;
    s.daemon = MHD_start_daemon(flags, 0, nullptr, nullptr, &Impl::Access, &s, MHD_OPTION_ARRAY, options.data(),
                                MHD_OPTION_END);
    if (!s.daemon) {
        ::close(fd);
        error = "cannot serve " + host + ":" + std::to_string(m_port) + (s.secure ? " with TLS" : "");
        return false;
    }
    s.keeper = std::thread([&s] { s.KeepDeadlines(); });
    return true;
}

void CHttpServer::Refuse()
{
    m_impl->refusing = true;
}

void CHttpServer::Stop()
{
    Impl& s = *m_impl;
    if (!s.daemon)
        return;
    s.refusing = true;
    {
        // The pages answer within their own bounds; stopping the library with a
        // connection still suspended would leak it.
        std::unique_lock<std::mutex> guard(s.outstandingLock);
        s.outstandingDone.wait_for(guard, std::chrono::seconds(30), [&s] { return s.outstanding == 0; });
    }
    MHD_stop_daemon(s.daemon);
    s.daemon = nullptr;
    {
        std::lock_guard<std::mutex> guard(s.registryLock);
        s.keeperStop = true;
    }
    s.keeperWake.notify_all();
    if (s.keeper.joinable())
        s.keeper.join();
}

}  // namespace corvanta::server
