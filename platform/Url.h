#pragma once
// URL text helpers: escaping of values and splitting of server addresses.
#include "platform/Result.h"

#include <cstdint>
#include <string>

/// Service types reported by SplitUrl.
constexpr DWORD kServiceUnknown = 0x1017;
constexpr DWORD kServiceFtp = 1;
constexpr DWORD kServiceHttp = 3;
constexpr DWORD kServiceHttps = 0x100B;  // 4107

/// Escapes the characters that are unsafe in a URL as %XX: control characters,
/// space, bytes from 0x7F up and < > " { } | \ ^ `. Every other character,
/// '%' included, is left alone.
std::string CanonicalizeUrlText(const std::string& text);

/// Canonicalizes text piece by piece, each piece starting at a ':' after the
/// first character, and joins the results.
std::string EncodeFormValue(const std::string& text);

/// Makes text safe to insert as a value in a form body: escapes exactly
/// '&' '+' '%' '=' '#' and leaves every other byte as it is, so the server's
/// form decoder gets back the text given. Every value put into a body goes
/// through it.
std::string FormValue(const std::string& text);

/// A free-text value that a page expects encoded: FormValue, then
/// EncodeFormValue, so that one form decode on the server gives back the text
/// and a text without '&' '+' '%' '=' '#' goes out exactly as EncodeFormValue
/// writes it.
std::string EncodedFormValue(const std::string& text);

/// The parts of a URL as the requests need them.
struct UrlParts {
    DWORD serviceType = kServiceUnknown;
    std::string host;
    std::string objectPath;  // from the first '/' after the host on; "/" when none
    std::uint16_t port = 0;  // explicit, else the scheme's default (0 when unknown)
};

/// Splits url of the form scheme://[user@]host[:port][/path]. Returns false when
/// the text is not of that form or the port is not a number up to 65535; parts
/// is filled as far as it could be read either way.
bool SplitUrl(const std::string& url, UrlParts& parts);
