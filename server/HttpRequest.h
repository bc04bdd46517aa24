#pragma once
// What the pages see of an HTTP exchange: a request that arrived whole and the
// answer given to it. Nothing of the HTTP library shows here.

#include <string>

namespace corvanta::server {

struct HttpRequest {
    std::string method;  // "GET", "POST", "HEAD"
    std::string path;    // percent-decoded, without the query
    std::string query;   // as sent, after the "?"
    std::string body;    // as sent
    std::string host;    // the Host header
    std::string peer;    // the client's numeric address
    bool secure = false;
};

struct HttpResponse {
    int status = 200;
    std::string body;
    std::string contentType = "text/html; charset=UTF-8";
    std::string location;  // for a redirect
};

}  // namespace corvanta::server
