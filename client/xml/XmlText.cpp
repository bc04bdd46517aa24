#include "client/xml/XmlText.h"

#include <limits>

#include "client/xml/XmlDocument.h"
#include "client/xml/XmlNamedNodeMap.h"

namespace {

void PutUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

template <class Char>
long long ParseDecimalOf(std::basic_string_view<Char> text)
{
    std::size_t i = 0;
    auto space = [](Char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
    while (i < text.size() && space(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Accumulate negatively so the most negative value fits too.
    constexpr long long kMin = std::numeric_limits<long long>::min();
    long long value = 0;
    bool clamped = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = static_cast<int>(text[i] - '0');
        if (value < (kMin + digit) / 10) {
            clamped = true;
            value = kMin;
            break;
        }
        value = value * 10 - digit;
    }
    if (!negative) {
        if (clamped || value == kMin)
            return std::numeric_limits<long long>::max();
        return -value;
    }
    return value;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char b0 = static_cast<unsigned char>(text[i]);
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        }
        int length = 0;
        char32_t c = 0, minimum = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF)
            length = 2, c = b0 & 0x1F, minimum = 0x80;
        else if (b0 >= 0xE0 && b0 <= 0xEF)
            length = 3, c = b0 & 0x0F, minimum = 0x800;
        else if (b0 >= 0xF0 && b0 <= 0xF4)
            length = 4, c = b0 & 0x07, minimum = 0x10000;
        bool ok = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; ok && k < length; ++k) {
            unsigned char b = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            ok = (b & 0xC0) == 0x80;
            c = (c << 6) | (b & 0x3F);
        }
        ok = ok && c >= minimum && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        PutUtf16(out, c);
        i += static_cast<std::size_t>(length);
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
    return out;
}

std::u16string_view ElementText(const CXmlNode* element)
{
    const CXmlNode* child = element ? element->firstChild() : nullptr;
    if (!child || child->nodeType() != XmlNodeType::Text)
        return {};
    return child->nodeValue();
}

std::string ElementTextUtf8(const CXmlNode* element)
{
    return Utf16ToUtf8(ElementText(element));
}

long long ParseDecimal(std::u16string_view text)
{
    return ParseDecimalOf(text);
}

long long ParseDecimal(std::string_view text)
{
    return ParseDecimalOf(text);
}

CXmlNode* FirstElementByTagName(const CXmlDocument* document, std::u16string_view name)
{
    if (!document)
        return nullptr;
    const CXmlNode* root = document->documentElement();
    for (const CXmlNode* node = root; node;) {
        if (node->nodeType() == XmlNodeType::Element && node->nodeName() == name)
            return const_cast<CXmlNode*>(node);
        if (node->firstChild()) {
            node = node->firstChild();
            continue;
        }
        while (node != root && !node->nextSibling())
            node = node->parentNode();
        node = node == root ? nullptr : node->nextSibling();
    }
    return nullptr;
}

CXmlNode* ChildElement(const CXmlNode* parent, std::u16string_view name)
{
    for (CXmlNode* child = parent ? parent->firstChild() : nullptr; child; child = child->nextSibling()) {
        if (child->nodeType() == XmlNodeType::Element && child->nodeName() == name)
            return child;
    }
    return nullptr;
}

std::u16string_view AttributeValue(const CXmlNode* element, std::u16string_view name)
{
    const CXmlNode* attribute = element ? element->getAttributeNode(name) : nullptr;
    return attribute ? attribute->nodeValue() : std::u16string_view();
}
