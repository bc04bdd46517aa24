#pragma once

#include <string>

namespace corvanta::server {

// The server's self-signed certificate for its host name.
class CCertificate {
public:
    // Creates certPath and keyPath (owner-only) when either is missing or the
    // certificate does not name host. False with a message when they cannot be made.
    static bool EnsureSelfSigned(const std::string& host, const std::string& certPath, const std::string& keyPath,
                                 std::string& error);
};

}  // namespace corvanta::server
