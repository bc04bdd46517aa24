#include "platform/Http.h"

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <mutex>

namespace {

constexpr long kConnectTimeoutMs = 2000;
constexpr int kAttempts = 3;
constexpr char kUserAgent[] = "Corvanta";
constexpr char kNoErrorText[] = "No error message is available.";

std::mutex g_reporterMutex;
std::function<void(const std::string&)> g_reporter;

thread_local int t_lastAttempts = 0;

void ReportTransportError(const std::string& text)
{
    std::function<void(const std::string&)> reporter;
    {
        std::lock_guard lock(g_reporterMutex);
        reporter = g_reporter;
    }
    const std::string& shown = text.empty() ? std::string(kNoErrorText) : text;
    if (reporter)
        reporter(shown);
    else
        std::cerr << shown << '\n';
}

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t AppendBody(char* data, size_t size, size_t count, void* user)
{
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

// Adds the certificates of CORVANTA_CA_FILE to the store curl has already
// filled from the system, so both are trusted.
CURLcode AddExtraCertificates(CURL*, void* sslContext, void*)
{
    const char* file = std::getenv("CORVANTA_CA_FILE");
    if (file == nullptr || *file == '\0')
        return CURLE_OK;
    X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext));
    if (store == nullptr || X509_STORE_load_file(store, file) != 1)
        return CURLE_SSL_CACERT_BADFILE;
    return CURLE_OK;
}

// Lines end at LF (removed, a CR before it kept); every line, the last one
// without LF too, is followed by LF CR.
std::string JoinAnswerLines(const std::string& body)
{
    std::string answer;
    answer.reserve(body.size() + body.size() / 16 + 2);
    std::size_t start = 0;
    while (start < body.size()) {
        std::size_t end = body.find('\n', start);
        if (end == std::string::npos)
            end = body.size();
        answer.append(body, start, end - start);
        answer += "\n\r";
        start = end + 1;
    }
    return answer;
}

struct CurlDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

std::string BuildUrl(const std::string& host, std::uint16_t port, const std::string& objectPath, bool secure)
{
    std::string url = secure ? "https://" : "http://";
    if (host.find(':') != std::string::npos)
        url += "[" + host + "]";
    else
        url += host;
    url += ":" + std::to_string(port);
    if (objectPath.empty() || objectPath.front() != '/')
        url += '/';
    url += objectPath;
    return url;
}

}  // namespace

void SetTransportErrorReporter(std::function<void(const std::string&)> reporter)
{
    std::lock_guard lock(g_reporterMutex);
    g_reporter = std::move(reporter);
}

int LastHttpAttemptCount()
{
    return t_lastAttempts;
}

HRESULT HttpPostForm(const std::string& host, std::uint16_t port, const std::string& objectPath,
                     const std::string& formBody, std::string& answer, bool secure)
{
    t_lastAttempts = 0;
    InitCurlOnce();
    // Declared before the handle, which may touch them until it is cleaned up.
    std::string body;
    char errorText[CURL_ERROR_SIZE] = {};
    std::unique_ptr<curl_slist, SlistDeleter> headers;

    std::unique_ptr<CURL, CurlDeleter> easy(curl_easy_init());
    if (!easy) {
        ReportTransportError("The HTTP session could not be opened.");
        return E_FAIL;
    }
    curl_slist* list = nullptr;
    for (const char* header : {"Content-Type: application/x-www-form-urlencoded", "Pragma: no-cache",
                               "Cache-Control: no-cache", "Expect:"}) {
        curl_slist* grown = curl_slist_append(list, header);
        if (grown == nullptr) {
            curl_slist_free_all(list);
            ReportTransportError("Out of memory while preparing the request.");
            return E_FAIL;
        }
        list = grown;
    }
    headers.reset(list);
    const std::string url = BuildUrl(host, port, objectPath, secure);

    CURL* h = easy.get();
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, formBody.data());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(formBody.size()));
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    if (secure) {
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
        curl_easy_setopt(h, CURLOPT_SSL_CTX_FUNCTION, AddExtraCertificates);
        // A cached store would skip the callback's additions on a retry.
        curl_easy_setopt(h, CURLOPT_CA_CACHE_TIMEOUT, 0L);
    }

    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        t_lastAttempts = attempt;
        body.clear();
        errorText[0] = '\0';
        const CURLcode code = curl_easy_perform(h);
        if (code == CURLE_OK) {
            long status = 0;
            if (curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status == 0)
                return E_FAIL;
            answer = JoinAnswerLines(body);
            return status >= 200 && status <= 299 ? S_OK : E_FAIL;
        }
        // Without an overall limit the only timeout is the connect's.
        if (code == CURLE_OPERATION_TIMEDOUT)
            continue;
        ReportTransportError(errorText[0] != '\0' ? std::string(errorText) : std::string(curl_easy_strerror(code)));
        return E_FAIL;
    }
    return E_FAIL;
}
