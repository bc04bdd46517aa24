#include "client/xml/XmlParser.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

#include "client/xml/XmlNamedNodeMap.h"
#include "platform/Utf.h"

namespace {

struct ParseFailure {};

constexpr std::u16string_view kTextName = u"#text";

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsXmlChar(char32_t c)
{
    if (c < 0x20)
        return c == 0x9 || c == 0xA || c == 0xD;
    if (c <= 0xD7FF)
        return true;
    if (c < 0xE000)
        return false;
    if (c <= 0xFFFD)
        return true;
    return c >= 0x10000 && c <= 0x10FFFF;
}

bool IsNameStartChar(char32_t c)
{
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
    return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
           (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(char32_t c)
{
    if (c < 0x80)
        return IsNameStartChar(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
    return IsNameStartChar(c) || c == 0xB7 || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// For ASCII bytes: 1 marks a name start character, 2 a name character.
struct AsciiNameTable {
    unsigned char bits[128] = {};
    constexpr AsciiNameTable()
    {
        for (int c = 0; c < 128; ++c) {
            bool start = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
            bool inner = start || (c >= '0' && c <= '9') || c == '-' || c == '.';
            bits[c] = static_cast<unsigned char>((start ? 1 : 0) | (inner ? 2 : 0));
        }
    }
};
constexpr AsciiNameTable kAsciiNames;

std::string Printable(char32_t c)
{
    if (c >= 0x20 && c < 0x7F)
        return std::string(1, static_cast<char>(c));
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#x%X", static_cast<unsigned>(c));
    return buffer;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

struct Entity {
    std::string value;    // replacement text, character references already replaced
    std::u16string text;  // the same as UTF-16 when plain
    // Plain text is character data as it stands: no markup ("<", "&") and
    // nothing character data may not hold ("]]>"). Any other replacement text
    // is read as the document's own content is.
    bool plain = false;
    bool external = false;
    bool unparsed = false;
    bool inUse = false;
};

}  // namespace

class CXmlParser {
public:
    CXmlParser(const XmlParseLimits& limits) : m_limits(limits) {}

    XmlDocumentPtr Parse(std::string_view bytes, XmlParseResult& result);

private:
    struct Source {
        const char* p;
        const char* end;
        Entity* entity;
        std::string_view name;
        std::size_t depth;
    };

    [[noreturn]] void Fail(std::string message);
    static std::string CharAt(const char* p, const char* end);
    std::string CharHere() const { return CharAt(m_p, m_end); }
    [[noreturn]] void FailUnexpected() { Fail("Unexpected character '" + CharHere() + "'"); }
    [[noreturn]] void FailEnd() { Fail("Unexpected end of input"); }

    bool AtEnd() const { return m_p >= m_end; }
    char Peek() const { return m_p < m_end ? *m_p : '\0'; }
    bool StartsWith(std::string_view text) const
    {
        return static_cast<std::size_t>(m_end - m_p) >= text.size() && std::memcmp(m_p, text.data(), text.size()) == 0;
    }
    bool SkipSpace()
    {
        const char* start = m_p;
        while (m_p < m_end && IsSpace(*m_p))
            ++m_p;
        return m_p != start;
    }
    void RequireSpace()
    {
        if (!SkipSpace())
            AtEnd() ? FailEnd() : FailUnexpected();
    }
    void Expect(char c)
    {
        if (Peek() != c || AtEnd())
            AtEnd() ? FailEnd() : FailUnexpected();
        ++m_p;
    }
    char32_t NextChar(const char* message);

    void Transcode(std::string_view bytes);
    void DecodeSingleByteRest();
    void ParseXmlDecl();
    void ParseProlog();
    void ParseEpilog();
    void ParseContent();
    void ParseText();
    void ParseStartTag();
    void ParseEndTag();
    void ParseReferenceInContent();
    void ParseCData();
    void ParseComment(bool keep);
    void ParsePI(bool keep);
    void ParseDoctype();
    void ParseInternalSubset();
    void ParseElementDecl();
    void ParseContentParticles(int level);
    void ParseAttlistDecl();
    void ParseEntityDecl();
    void ParseNotationDecl();
    void ParseExternalId(bool systemOptional);
    void ParseQuoted(bool pubid);

    std::string_view ParseNameAt(const char*& p, const char* end);
    std::string_view ParseName() { return ParseNameAt(m_p, m_end); }
    std::string_view ParseNmtoken();
    char32_t ParseCharReference(const char*& p, const char* end);
    bool Predefined(std::string_view name, char16_t& out) const;
    Entity* FindEntity(std::string_view name);
    void CountExpansion(std::size_t bytes);
    void ScanAttributeValue(const char*& p, const char* end, char quote, std::size_t nesting, std::u16string& out);

    void FlushText();
    const char16_t* StoreUtf8(std::string_view utf8, std::uint32_t& length);
    const char16_t* InternName(std::string_view raw, std::uint32_t& length);
    void Attach(CXmlNode* node);

    const XmlParseLimits& m_limits;
    std::string m_storage;
    const char* m_begin = nullptr;
    const char* m_p = nullptr;
    const char* m_end = nullptr;
    const char* m_inputEnd = nullptr;
    std::vector<Source> m_sources;
    std::map<std::string, Entity, std::less<>> m_entities;
    std::size_t m_expanded = 0;

    XmlDocumentPtr m_document;
    CXmlNode* m_current = nullptr;
    std::vector<std::string_view> m_open;
    std::u16string m_text;
    std::u16string m_scratch;
    std::vector<std::string_view> m_attributeNames;
    std::unordered_set<std::string_view> m_attributeSet;
    // Tag and attribute names repeat; nodes share one stored copy of each.
    struct NameSlot {
        std::string_view raw;
        const char16_t* name = nullptr;
        std::uint32_t length = 0;
    };
    NameSlot m_names[256];
    bool m_seenDoctype = false;
    bool m_standalone = false;
    // A parameter-entity reference was passed over in the internal subset.
    bool m_unreadParameterEntity = false;
    std::string m_message;
    const char* m_failedAt = nullptr;
};

void CXmlParser::Fail(std::string message)
{
    m_message = std::move(message);
    m_failedAt = m_sources.empty() ? m_p : m_sources.front().p;
    throw ParseFailure{};
}

std::string CXmlParser::CharAt(const char* p, const char* end)
{
    if (p >= end)
        return "#x0";
    const char* q = p;
    char32_t c;
    if (!DecodeUtf8(q, end, c))
        c = static_cast<unsigned char>(*p);
    return Printable(c);
}

// The next character of markup, checked; message names the construct when it is not allowed.
char32_t CXmlParser::NextChar(const char* message)
{
    if (AtEnd())
        FailEnd();
    char32_t c;
    const char* p = m_p;
    if (!DecodeUtf8(p, m_end, c) || !IsXmlChar(c))
        Fail(std::string(message) + CharHere() + "'");
    m_p = p;
    return c;
}

XmlDocumentPtr CXmlParser::Parse(std::string_view bytes, XmlParseResult& result)
{
    result = XmlParseResult{};
    try {
        Transcode(bytes);
        m_document.reset(CXmlDocument::Create());
        m_document->m_arena.Expect(bytes.size() * 3);
        m_current = m_document.get();
        ParseXmlDecl();
        ParseProlog();
        ParseContent();
        ParseEpilog();
        result.ok = true;
        return std::move(m_document);
    } catch (const ParseFailure&) {
    } catch (const std::bad_alloc&) {
        m_message = "Out of memory";
        m_failedAt = m_p;
    }
    m_document.reset();
    result.message = m_message;
    if (m_failedAt && m_failedAt >= m_begin && m_failedAt <= m_inputEnd) {
        result.offset = static_cast<std::size_t>(m_failedAt - m_begin);
        result.line = 1;
        const char* lineStart = m_begin;
        for (const char* q = m_begin; q < m_failedAt; ++q) {
            if (*q == '\n') {
                ++result.line;
                lineStart = q + 1;
            }
        }
        result.column = static_cast<std::size_t>(m_failedAt - lineStart) + 1;
    }
    return nullptr;
}

// UTF-16 input (by its byte-order mark or its first "<?") is turned into UTF-8
// once, so the parser proper reads one encoding only.
void CXmlParser::Transcode(std::string_view bytes)
{
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    int wide = 0;  // 1 little-endian, 2 big-endian
    std::size_t start = 0;
    if (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
        start = 3;
    } else if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) {
        wide = 1, start = 2;
    } else if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) {
        wide = 2, start = 2;
    } else if (bytes.size() >= 4 && at(0) == '<' && at(1) == 0 && at(2) == '?' && at(3) == 0) {
        wide = 1;
    } else if (bytes.size() >= 4 && at(0) == 0 && at(1) == '<' && at(2) == 0 && at(3) == '?') {
        wide = 2;
    }
    if (!wide) {
        m_begin = m_p = bytes.data() + start;
        m_end = m_inputEnd = bytes.data() + bytes.size();
        return;
    }
    m_storage.reserve(bytes.size());
    auto unit = [&](std::size_t i) -> char32_t {
        return wide == 1 ? at(i) | (at(i + 1) << 8) : (at(i) << 8) | at(i + 1);
    };
    std::size_t i = start;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            break;
        AppendUtf8(m_storage, c);
    }
    m_begin = m_p = m_storage.data();
    m_end = m_inputEnd = m_storage.data() + m_storage.size();
    if (i < bytes.size()) {
        m_p = m_end;
        Fail("Invalid UTF-16 sequence");
    }
}

// After a declaration naming ASCII or ISO-8859-1: every remaining byte is one character.
void CXmlParser::DecodeSingleByteRest()
{
    bool high = false;
    for (const char* q = m_p; q < m_end && !high; ++q)
        high = static_cast<unsigned char>(*q) >= 0x80;
    if (!high)
        return;
    std::string converted;
    converted.reserve(static_cast<std::size_t>(m_end - m_p) * 2);
    for (const char* q = m_p; q < m_end; ++q)
        AppendUtf8(converted, static_cast<unsigned char>(*q));
    m_storage = std::move(converted);
    m_begin = m_p = m_storage.data();
    m_end = m_inputEnd = m_storage.data() + m_storage.size();
}

void CXmlParser::ParseXmlDecl()
{
    if (!StartsWith("<?xml") || (m_end - m_p > 5 && !IsSpace(m_p[5]) && m_p[5] != '?'))
        return;
    m_p += 5;
    auto needMore = [&] {
        if (AtEnd())
            Fail("XML decl must end with '?>'");
    };
    auto quotedValue = [&](const char* noQuote) -> std::string_view {
        needMore();
        char quote = Peek();
        if (quote != '"' && quote != '\'')
            Fail(noQuote);
        ++m_p;
        const char* start = m_p;
        while (m_p < m_end && *m_p != quote)
            ++m_p;
        needMore();
        return {start, static_cast<std::size_t>(m_p++ - start)};
    };
    auto equals = [&](const char* noEquals) {
        SkipSpace();
        needMore();
        if (Peek() != '=')
            Fail(noEquals);
        ++m_p;
        SkipSpace();
    };

    bool space = SkipSpace();
    if (!space || !StartsWith("version"))
        Fail("XML decl must start with a version attribute");
    m_p += 7;
    equals("Expecting equals after version start");
    std::string_view version = quotedValue("Expecting starting quote after verison number");
    bool versionOk = version.size() >= 3 && version[0] == '1' && version[1] == '.';
    for (std::size_t i = 2; versionOk && i < version.size(); ++i)
        versionOk = version[i] >= '0' && version[i] <= '9';
    if (!versionOk)
        Fail("Invalid character in version string");

    enum { AfterVersion, AfterEncoding, AfterStandalone } state = AfterVersion;
    bool singleByte = false;
    for (;;) {
        space = SkipSpace();
        needMore();
        if (StartsWith("?>")) {
            m_p += 2;
            break;
        }
        if (space && StartsWith("encoding")) {
            if (state != AfterVersion)
                Fail("Unexpected state in xmldecl parse unit");
            m_p += 8;
            equals("Expecting equals after encoding start");
            std::string_view name = quotedValue("Expecting starting quote encoding EQ");
            if (name.empty() || !((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')))
                Fail("encoding attribute name string is ill formed");
            for (char c : name) {
                bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                          c == '_' || c == '-';
                if (!ok)
                    Fail("Invalid character in encoding string");
            }
            if (EqualsIgnoringCase(name, "ASCII") || EqualsIgnoringCase(name, "ISO-8859-1"))
                singleByte = true;
            else if (!EqualsIgnoringCase(name, "UTF8") && !EqualsIgnoringCase(name, "UTF-8") &&
                     !EqualsIgnoringCase(name, "UTF16") && !EqualsIgnoringCase(name, "UTF-16"))
                Fail("Unsupported encoding '" + std::string(name) + "'");
            state = AfterEncoding;
        } else if (space && StartsWith("standalone")) {
            if (state == AfterStandalone)
                Fail("Unexpected state in xmldecl parse unit");
            m_p += 10;
            equals("Expecting equals after standalone start");
            std::string_view value = quotedValue("Expecting starting quote standalone EQ");
            if (value != "yes" && value != "no")
                Fail("Invalid character in standalone string");
            m_standalone = value == "yes";
            state = AfterStandalone;
        } else if (state == AfterVersion) {
            Fail("Expecting encoding/standalone attribute or end of decl");
        } else if (state == AfterEncoding) {
            Fail("Invalid character '" + CharHere() + "' - expecting SDDecl or end of PI");
        } else {
            Fail("XML decl must end with '?>'");
        }
    }
    // A declaration inside UTF-16 input was decoded already; single-byte names
    // only matter for 8-bit input.
    if (singleByte && m_storage.empty())
        DecodeSingleByteRest();
}

void CXmlParser::ParseProlog()
{
    for (;;) {
        SkipSpace();
        if (AtEnd())
            Fail("Unexpected end of input - expecting element start.");
        if (StartsWith("<!--")) {
            ParseComment(true);
        } else if (StartsWith("<?")) {
            ParsePI(true);
        } else if (StartsWith("<!DOCTYPE") && !m_seenDoctype) {
            m_seenDoctype = true;
            ParseDoctype();
        } else if (Peek() == '<' && !StartsWith("<!")) {
            ++m_p;
            ParseStartTag();
            return;
        } else {
            Fail("Unexpected character '" + CharHere() + "' - expecting element start.");
        }
    }
}

void CXmlParser::ParseEpilog()
{
    for (;;) {
        SkipSpace();
        if (AtEnd())
            return;
        if (StartsWith("<!--"))
            ParseComment(true);
        else if (StartsWith("<?"))
            ParsePI(true);
        else
            Fail("Unexpected data trailing end of root element");
    }
}

void CXmlParser::Attach(CXmlNode* node)
{
    m_current->AttachLast(node);
    if (m_current == m_document.get() && node->m_type == XmlNodeType::Element)
        m_document->m_documentElement = node;
}

const char16_t* CXmlParser::StoreUtf8(std::string_view utf8, std::uint32_t& length)
{
    // Names come here already checked, so decoding cannot fail.
    auto* out = static_cast<char16_t*>(
        m_document->m_arena.Allocate(utf8.size() * sizeof(char16_t) + sizeof(char16_t), alignof(char16_t)));
    std::size_t n = 0;
    const char* p = utf8.data();
    const char* end = p + utf8.size();
    while (p < end) {
        if (static_cast<unsigned char>(*p) < 0x80) {
            out[n++] = static_cast<char16_t>(*p++);
            continue;
        }
        char32_t c = 0xFFFD;
        if (!DecodeUtf8(p, end, c))
            ++p;
        if (c >= 0x10000) {
            c -= 0x10000;
            out[n++] = static_cast<char16_t>(0xD800 + (c >> 10));
            out[n++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out[n++] = static_cast<char16_t>(c);
        }
    }
    length = static_cast<std::uint32_t>(n);
    return out;
}

const char16_t* CXmlParser::InternName(std::string_view raw, std::uint32_t& length)
{
    std::size_t hash = raw.size();
    for (char c : raw)
        hash = hash * 31 + static_cast<unsigned char>(c);
    NameSlot& slot = m_names[hash & 255];
    if (slot.name && slot.raw == raw) {
        length = slot.length;
        return slot.name;
    }
    slot.raw = raw;
    slot.name = StoreUtf8(raw, slot.length);
    length = slot.length;
    return slot.name;
}

void CXmlParser::FlushText()
{
    if (m_text.empty())
        return;
    CXmlNode* node = m_document->NewNode(XmlNodeType::Text, kTextName.data(), kTextName.size());
    node->m_value = m_document->m_arena.CopyString(m_text);
    node->m_valueLength = static_cast<std::uint32_t>(m_text.size());
    Attach(node);
    m_text.clear();
}

std::string_view CXmlParser::ParseNameAt(const char*& p, const char* end)
{
    const char* start = p;
    if (p >= end)
        FailEnd();
    char32_t c;
    unsigned char first = static_cast<unsigned char>(*p);
    if (first < 0x80) {
        if (!(kAsciiNames.bits[first] & 1))
            Fail("The character '" + CharAt(p, end) + "' is not valid for the start of a name");
        ++p;
    } else {
        const char* q = p;
        if (!DecodeUtf8(q, end, c) || !IsNameStartChar(c))
            Fail("The character '" + CharAt(p, end) + "' is not valid for the start of a name");
        p = q;
    }
    while (p < end) {
        unsigned char b = static_cast<unsigned char>(*p);
        if (b < 0x80) {
            if (!(kAsciiNames.bits[b] & 2))
                break;
            ++p;
            continue;
        }
        const char* q = p;
        if (!DecodeUtf8(q, end, c) || !IsNameChar(c))
            break;
        p = q;
    }
    return {start, static_cast<std::size_t>(p - start)};
}

std::string_view CXmlParser::ParseNmtoken()
{
    const char* start = m_p;
    while (m_p < m_end) {
        const char* p = m_p;
        char32_t c;
        if (!DecodeUtf8(p, m_end, c) || !IsNameChar(c))
            break;
        m_p = p;
    }
    if (m_p == start)
        AtEnd() ? FailEnd() : FailUnexpected();
    return {start, static_cast<std::size_t>(m_p - start)};
}

// p is just past "&#"; leaves p after the ';'.
char32_t CXmlParser::ParseCharReference(const char*& p, const char* end)
{
    const char* digits = p;
    bool hex = p < end && *p == 'x';
    if (hex)
        ++p;
    char32_t value = 0;
    bool any = false;
    while (p < end && *p != ';') {
        char c = *p;
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            Fail("Expecting end of reference chSEMI_COLON");
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF)
            value = 0x110000;
        any = true;
        ++p;
    }
    if (p >= end)
        Fail("Expecting end of reference chSEMI_COLON");
    std::string written(digits, static_cast<std::size_t>(p - digits));
    ++p;
    if (!any || !IsXmlChar(value))
        Fail("The character '#" + written + "' is not valid for a character reference");
    return value;
}

bool CXmlParser::Predefined(std::string_view name, char16_t& out) const
{
    if (name == "amp")
        out = u'&';
    else if (name == "lt")
        out = u'<';
    else if (name == "gt")
        out = u'>';
    else if (name == "quot")
        out = u'"';
    else if (name == "apos")
        out = u'\'';
    else
        return false;
    return true;
}

Entity* CXmlParser::FindEntity(std::string_view name)
{
    auto found = m_entities.find(name);
    return found == m_entities.end() ? nullptr : &found->second;
}

void CXmlParser::CountExpansion(std::size_t bytes)
{
    m_expanded += bytes;
    if (m_expanded > m_limits.maxEntityExpansion)
        Fail("Entity expansion exceeds the limit of " + std::to_string(m_limits.maxEntityExpansion) + " bytes");
}

// Reads an attribute value up to quote (or to end when quote is 0), replacing
// references and turning literal white space into spaces.
void CXmlParser::ScanAttributeValue(const char*& p, const char* end, char quote, std::size_t nesting,
                                    std::u16string& out)
{
    for (;;) {
        if (p >= end) {
            if (quote)
                FailEnd();
            return;
        }
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == static_cast<unsigned char>(quote) && quote) {
            ++p;
            return;
        }
        if (c == '<')
            Fail("The character '<' is not allowed in an attribute value");
        if (c == '&') {
            ++p;
            if (p < end && *p == '#') {
                ++p;
                AppendUtf16(out, ParseCharReference(p, end));
                continue;
            }
            std::string_view name = ParseNameAt(p, end);
            if (p >= end || *p != ';')
                Fail("Expecting end of reference chSEMI_COLON");
            ++p;
            char16_t single;
            if (Predefined(name, single)) {
                out.push_back(single);
                continue;
            }
            Entity* entity = FindEntity(name);
            if (!entity || entity->external || entity->unparsed)
                Fail("Undefined entity '" + std::string(name) + "'");
            if (entity->inUse)
                Fail("Recursive reference to entity '" + std::string(name) + "'");
            if (nesting + 1 > m_limits.maxEntityNesting)
                Fail("Entity references nested deeper than " + std::to_string(m_limits.maxEntityNesting) + " levels");
            CountExpansion(entity->value.size());
            entity->inUse = true;
            const char* q = entity->value.data();
            ScanAttributeValue(q, q + entity->value.size(), 0, nesting + 1, out);
            entity->inUse = false;
            continue;
        }
        if (c == '\t' || c == '\n') {
            out.push_back(u' ');
            ++p;
            continue;
        }
        if (c == '\r') {
            out.push_back(u' ');
            ++p;
            if (p < end && *p == '\n')
                ++p;
            continue;
        }
        if (c >= 0x20 && c < 0x80) {
            out.push_back(c);
            ++p;
            continue;
        }
        char32_t cp;
        const char* at = p;
        if (!DecodeUtf8(p, end, cp) || !IsXmlChar(cp)) {
            if (!DecodeUtf8(at, end, cp))
                cp = c;
            Fail("Invalid character '" + Printable(cp) + "'");
        }
        AppendUtf16(out, cp);
    }
}

void CXmlParser::ParseStartTag()
{
    std::string_view name = ParseName();
    CXmlNode* element = m_document->NewNode(XmlNodeType::Element, nullptr, 0);
    element->m_name = InternName(name, element->m_nameLength);
    m_attributeNames.clear();
    m_attributeSet.clear();
    bool open = false;
    for (;;) {
        bool space = SkipSpace();
        if (AtEnd())
            FailEnd();
        char c = *m_p;
        if (c == '>') {
            ++m_p;
            open = true;
            break;
        }
        if (c == '/') {
            ++m_p;
            Expect('>');
            break;
        }
        if (!space)
            FailUnexpected();
        std::string_view attributeName = ParseName();
        if (m_attributeNames.size() < 16) {
            for (std::string_view seen : m_attributeNames) {
                if (seen == attributeName)
                    Fail("Attribute '" + std::string(attributeName) + "' is already specified");
            }
            m_attributeNames.push_back(attributeName);
            if (m_attributeNames.size() == 16)
                m_attributeSet.insert(m_attributeNames.begin(), m_attributeNames.end());
        } else if (!m_attributeSet.insert(attributeName).second) {
            Fail("Attribute '" + std::string(attributeName) + "' is already specified");
        }
        SkipSpace();
        Expect('=');
        SkipSpace();
        char quote = Peek();
        if (quote != '"' && quote != '\'')
            AtEnd() ? FailEnd() : FailUnexpected();
        ++m_p;
        m_scratch.clear();
        ScanAttributeValue(m_p, m_end, quote, 0, m_scratch);
        CXmlNode* attribute = m_document->NewNode(XmlNodeType::Attribute, nullptr, 0);
        attribute->m_name = InternName(attributeName, attribute->m_nameLength);
        attribute->m_value = m_document->m_arena.CopyString(m_scratch);
        attribute->m_valueLength = static_cast<std::uint32_t>(m_scratch.size());
        if (!element->m_attributes)
            element->m_attributes = m_document->NewAttributeMap();
        element->m_attributes->Append(attribute);
    }
    Attach(element);
    if (open) {
        if (m_open.size() >= m_limits.maxDepth)
            Fail("Elements nested deeper than " + std::to_string(m_limits.maxDepth) + " levels");
        m_open.push_back(name);
        m_current = element;
    }
}

void CXmlParser::ParseEndTag()
{
    const char* start = m_p;
    std::string_view name = ParseName();
    std::size_t base = m_sources.empty() ? 0 : m_sources.back().depth;
    if (m_open.size() <= base || name != m_open.back()) {
        m_p = start;
        Fail("End tag does not match start tag");
    }
    SkipSpace();
    if (Peek() != '>' || AtEnd())
        Fail("Expecting chGREATER_THAN for element end tag");
    ++m_p;
    m_open.pop_back();
    m_current = m_current->m_parent;
}

void CXmlParser::ParseContent()
{
    while (!m_open.empty()) {
        if (m_p >= m_end) {
            if (m_sources.empty())
                Fail("Expecting element content");
            Source source = m_sources.back();
            if (m_open.size() != source.depth)
                Fail("Unbalanced markup in entity '" + std::string(source.name) + "'");
            m_sources.pop_back();
            source.entity->inUse = false;
            m_p = source.p;
            m_end = source.end;
            continue;
        }
        char c = *m_p;
        if (c == '<') {
            if (!StartsWith("<![CDATA["))
                FlushText();
            ++m_p;
            char next = Peek();
            if (next == '/') {
                ++m_p;
                ParseEndTag();
            } else if (next == '!') {
                --m_p;
                if (StartsWith("<!--"))
                    ParseComment(true);
                else if (StartsWith("<![CDATA["))
                    ParseCData();
                else
                    Fail("Expecting start of comment or CDATA");
            } else if (next == '?') {
                --m_p;
                ParsePI(true);
            } else {
                ParseStartTag();
            }
        } else if (c == '&') {
            ParseReferenceInContent();
        } else {
            ParseText();
        }
    }
    FlushText();
}

void CXmlParser::ParseText()
{
    const char* p = m_p;
    const char* end = m_end;
    if (m_text.empty()) {
        while (p < end && IsSpace(*p))
            ++p;
    }
    while (p < end) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == '<' || c == '&')
            break;
        if (c >= 0x20 && c < 0x80 && c != ']') {
            const char* run = p;
            while (p < end) {
                unsigned char r = static_cast<unsigned char>(*p);
                if (r < 0x20 || r >= 0x80 || r == '<' || r == '&' || r == ']')
                    break;
                ++p;
            }
            std::size_t old = m_text.size();
            m_text.resize(old + static_cast<std::size_t>(p - run));
            char16_t* out = m_text.data() + old;
            for (const char* q = run; q < p; ++q)
                *out++ = static_cast<char16_t>(*q);
            continue;
        }
        if (c == ']') {
            if (end - p >= 3 && p[1] == ']' && p[2] == '>') {
                m_p = p;
                Fail("Character sequence ']]>' not allowed in element content");
            }
            m_text.push_back(u']');
            ++p;
            continue;
        }
        if (c == '\n' || c == '\t') {
            m_text.push_back(c);
            ++p;
            continue;
        }
        if (c == '\r') {
            m_text.push_back(u'\n');
            ++p;
            if (p < end && *p == '\n')
                ++p;
            continue;
        }
        char32_t cp;
        m_p = p;
        if (c < 0x20 || !DecodeUtf8(p, end, cp) || !IsXmlChar(cp))
            Fail("Invalid character '" + CharHere() + "'");
        AppendUtf16(m_text, cp);
    }
    m_p = p;
}

void CXmlParser::ParseReferenceInContent()
{
    ++m_p;
    if (Peek() == '#') {
        ++m_p;
        AppendUtf16(m_text, ParseCharReference(m_p, m_end));
        return;
    }
    std::string_view name = ParseName();
    if (Peek() != ';' || AtEnd())
        Fail("Expecting end of reference chSEMI_COLON");
    ++m_p;
    char16_t single;
    if (Predefined(name, single)) {
        m_text.push_back(single);
        return;
    }
    Entity* entity = FindEntity(name);
    if (!entity)
        Fail("Reference to undefined entity '" + std::string(name) + "'");
    if (entity->unparsed)
        Fail("Reference to unparsed entity '" + std::string(name) + "'");
    if (entity->external)
        return;  // external entities are never fetched
    if (entity->inUse)
        Fail("Recursive reference to entity '" + std::string(name) + "'");
    CountExpansion(entity->value.size());
    if (entity->plain) {
        m_text += entity->text;
        return;
    }
    if (m_sources.size() >= m_limits.maxEntityNesting)
        Fail("Entity references nested deeper than " + std::to_string(m_limits.maxEntityNesting) + " levels");
    auto found = m_entities.find(name);
    m_sources.push_back(Source{m_p, m_end, entity, found->first, m_open.size()});
    entity->inUse = true;
    m_p = entity->value.data();
    m_end = m_p + entity->value.size();
}

void CXmlParser::ParseCData()
{
    m_p += 9;
    for (;;) {
        if (AtEnd())
            FailEnd();
        if (*m_p == ']' && StartsWith("]]>")) {
            m_p += 3;
            return;
        }
        char32_t c = NextChar("Invalid character '");
        if (c == '\r') {
            if (Peek() == '\n' && !AtEnd())
                ++m_p;
            c = '\n';
        }
        AppendUtf16(m_text, c);
    }
}

void CXmlParser::ParseComment(bool keep)
{
    m_p += 4;
    m_scratch.clear();
    for (;;) {
        if (AtEnd())
            FailEnd();
        if (*m_p == '-' && m_end - m_p >= 2 && m_p[1] == '-') {
            if (m_end - m_p >= 3 && m_p[2] == '>') {
                m_p += 3;
                break;
            }
            ++m_p;
            Fail("Comment contains invalid character '-'");
        }
        char32_t c = NextChar("Comment contains invalid character '");
        if (c == '\r') {
            if (Peek() == '\n' && !AtEnd())
                ++m_p;
            c = '\n';
        }
        if (keep)
            AppendUtf16(m_scratch, c);
    }
    if (keep) {
        CXmlNode* node = m_document->createComment(m_scratch);
        Attach(node);
    }
}

void CXmlParser::ParsePI(bool keep)
{
    m_p += 2;
    std::string_view target = ParseName();
    if (EqualsIgnoringCase(target, "xml"))
        Fail("Unexpected state in xmldecl parse unit");
    m_scratch.clear();
    if (!StartsWith("?>")) {
        if (!SkipSpace())
            AtEnd() ? FailEnd() : Fail("PI contains invalid character '" + CharHere() + "'");
        for (;;) {
            if (AtEnd())
                FailEnd();
            if (*m_p == '?' && StartsWith("?>"))
                break;
            char32_t c = NextChar("PI contains invalid character '");
            if (c == '\r') {
                if (Peek() == '\n' && !AtEnd())
                    ++m_p;
                c = '\n';
            }
            if (keep)
                AppendUtf16(m_scratch, c);
        }
    }
    m_p += 2;
    if (keep) {
        CXmlNode* node = m_document->NewNode(XmlNodeType::ProcessingInstruction, nullptr, 0);
        node->m_name = StoreUtf8(target, node->m_nameLength);
        node->setNodeValue(m_scratch);
        Attach(node);
    }
}

void CXmlParser::ParseDoctype()
{
    m_p += 9;
    RequireSpace();
    ParseName();
    bool space = SkipSpace();
    if (StartsWith("SYSTEM") || StartsWith("PUBLIC")) {
        if (!space)
            FailUnexpected();
        ParseExternalId(false);
        SkipSpace();
    } else if (Peek() != '[' && Peek() != '>') {
        AtEnd() ? FailEnd() : Fail("Expecting PUBLIC or SYSTEM for ExternalID");
    }
    if (Peek() == '[' && !AtEnd()) {
        ++m_p;
        ParseInternalSubset();
        SkipSpace();
    }
    Expect('>');
}

// SYSTEM "literal" or PUBLIC "pubid" "literal"; a notation may leave out the system literal.
void CXmlParser::ParseExternalId(bool systemOptional)
{
    if (StartsWith("SYSTEM")) {
        m_p += 6;
        RequireSpace();
        ParseQuoted(false);
    } else if (StartsWith("PUBLIC")) {
        m_p += 6;
        RequireSpace();
        ParseQuoted(true);
        bool space = SkipSpace();
        char next = Peek();
        if (next == '"' || next == '\'') {
            if (!space)
                FailUnexpected();
            ParseQuoted(false);
        } else if (!systemOptional) {
            AtEnd() ? FailEnd() : FailUnexpected();
        }
    } else {
        Fail("Expecting PUBLIC or SYSTEM for ExternalID");
    }
}

void CXmlParser::ParseQuoted(bool pubid)
{
    char quote = Peek();
    if ((quote != '"' && quote != '\'') || AtEnd())
        AtEnd() ? FailEnd() : FailUnexpected();
    ++m_p;
    for (;;) {
        if (AtEnd())
            FailEnd();
        if (*m_p == quote) {
            ++m_p;
            return;
        }
        char32_t c = NextChar("Invalid character '");
        if (pubid) {
            bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      (c < 0x80 && std::strchr(" \r\n-'()+,./:=?;!*#@$_%", static_cast<int>(c)) && c != 0);
            if (!ok) {
                Fail("Invalid character '" + Printable(c) + "'");
            }
        }
    }
}

void CXmlParser::ParseInternalSubset()
{
    for (;;) {
        SkipSpace();
        if (AtEnd())
            FailEnd();
        if (*m_p == ']') {
            ++m_p;
            return;
        }
        if (*m_p == '%') {
            // Parameter entities are not read; a reference between declarations is passed over.
            ++m_p;
            ParseName();
            Expect(';');
            m_unreadParameterEntity = true;
        } else if (StartsWith("<!--")) {
            ParseComment(false);
        } else if (StartsWith("<?")) {
            ParsePI(false);
        } else if (StartsWith("<!ELEMENT")) {
            m_p += 9;
            ParseElementDecl();
        } else if (StartsWith("<!ATTLIST")) {
            m_p += 9;
            ParseAttlistDecl();
        } else if (StartsWith("<!ENTITY")) {
            m_p += 8;
            ParseEntityDecl();
        } else if (StartsWith("<!NOTATION")) {
            m_p += 10;
            ParseNotationDecl();
        } else {
            FailUnexpected();
        }
    }
}

void CXmlParser::ParseElementDecl()
{
    RequireSpace();
    ParseName();
    RequireSpace();
    if (StartsWith("EMPTY")) {
        m_p += 5;
    } else if (StartsWith("ANY")) {
        m_p += 3;
    } else if (Peek() == '(' && !AtEnd()) {
        ++m_p;
        SkipSpace();
        if (StartsWith("#PCDATA")) {
            m_p += 7;
            bool names = false;
            for (;;) {
                SkipSpace();
                if (Peek() == ')' && !AtEnd()) {
                    ++m_p;
                    break;
                }
                if (Peek() != '|' || AtEnd())
                    Fail("Expecting closing ')' for choice/sequence");
                ++m_p;
                SkipSpace();
                ParseName();
                names = true;
            }
            if (Peek() == '*' && !AtEnd())
                ++m_p;
            else if (names)
                AtEnd() ? FailEnd() : FailUnexpected();
        } else if (Peek() == '#') {
            FailUnexpected();
        } else {
            ParseContentParticles(1);
        }
    } else {
        Fail("Expecting opening left bracket, 'ANY' or 'EMPTY' after element name");
    }
    SkipSpace();
    if (Peek() != '>' || AtEnd())
        Fail("Expecting closing chGREATER_THAN for element");
    ++m_p;
}

// A choice or sequence, just past its '('; nesting is bounded like elements.
void CXmlParser::ParseContentParticles(int level)
{
    if (static_cast<std::size_t>(level) > m_limits.maxDepth)
        Fail("Content model nested deeper than " + std::to_string(m_limits.maxDepth) + " levels");
    char separator = 0;
    for (;;) {
        SkipSpace();
        if (Peek() == '(' && !AtEnd()) {
            ++m_p;
            ParseContentParticles(level + 1);
        } else {
            ParseName();
            char suffix = Peek();
            if ((suffix == '?' || suffix == '*' || suffix == '+') && !AtEnd())
                ++m_p;
        }
        SkipSpace();
        char c = Peek();
        if (AtEnd())
            FailEnd();
        if (c == ')') {
            ++m_p;
            break;
        }
        if ((c != '|' && c != ',') || (separator && c != separator))
            Fail("Expecting closing ')' for choice/sequence");
        separator = c;
        ++m_p;
    }
    char suffix = Peek();
    if ((suffix == '?' || suffix == '*' || suffix == '+') && !AtEnd())
        ++m_p;
}

void CXmlParser::ParseAttlistDecl()
{
    RequireSpace();
    ParseName();
    for (;;) {
        bool space = SkipSpace();
        if (AtEnd())
            FailEnd();
        if (*m_p == '>') {
            ++m_p;
            return;
        }
        if (!space)
            FailUnexpected();
        ParseName();
        RequireSpace();
        if (Peek() == '(') {
            ++m_p;
            for (;;) {
                SkipSpace();
                ParseNmtoken();
                SkipSpace();
                if (Peek() == ')' && !AtEnd()) {
                    ++m_p;
                    break;
                }
                Expect('|');
            }
        } else {
            const char* start = m_p;
            while (m_p < m_end && ((*m_p >= 'A' && *m_p <= 'Z') || (*m_p >= 'a' && *m_p <= 'z')))
                ++m_p;
            std::string_view type(start, static_cast<std::size_t>(m_p - start));
            static constexpr std::string_view kTypes[] = {"CDATA",    "ID",      "IDREF",    "IDREFS",  "ENTITY",
                                                          "ENTITIES", "NMTOKEN", "NMTOKENS", "NOTATION"};
            bool known = false;
            for (std::string_view candidate : kTypes)
                known = known || candidate == type;
            if (!known) {
                m_p = start;
                std::string word = type.empty() ? CharHere() : std::string(type);
                Fail("Unknown attlist type '" + word + "'");
            }
            if (type == "NOTATION") {
                RequireSpace();
                Expect('(');
                for (;;) {
                    SkipSpace();
                    ParseName();
                    SkipSpace();
                    if (Peek() == ')' && !AtEnd()) {
                        ++m_p;
                        break;
                    }
                    Expect('|');
                }
            }
        }
        if (!SkipSpace())
            Fail("Required whitespace is missing after AttType");
        bool value = true;
        if (Peek() == '#' && !AtEnd()) {
            ++m_p;
            if (StartsWith("REQUIRED")) {
                m_p += 8;
                value = false;
            } else if (StartsWith("IMPLIED")) {
                m_p += 7;
                value = false;
            } else if (StartsWith("FIXED")) {
                m_p += 5;
                RequireSpace();
            } else {
                FailUnexpected();
            }
        }
        if (value) {
            char quote = Peek();
            if ((quote != '"' && quote != '\'') || AtEnd())
                Fail("Expecting a HASH");
            ++m_p;
            m_scratch.clear();
            ScanAttributeValue(m_p, m_end, quote, 0, m_scratch);
        }
    }
}

void CXmlParser::ParseEntityDecl()
{
    RequireSpace();
    bool parameter = false;
    if (Peek() == '%' && !AtEnd()) {
        ++m_p;
        RequireSpace();
        parameter = true;
    }
    std::string_view name = ParseName();
    if (!SkipSpace())
        Fail("Expecting whitespace after EntityDecl name");
    Entity entity;
    char quote = Peek();
    if ((quote == '"' || quote == '\'') && !AtEnd()) {
        ++m_p;
        for (;;) {
            if (AtEnd())
                FailEnd();
            char c = *m_p;
            if (c == quote) {
                ++m_p;
                break;
            }
            if (c == '%')
                FailUnexpected();
            if (c == '&') {
                ++m_p;
                if (Peek() == '#' && !AtEnd()) {
                    ++m_p;
                    AppendUtf8(entity.value, ParseCharReference(m_p, m_end));
                    continue;
                }
                std::string_view reference = ParseName();
                if (Peek() != ';' || AtEnd())
                    Fail("Expecting end of reference chSEMI_COLON");
                ++m_p;
                entity.value += '&';
                entity.value += reference;
                entity.value += ';';
                continue;
            }
            char32_t cp = NextChar("Invalid character '");
            if (cp == '\r') {
                if (Peek() == '\n' && !AtEnd())
                    ++m_p;
                cp = '\n';
            }
            AppendUtf8(entity.value, cp);
        }
    } else {
        ParseExternalId(false);
        entity.external = true;
        bool space = SkipSpace();
        if (!parameter && space && StartsWith("NDATA")) {
            m_p += 5;
            RequireSpace();
            ParseName();
            entity.unparsed = true;
        } else if (Peek() != '>' && !AtEnd()) {
            if (parameter || !space)
                Fail("Expecting close of entity chGREATER_THAN");
            Fail("Expecting NDATA");
        }
    }
    SkipSpace();
    if (Peek() != '>' || AtEnd())
        Fail("Expecting close of entity chGREATER_THAN");
    ++m_p;
    char16_t predefined;
    if (parameter || Predefined(name, predefined) || m_entities.count(name))
        return;  // the first declaration of a name binds
    // After an unread parameter entity, which may have declared the same name,
    // declarations are checked but not processed unless the document is
    // standalone (XML 1.0, section 5.1).
    if (m_unreadParameterEntity && !m_standalone)
        return;
    entity.plain =
        entity.value.find_first_of("<&") == std::string::npos && entity.value.find("]]>") == std::string::npos;
    if (entity.plain)
        entity.text = Utf8ToUtf16(entity.value);
    m_entities.emplace(std::string(name), std::move(entity));
}

void CXmlParser::ParseNotationDecl()
{
    RequireSpace();
    ParseName();
    RequireSpace();
    ParseExternalId(true);
    SkipSpace();
    if (Peek() != '>' || AtEnd())
        Fail("Expecting closing chGREATER_THAN for notation decl");
    ++m_p;
}

XmlDocumentPtr ParseXml(std::string_view bytes, XmlParseResult* result, const XmlParseLimits& limits)
{
    XmlParseResult local;
    CXmlParser parser(limits);
    return parser.Parse(bytes, result ? *result : local);
}
