#include "client/profile/ProfileObjects.h"

#include "client/xml/XmlDocument.h"
#include "client/xml/XmlNode.h"

namespace {

char16_t FoldAscii(char16_t ch)
{
    return (ch >= u'A' && ch <= u'Z') ? static_cast<char16_t>(ch - u'A' + u'a') : ch;
}

bool IsElementNamed(const CXmlNode* node, std::u16string_view tag)
{
    return node->nodeType() == XmlNodeType::Element && ProfileNamesEqual(node->nodeName(), tag);
}

bool MatchesAttribute(const CXmlNode* element, std::u16string_view attribute,
                      const std::optional<std::u16string_view>& wanted)
{
    if (!wanted)
        return true;
    const CXmlNode* node = element->getAttributeNode(attribute);
    return ProfileNamesEqual(node ? node->nodeValue() : std::u16string_view{}, *wanted);
}

CXmlNode* FirstNonEmptyText(const CXmlNode* element)
{
    for (CXmlNode* child = element->firstChild(); child; child = child->nextSibling()) {
        if (child->nodeName() == u"#text" && !child->nodeValue().empty())
            return child;
    }
    return nullptr;
}

}  // namespace

bool ProfileNamesEqual(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

CXmlNode* FindObject(const CXmlNode* parent, std::optional<std::u16string_view> className,
                     std::optional<std::u16string_view> name)
{
    if (!parent)
        return nullptr;
    for (CXmlNode* child = parent->firstChild(); child; child = child->nextSibling()) {
        if (IsElementNamed(child, kProfileObjectTag) && MatchesAttribute(child, kProfileClassAttr, className) &&
            MatchesAttribute(child, kProfileNameAttr, name))
            return child;
    }
    return nullptr;
}

CXmlNode* FindUserObject(const CXmlDocument* document)
{
    if (!document)
        return nullptr;
    return FindObject(document->documentElement(), kProfileUserClass, std::nullopt);
}

CXmlNode* FindChildElement(const CXmlNode* parent, std::u16string_view tag)
{
    if (!parent)
        return nullptr;
    for (CXmlNode* child = parent->firstChild(); child; child = child->nextSibling()) {
        if (IsElementNamed(child, tag))
            return child;
    }
    return nullptr;
}

std::u16string GetObjectText(const CXmlNode* element)
{
    if (!element)
        return {};
    const CXmlNode* text = FirstNonEmptyText(element);
    return text ? std::u16string(text->nodeValue()) : std::u16string();
}

void SetObjectText(CXmlNode* element, std::u16string_view value)
{
    if (!element)
        return;
    if (CXmlNode* text = FirstNonEmptyText(element)) {
        text->setNodeValue(value);
        return;
    }
    if (CXmlDocument* document = element->ownerDocument())
        element->appendChild(document->createTextNode(value));
}

std::u16string GetAttributeValue(const CXmlNode* element, std::u16string_view name)
{
    if (!element)
        return {};
    const CXmlNode* attribute = element->getAttributeNode(name);
    return attribute ? std::u16string(attribute->nodeValue()) : std::u16string();
}

void SetAttributeValue(CXmlNode* element, std::u16string_view name, std::u16string_view value)
{
    if (!element)
        return;
    if (CXmlNode* attribute = element->getAttributeNode(name))
        attribute->setNodeValue(value);
}

CXmlNode* AppendElement(CXmlNode* parent, std::u16string_view tag)
{
    if (!parent || !parent->ownerDocument())
        return nullptr;
    return parent->appendChild(parent->ownerDocument()->createElement(tag));
}

CXmlNode* AppendObject(CXmlNode* parent, std::u16string_view className, std::optional<std::u16string_view> name,
                       std::optional<std::u16string_view> text)
{
    if (!parent || !parent->ownerDocument())
        return nullptr;
    CXmlDocument* document = parent->ownerDocument();
    CXmlNode* object = document->createElement(kProfileObjectTag);
    object->setAttribute(kProfileClassAttr, className);
    if (name)
        object->setAttribute(kProfileNameAttr, *name);
    if (text)
        object->appendChild(document->createTextNode(*text));
    return parent->appendChild(object);
}
