#pragma once
// In-test HTTP and HTTPS servers on 127.0.0.1. A server records every request,
// answers from a script per path and can hold answers until the test lets
// them go, so tests wait on events instead of sleeping.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct RecordedRequest {
    std::string method;
    std::string path;
    std::multimap<std::string, std::string> headers;  // names in lower case
    std::string body;                                 // raw bytes as received
    /// The body decoded as application/x-www-form-urlencoded ('+' is a space).
    std::vector<std::pair<std::string, std::string>> form;
    /// The same as decoded by the HTTP library's own form parser.
    std::multimap<std::string, std::string> libraryForm;

    /// First header of that name (any case), empty when absent.
    std::string Header(const std::string& name) const;
    /// First form value of that key, empty when absent.
    std::string Form(const std::string& key) const;
    bool HasForm(const std::string& key) const;
};

struct ScriptedResponse {
    int status = 200;
    std::string body;
    std::string contentType = "text/xml";
};

/// The path at which the server's page (e.g. "UserLogin.jsp") is requested.
std::string ServerPagePath(const std::string& page);

/// Decodes an application/x-www-form-urlencoded text the standard way: split
/// at '&', then at the first '=', '+' becomes a space, %XX becomes the byte.
std::vector<std::pair<std::string, std::string>> DecodeFormBody(const std::string& body);

class CLoopbackHttpServer {
public:
    /// Starts listening on an ephemeral port. A secure server presents a
    /// self-signed certificate for 127.0.0.1 and localhost made for it.
    explicit CLoopbackHttpServer(bool secure = false);
    ~CLoopbackHttpServer();
    CLoopbackHttpServer(const CLoopbackHttpServer&) = delete;
    CLoopbackHttpServer& operator=(const CLoopbackHttpServer&) = delete;

    static constexpr const char* kHost = "127.0.0.1";
    std::uint16_t Port() const;
    bool Secure() const;
    /// PEM file of the certificate (secure servers only): trust it through
    /// CORVANTA_CA_FILE.
    std::string CertificateFile() const;
    /// Points CORVANTA_CA_FILE at CertificateFile() for this process.
    void TrustCertificate() const;

    /// Answer for requests whose path equals path; others get the default
    /// (200 with an empty body unless changed).
    void SetResponse(const std::string& path, int status, std::string body);
    void SetResponse(const std::string& path, std::function<ScriptedResponse(const RecordedRequest&)> responder);
    void SetDefaultResponse(int status, std::string body);

    /// Requests to path wait, after being recorded, until Release(path).
    void Hold(const std::string& path);
    void Release(const std::string& path);

    /// Waits until at least count requests arrived / are being held.
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds bound = std::chrono::seconds(20)) const;
    bool WaitForHeld(std::size_t count, std::chrono::milliseconds bound = std::chrono::seconds(20)) const;

    std::vector<RecordedRequest> Requests() const;
    std::vector<RecordedRequest> RequestsTo(const std::string& path) const;
    /// The last request; an empty record when none came.
    RecordedRequest LastRequest() const;
    std::size_t RequestCount() const;
    /// Connections accepted so far.
    int Connections() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

/// A listening socket on 127.0.0.1 whose accept queue is full, so further
/// connection attempts get no answer and run into their connect timeout.
class CUnansweredListener {
public:
    CUnansweredListener();
    ~CUnansweredListener();
    CUnansweredListener(const CUnansweredListener&) = delete;
    CUnansweredListener& operator=(const CUnansweredListener&) = delete;
    std::uint16_t Port() const { return m_port; }

private:
    int m_listener = -1;
    std::vector<int> m_fillers;
    std::uint16_t m_port = 0;
};
