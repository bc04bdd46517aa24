#include "client/xml/XmlDocument.h"

#include <new>
#include <vector>

#include "client/xml/XmlNamedNodeMap.h"

namespace {
constexpr std::u16string_view kDocumentName = u"#document";
constexpr std::u16string_view kTextName = u"#text";
constexpr std::u16string_view kCommentName = u"#comment";
constexpr std::u16string_view kCDataName = u"#cdata-section";
}  // namespace

CXmlDocument::CXmlDocument() : CXmlNode(XmlNodeType::Document, this)
{
    m_name = kDocumentName.data();
    m_nameLength = kDocumentName.size();
    m_value = u"";
}

CXmlDocument* CXmlDocument::Create()
{
    return new CXmlDocument();
}

void CXmlDocument::release()
{
    delete this;
}

CXmlNode* CXmlDocument::NewNode(XmlNodeType type, const char16_t* name, std::size_t nameLength)
{
    auto* node = new (m_arena.Allocate(sizeof(CXmlNode), alignof(CXmlNode))) CXmlNode(type, this);
    node->m_name = name;
    node->m_nameLength = static_cast<std::uint32_t>(nameLength);
    if (type == XmlNodeType::Element)
        node->m_attributes = nullptr;
    else
        node->m_value = u"";
    return node;
}

CXmlNamedNodeMap* CXmlDocument::NewAttributeMap()
{
    return m_arena.Create<CXmlNamedNodeMap>();
}

CXmlNode* CXmlDocument::createElement(std::u16string_view tagName)
{
    return NewNode(XmlNodeType::Element, m_arena.CopyString(tagName), tagName.size());
}

CXmlNode* CXmlDocument::createTextNode(std::u16string_view data)
{
    CXmlNode* node = NewNode(XmlNodeType::Text, kTextName.data(), kTextName.size());
    node->setNodeValue(data);
    return node;
}

CXmlNode* CXmlDocument::createComment(std::u16string_view data)
{
    CXmlNode* node = NewNode(XmlNodeType::Comment, kCommentName.data(), kCommentName.size());
    node->setNodeValue(data);
    return node;
}

CXmlNode* CXmlDocument::createCDATASection(std::u16string_view data)
{
    CXmlNode* node = NewNode(XmlNodeType::CDataSection, kCDataName.data(), kCDataName.size());
    node->setNodeValue(data);
    return node;
}

CXmlNode* CXmlDocument::createProcessingInstruction(std::u16string_view target, std::u16string_view data)
{
    CXmlNode* node = NewNode(XmlNodeType::ProcessingInstruction, m_arena.CopyString(target), target.size());
    node->setNodeValue(data);
    return node;
}

CXmlNode* CXmlDocument::createEntityReference(std::u16string_view name)
{
    return NewNode(XmlNodeType::EntityReference, m_arena.CopyString(name), name.size());
}

CXmlNode* CXmlDocument::createAttribute(std::u16string_view name, std::u16string_view value)
{
    CXmlNode* node = NewNode(XmlNodeType::Attribute, m_arena.CopyString(name), name.size());
    node->setNodeValue(value);
    return node;
}

CXmlNodeList* CXmlDocument::getElementsByTagName(std::u16string_view name) const
{
    std::vector<CXmlNode*> found;
    const CXmlNode* root = m_documentElement;
    // Pre-order walk along the links; no recursion, so depth costs no stack.
    for (const CXmlNode* node = root; node;) {
        if (node->m_type == XmlNodeType::Element && node->nodeName() == name)
            found.push_back(const_cast<CXmlNode*>(node));
        if (node->m_firstChild) {
            node = node->m_firstChild;
            continue;
        }
        while (node != root && !node->m_next)
            node = node->m_parent;
        node = node == root ? nullptr : node->m_next;
    }
    return new CXmlNodeList(std::move(found));
}
