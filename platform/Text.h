#pragma once
// Small text helpers that every layer shares: percent decoding, trimming and
// line ends. Bytes in, bytes out; no locale is consulted.
#include <string>
#include <string_view>

/// How PercentDecode reads a '+'.
enum class PlusSign { Kept, Space };

/// Decodes every %XX escape (two hex digits, either case) into its byte. A '%'
/// without two hex digits after it stays as it is. With PlusSign::Space, '+'
/// becomes a space, as in an application/x-www-form-urlencoded text.
std::string PercentDecode(std::string_view text, PlusSign plus = PlusSign::Kept);

/// Space, tab, line feed, vertical tab, form feed and carriage return: what
/// isspace() accepts in the "C" locale.
constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

/// text without the blanks (IsBlank) at both ends.
std::string TrimBlanks(std::string_view text);

/// text with each carriage return that stands before a line feed removed; a
/// carriage return elsewhere stays.
std::string WithLineFeeds(std::string_view text);
