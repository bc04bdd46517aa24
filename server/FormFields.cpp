#include "server/FormFields.h"

#include "platform/Text.h"

#include <limits>

namespace corvanta::server {

std::string CFormFields::PercentEncode(std::string_view text)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || c == '-' || c == '_' ||
            c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

int64_t CFormFields::ToInt(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > std::numeric_limits<int32_t>::max())
            break;  // saturate: identifiers are 32-bit on the wire
        value = value * 10 + (text[i] - '0');
    }
    if (value > std::numeric_limits<int32_t>::max())
        value = std::numeric_limits<int32_t>::max();
    return negative ? -value : value;
}

CFormFields CFormFields::Parse(std::string_view text)
{
    CFormFields fields;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('&', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view pair = text.substr(start, end - start);
        if (!pair.empty()) {
            size_t eq = pair.find('=');
            std::string key = PercentDecode(pair.substr(0, eq), PlusSign::Space);
            std::string value =
                eq == std::string_view::npos ? std::string() : PercentDecode(pair.substr(eq + 1), PlusSign::Space);
            // The client's lines end with CR LF in places; keys never hold blanks.
            while (!key.empty() && (key.back() == '\r' || key.back() == '\n'))
                key.pop_back();
            fields.m_fields[key] = std::move(value);
        }
        start = end + 1;
    }
    return fields;
}

std::string CFormFields::Get(const std::string& key) const
{
    auto it = m_fields.find(key);
    return it == m_fields.end() ? std::string() : it->second;
}

int64_t CFormFields::GetInt(const std::string& key) const
{
    return ToInt(Get(key));
}

}  // namespace corvanta::server
