#pragma once
// UTF-8 and UTF-16: the one codec of the code base.
//
// The rule for malformed input, everywhere: converting, each maximal subpart
// of an ill-formed UTF-8 sequence becomes one U+FFFD. A maximal subpart is the
// longest start of a well-formed sequence found there, or the single byte when
// that byte cannot start one (the practice the Unicode Standard recommends in
// its chapter 3, and the one of the WHATWG decoder). So "\xE2\x82x" gives
// U+FFFD "x", and the encoded surrogate "\xED\xA0\x80" three U+FFFD. In UTF-16
// each unpaired surrogate becomes one U+FFFD. Readers that must refuse
// malformed input instead use DecodeUtf8, which accepts exactly the
// well-formed sequences (no overlong forms, surrogates or values past U+10FFFF).
#include <cstddef>
#include <string>
#include <string_view>

/// The well-formed sequence at p: its length (1 to 4) with its code point in
/// out; or, when ill-formed, minus the length of its maximal subpart (-1 to -3).
/// p < end.
inline int ScanUtf8(const char* p, const char* end, char32_t& out)
{
    const unsigned char b0 = static_cast<unsigned char>(*p);
    if (b0 < 0x80) {
        out = b0;
        return 1;
    }
    int length = 0;
    char32_t c = 0;
    // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2, c = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3, c = b0 & 0x0F;
        low = b0 == 0xE0 ? 0xA0 : 0x80;
        high = b0 == 0xED ? 0x9F : 0xBF;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4, c = b0 & 0x07;
        low = b0 == 0xF0 ? 0x90 : 0x80;
        high = b0 == 0xF4 ? 0x8F : 0xBF;
    } else {
        return -1;
    }
    const std::ptrdiff_t available = end - p;
    for (int i = 1; i < length; ++i) {
        if (i >= available)
            return -i;
        const unsigned char b = static_cast<unsigned char>(p[i]);
        if (b < low || b > high)
            return -i;
        low = 0x80, high = 0xBF;
        c = (c << 6) | (b & 0x3F);
    }
    out = c;
    return length;
}

/// Decodes the well-formed sequence at p and moves p past it; false, with p
/// where it was, when the bytes there are not one. p < end.
inline bool DecodeUtf8(const char*& p, const char* end, char32_t& out)
{
    const int length = ScanUtf8(p, end, out);
    if (length < 0)
        return false;
    p += length;
    return true;
}

/// Appends the code point c (at most U+10FFFF, no surrogate).
inline void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

/// Appends the code point c (at most U+10FFFF), as a surrogate pair above U+FFFF.
inline void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

/// Whole texts, malformed parts replaced by the rule above.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
