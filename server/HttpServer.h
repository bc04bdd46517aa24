#pragma once

#include "server/HttpRequest.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace corvanta::server {

// What one port takes from its clients. Every limit holds whatever the clients
// do: connections wait in an event loop, never in a thread of their own.
struct HttpLimits {
    size_t maxBody = 1024 * 1024;       // larger bodies get 413, whatever their type
    size_t maxHeaderBytes = 16 * 1024;  // request line and headers; more gets 431
    unsigned maxHeaders = 64;           // more gets 431
    unsigned connections = 1000;        // open at once on the port
    unsigned perAddress = 64;           // open at once from one client address
    unsigned requestSeconds = 10;       // a request arrives whole within this, or its connection ends
    unsigned responseSeconds = 60;      // an answer is taken within this, or its connection ends
    unsigned idleSeconds = 10;          // a connection without traffic ends after this
    unsigned loopThreads = 2;           // event loops of the port
    int backlog = 4096;
};

// Hands one answer back to its connection, once, from any thread. An answer
// never given is a 500 when the last copy goes.
class CHttpReply {
public:
    struct State;
    CHttpReply() = default;
    explicit CHttpReply(std::shared_ptr<State> state) : m_state(std::move(state)) {}
    void Send(HttpResponse response) const;

private:
    std::shared_ptr<State> m_state;
};

// One listening port served by libmicrohttpd. Requests that arrived whole go to
// the handler on an event-loop thread, which must hand the work elsewhere and
// return at once; the connection waits, holding no thread, until the reply.
class CHttpServer {
public:
    using Handler = std::function<void(HttpRequest request, CHttpReply reply)>;
    // The answer for a status the server gives by itself (413, 431, 503).
    using ErrorAnswer = std::function<HttpResponse(int status)>;

    CHttpServer(HttpLimits limits, Handler handler, ErrorAnswer errorAnswer, bool log);
    CHttpServer(const CHttpServer&) = delete;
    CHttpServer& operator=(const CHttpServer&) = delete;
    ~CHttpServer();

    // Listens on host:port (0: a free port), with TLS when both PEM texts are
    // given. The address is bound with SO_REUSEADDR and never SO_REUSEPORT: a
    // port that another process holds is refused, one in TIME_WAIT is not.
    bool Start(const std::string& host, int port, const std::string& certificatePem, const std::string& keyPem,
               std::string& error);
    int Port() const { return m_port; }

    // Answers every request that arrives from now on with 503.
    void Refuse();
    // Refuses new requests, waits (bounded) for the replies handed out, then
    // closes every connection and the port.
    void Stop();

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
    int m_port = 0;
};

}  // namespace corvanta::server
