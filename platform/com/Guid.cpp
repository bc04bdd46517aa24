#include "platform/com/ComTypes.h"

#include "platform/HexDigit.h"

#include <cstdio>

namespace {

// Reads `digits` hex digits at text[pos]; false on any non-hex character.
bool ReadHex(std::string_view text, std::size_t pos, int digits, std::uint32_t& out)
{
    out = 0;
    for (int i = 0; i < digits; ++i) {
        const int v = HexDigitValue(text[pos + static_cast<std::size_t>(i)]);
        if (v < 0)
            return false;
        out = (out << 4) | static_cast<std::uint32_t>(v);
    }
    return true;
}

}  // namespace

std::optional<GUID> ParseGuid(std::string_view text)
{
    // {01234567-0123-0123-0123-0123456789AB}
    if (text.size() != 38 || text.front() != '{' || text.back() != '}' || text[9] != '-' || text[14] != '-' ||
        text[19] != '-' || text[24] != '-')
        return std::nullopt;
    GUID g{};
    std::uint32_t v = 0;
    if (!ReadHex(text, 1, 8, v))
        return std::nullopt;
    g.Data1 = v;
    if (!ReadHex(text, 10, 4, v))
        return std::nullopt;
    g.Data2 = static_cast<std::uint16_t>(v);
    if (!ReadHex(text, 15, 4, v))
        return std::nullopt;
    g.Data3 = static_cast<std::uint16_t>(v);
    static constexpr std::size_t kBytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!ReadHex(text, kBytePos[i], 2, v))
            return std::nullopt;
        g.Data4[i] = static_cast<std::uint8_t>(v);
    }
    return g;
}

std::string FormatGuid(const GUID& g)
{
    char buf[39];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                  g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}
