#pragma once

#include <string>
#include <string_view>

namespace corvanta::server {

// Salted PBKDF2-HMAC-SHA256; the stored form names its own iteration count,
// so the count can change without invalidating stored passwords.
class CPasswordHash {
public:
    static constexpr int kDefaultIterations = 200000;

    static std::string Hash(std::string_view password, int iterations);
    static bool Verify(std::string_view password, const std::string& stored);
    // Hex text of `bytes` bytes from the system's secure generator.
    static std::string RandomHex(size_t bytes);
};

}  // namespace corvanta::server
