#include "client/xml/XmlText.h"

#include "client/xml/XmlDocument.h"
#include "client/xml/XmlNamedNodeMap.h"
#include "platform/Utf.h"

#include <limits>

namespace {

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
