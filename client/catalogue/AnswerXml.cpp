#include "client/catalogue/AnswerXml.h"

#include "client/xml/XmlDocumentWrapper.h"
#include "client/xml/XmlNodeList.h"
#include "client/xml/XmlText.h"
#include "platform/Text.h"
#include "platform/Utf.h"

#include <limits>

XmlDocumentPtr LoadAnswerDocument(const std::string& answer)
{
    return LoadXmlFromText(answer);
}

std::vector<CXmlNode*> ElementsNamed(const CXmlDocument& document, std::u16string_view name)
{
    const XmlNodeListPtr list(document.getElementsByTagName(name));
    std::vector<CXmlNode*> nodes;
    if (!list)
        return nodes;
    nodes.reserve(list->length());
    for (std::size_t i = 0; i < list->length(); ++i)
        nodes.push_back(list->item(i));
    return nodes;
}

CXmlNode* FirstElementNamed(const CXmlDocument& document, std::u16string_view name)
{
    return FirstElementByTagName(&document, name);
}

std::string ElementString(const CXmlNode& element)
{
    return ElementTextUtf8(&element);
}

std::int32_t ElementNumber(const CXmlNode& element)
{
    return DecimalNumber(ElementString(element));
}

std::optional<std::string> AttributeText(const CXmlNode& element, std::u16string_view name)
{
    const CXmlNamedNodeMap* attributes = element.attributes();
    const CXmlNode* attribute = attributes ? attributes->getNamedItem(name) : nullptr;
    if (!attribute)
        return std::nullopt;
    return Utf16ToUtf8(attribute->nodeValue());
}

std::int32_t DecimalNumber(std::string_view text)
{
    const long long value = ParseDecimal(text);
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::string TrimTrailingSpace(std::string text)
{
    while (!text.empty() && IsBlank(text.back()))
        text.pop_back();
    return text;
}
