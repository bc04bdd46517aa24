#include "platform/Url.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, unsigned char c)
{
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
}

bool IsUnsafe(unsigned char c)
{
    if (c <= 0x20 || c >= 0x7F)
        return true;
    return std::string_view("<>\"{}|\\^`").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string ToLower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

}  // namespace

std::string CanonicalizeUrlText(const std::string& text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnsafe(c))
            AppendEscaped(out, c);
        else
            out += ch;
    }
    return out;
}

std::string EncodeFormValue(const std::string& text)
{
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t next = text.find(':', start + 1);
        if (next == std::string::npos)
            next = text.size();
        out += CanonicalizeUrlText(text.substr(start, next - start));
        start = next;
    }
    return out;
}

std::string FormValue(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        switch (ch) {
        case '&':
        case '+':
        case '%':
        case '=':
        case '#': AppendEscaped(out, static_cast<unsigned char>(ch)); break;
        default: out += ch;
        }
    }
    return out;
}

std::string EncodedFormValue(const std::string& text)
{
    return EncodeFormValue(FormValue(text));
}

bool SplitUrl(const std::string& url, UrlParts& parts)
{
    parts = UrlParts{};
    const std::size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string::npos || schemeEnd == 0)
        return false;

    const std::string scheme = ToLower(std::string_view(url).substr(0, schemeEnd));
    if (scheme == "http") {
        parts.serviceType = kServiceHttp;
        parts.port = 80;
    } else if (scheme == "https") {
        parts.serviceType = kServiceHttps;
        parts.port = 443;
    } else if (scheme == "ftp") {
        parts.serviceType = kServiceFtp;
        parts.port = 21;
    }

    const std::size_t authorityStart = schemeEnd + 3;
    std::size_t pathStart = url.find('/', authorityStart);
    if (pathStart == std::string::npos)
        pathStart = url.size();
    std::string_view authority = std::string_view(url).substr(authorityStart, pathStart - authorityStart);
    parts.objectPath = pathStart < url.size() ? url.substr(pathStart) : "/";

    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);

    // A bracketed IPv6 literal keeps its colons.
    std::size_t portColon = std::string_view::npos;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos)
            return false;
        parts.host = std::string(authority.substr(1, close - 1));
        if (close + 1 < authority.size()) {
            if (authority[close + 1] != ':')
                return false;
            portColon = close + 1;
        }
    } else {
        portColon = authority.find(':');
        parts.host = std::string(authority.substr(0, portColon));
    }
    if (parts.host.empty())
        return false;

    if (portColon != std::string_view::npos) {
        const std::string_view digits = authority.substr(portColon + 1);
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || value > 65535)
            return false;
        parts.port = static_cast<std::uint16_t>(value);
    }
    return parts.serviceType != kServiceUnknown;
}
