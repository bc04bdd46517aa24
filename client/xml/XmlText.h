#pragma once
// Small helpers for reading answers out of a document (the conversions at the
// reader's boundary are platform/Utf.h's).
//
// - ElementText(element): the value of the element's first child when that
//   child is a text node, else empty (no children, or markup first).
// - ParseDecimal(text): skips leading white space, takes an optional sign and
//   the digits up to the first non-digit; 0 when there are none. Values beyond
//   the range of long long are clamped to its limits.
// - FirstElementByTagName / ChildElement / AttributeValue: the lookups every
//   answer hook does (exact, case-sensitive names; nullptr or empty when missing).
#include <string>
#include <string_view>

class CXmlDocument;
class CXmlNode;

/// A view into the document, valid until that text node changes or the document goes.
std::u16string_view ElementText(const CXmlNode* element);
/// ElementText as 8-bit (UTF-8) text; empty for nullptr.
std::string ElementTextUtf8(const CXmlNode* element);

long long ParseDecimal(std::u16string_view text);
long long ParseDecimal(std::string_view text);

/// The first element named name in document order, or nullptr.
CXmlNode* FirstElementByTagName(const CXmlDocument* document, std::u16string_view name);
/// The first child element of parent named name, or nullptr.
CXmlNode* ChildElement(const CXmlNode* parent, std::u16string_view name);
/// The value of the element's attribute named name; empty when absent.
std::u16string_view AttributeValue(const CXmlNode* element, std::u16string_view name);
