#pragma once
// Helpers over the profile's object notation: every server-side object is an
// element "Object" with "Class" and "Name" attributes. Each helper accepts a
// null element: readers then give nothing or empty text, writers do nothing.
#include <optional>
#include <string>
#include <string_view>

class CXmlDocument;
class CXmlNode;

inline constexpr std::u16string_view kProfileObjectTag = u"Object";
inline constexpr std::u16string_view kProfileClassAttr = u"Class";
inline constexpr std::u16string_view kProfileNameAttr = u"Name";
inline constexpr std::u16string_view kProfileUserClass = u"com.velmar.orvane.data.User";
inline constexpr std::u16string_view kProfileStringClass = u"java.lang.String";
inline constexpr std::u16string_view kProfileVectorClass = u"java.util.Vector";

/// ASCII comparison ignoring case, as the notation compares names and classes.
bool ProfileNamesEqual(std::u16string_view a, std::u16string_view b);

/// The first child "Object" of parent matching the class and the name (each
/// compared ignoring case, each skipped when not given).
CXmlNode* FindObject(const CXmlNode* parent, std::optional<std::u16string_view> className,
                     std::optional<std::u16string_view> name);
/// The user object: the first child of the document element of class
/// "com.velmar.orvane.data.User".
CXmlNode* FindUserObject(const CXmlDocument* document);
/// The first child element whose tag equals tag ignoring case.
CXmlNode* FindChildElement(const CXmlNode* parent, std::u16string_view tag);

/// The value of the first child text node that is not empty.
std::u16string GetObjectText(const CXmlNode* element);
/// Sets the first non-empty child text node, or appends a new text node.
void SetObjectText(CXmlNode* element, std::u16string_view value);

/// Empty when the attribute is absent.
std::u16string GetAttributeValue(const CXmlNode* element, std::u16string_view name);
/// Changes an existing attribute only; an absent attribute is not added.
void SetAttributeValue(CXmlNode* element, std::u16string_view name, std::u16string_view value);

/// Appends a new element with that tag as the last child; returns it.
CXmlNode* AppendElement(CXmlNode* parent, std::u16string_view tag);
/// Appends a new "Object" with Class, optional Name and optional text.
CXmlNode* AppendObject(CXmlNode* parent, std::u16string_view className,
                       std::optional<std::u16string_view> name = std::nullopt,
                       std::optional<std::u16string_view> text = std::nullopt);
