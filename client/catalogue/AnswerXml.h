#pragma once
// What every answer hook does with the server's XML answer, in the client's
// 8-bit (UTF-8) text: load it, find elements by tag name, read element texts,
// attributes and decimal numbers.
#include "client/xml/XmlNamedNodeMap.h"
#include "client/xml/XmlDocument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The answer as a document, or nullptr when it does not load.
XmlDocumentPtr LoadAnswerDocument(const std::string& answer);

/// Every element of that name anywhere in the document, in document order.
std::vector<CXmlNode*> ElementsNamed(const CXmlDocument& document, std::u16string_view name);
/// The first such element, or nullptr.
CXmlNode* FirstElementNamed(const CXmlDocument& document, std::u16string_view name);

/// The value of the first child when it is a text node, else empty.
std::string ElementString(const CXmlNode& element);
/// The element text as a decimal number.
std::int32_t ElementNumber(const CXmlNode& element);
/// The attribute's value; nullopt when the element has no such attribute.
std::optional<std::string> AttributeText(const CXmlNode& element, std::u16string_view name);

/// Leading white space skipped, optional sign, digits up to the first
/// non-digit; 0 when there are none.
std::int32_t DecimalNumber(std::string_view text);
/// Removes space, tab, LF, VT, FF and CR at the end.
std::string TrimTrailingSpace(std::string text);
