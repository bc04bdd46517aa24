#include "platform/Utf.h"

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        if (static_cast<unsigned char>(*p) < 0x80) {
            out.push_back(static_cast<char16_t>(*p++));
            continue;
        }
        char32_t c = 0;
        const int length = ScanUtf8(p, end, c);
        if (length < 0) {
            out.push_back(u'\uFFFD');
            p -= length;
        } else {
            AppendUtf16(out, c);
            p += length;
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}
