#include "server/PasswordHash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>
#include <vector>

namespace corvanta::server {

namespace {

std::string ToHex(const unsigned char* data, size_t size)
{
    static const char* const kHex = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        out += kHex[data[i] >> 4];
        out += kHex[data[i] & 15];
    }
    return out;
}

std::vector<unsigned char> Derive(std::string_view password, const std::string& salt, int iterations)
{
    std::vector<unsigned char> key(32);
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                          reinterpret_cast<const unsigned char*>(salt.data()), static_cast<int>(salt.size()),
                          iterations, EVP_sha256(), static_cast<int>(key.size()), key.data()) != 1)
        throw std::runtime_error("PBKDF2 failed");
    return key;
}

}  // namespace

std::string CPasswordHash::RandomHex(size_t bytes)
{
    std::vector<unsigned char> buffer(bytes);
    if (RAND_bytes(buffer.data(), static_cast<int>(buffer.size())) != 1)
        throw std::runtime_error("no random bytes");
    return ToHex(buffer.data(), buffer.size());
}

std::string CPasswordHash::Hash(std::string_view password, int iterations)
{
    if (iterations < 1)
        iterations = 1;
    std::string salt = RandomHex(16);
    auto key = Derive(password, salt, iterations);
    return "pbkdf2-sha256$" + std::to_string(iterations) + "$" + salt + "$" + ToHex(key.data(), key.size());
}

bool CPasswordHash::Verify(std::string_view password, const std::string& stored)
{
    const std::string prefix = "pbkdf2-sha256$";
    if (stored.compare(0, prefix.size(), prefix) != 0)
        return false;
    size_t a = prefix.size();
    size_t b = stored.find('$', a);
    if (b == std::string::npos)
        return false;
    size_t c = stored.find('$', b + 1);
    if (c == std::string::npos)
        return false;
    int iterations = 0;
    try {
        iterations = std::stoi(stored.substr(a, b - a));
    } catch (...) {
        return false;
    }
    if (iterations < 1 || iterations > 10000000)
        return false;
    std::string salt = stored.substr(b + 1, c - b - 1);
    std::string expected = stored.substr(c + 1);
    auto key = Derive(password, salt, iterations);
    std::string actual = ToHex(key.data(), key.size());
    return actual.size() == expected.size() && CRYPTO_memcmp(actual.data(), expected.data(), actual.size()) == 0;
}

}  // namespace corvanta::server
