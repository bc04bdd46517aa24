#include "client/xml/XmlNode.h"

#include <vector>

#include "client/xml/XmlDocument.h"
#include "client/xml/XmlNamedNodeMap.h"
#include "client/xml/XmlNodeList.h"

namespace {
const CXmlNamedNodeMap kNoAttributes;

bool IsLeaf(XmlNodeType type)
{
    return type != XmlNodeType::Element && type != XmlNodeType::Document;
}
}  // namespace

void CXmlNode::setNodeValue(std::u16string_view value)
{
    switch (m_type) {
    case XmlNodeType::Text:
    case XmlNodeType::CDataSection:
    case XmlNodeType::Comment:
    case XmlNodeType::ProcessingInstruction:
    case XmlNodeType::Attribute:
        m_value = m_document->m_arena.CopyString(value);
        m_valueLength = static_cast<std::uint32_t>(value.size());
        break;
    default: break;
    }
}

const CXmlNamedNodeMap* CXmlNode::attributes() const
{
    if (m_type != XmlNodeType::Element)
        return nullptr;
    return m_attributes ? m_attributes : &kNoAttributes;
}

CXmlNodeList* CXmlNode::childNodes() const
{
    std::vector<CXmlNode*> children;
    for (CXmlNode* child = m_firstChild; child; child = child->m_next)
        children.push_back(child);
    return new CXmlNodeList(std::move(children));
}

void CXmlNode::AttachLast(CXmlNode* child)
{
    child->m_parent = this;
    child->m_previous = m_lastChild;
    child->m_next = nullptr;
    if (m_lastChild)
        m_lastChild->m_next = child;
    else
        m_firstChild = child;
    m_lastChild = child;
}

CXmlNode* CXmlNode::appendChild(CXmlNode* child)
{
    if (!child || child->m_document != m_document || IsLeaf(m_type))
        return nullptr;
    if (child->m_type == XmlNodeType::Attribute || child->m_type == XmlNodeType::Document)
        return nullptr;
    // Only a node with children can be an ancestor of this one, so building a
    // tree from fresh nodes never pays for the walk.
    if (child == this)
        return nullptr;
    if (child->m_firstChild) {
        for (const CXmlNode* ancestor = m_parent; ancestor; ancestor = ancestor->m_parent) {
            if (ancestor == child)
                return nullptr;
        }
    }
    if (m_type == XmlNodeType::Document) {
        if (child->m_type == XmlNodeType::Text || child->m_type == XmlNodeType::CDataSection ||
            child->m_type == XmlNodeType::EntityReference)
            return nullptr;
        if (child->m_type == XmlNodeType::Element && m_document->m_documentElement &&
            m_document->m_documentElement != child)
            return nullptr;
    }
    if (child->m_parent)
        child->m_parent->removeChild(child);
    AttachLast(child);
    if (m_type == XmlNodeType::Document && child->m_type == XmlNodeType::Element)
        m_document->m_documentElement = child;
    return child;
}

CXmlNode* CXmlNode::removeChild(CXmlNode* child)
{
    if (!child || child->m_parent != this)
        return nullptr;
    if (child->m_previous)
        child->m_previous->m_next = child->m_next;
    else
        m_firstChild = child->m_next;
    if (child->m_next)
        child->m_next->m_previous = child->m_previous;
    else
        m_lastChild = child->m_previous;
    child->m_parent = child->m_previous = child->m_next = nullptr;
    if (m_type == XmlNodeType::Document && m_document->m_documentElement == child)
        m_document->m_documentElement = nullptr;
    return child;
}

CXmlNode* CXmlNode::getAttributeNode(std::u16string_view name) const
{
    if (m_type != XmlNodeType::Element)
        return nullptr;
    return m_attributes ? m_attributes->getNamedItem(name) : nullptr;
}

bool CXmlNode::setAttribute(std::u16string_view name, std::u16string_view value)
{
    if (m_type != XmlNodeType::Element)
        return false;
    if (CXmlNode* existing = getAttributeNode(name)) {
        existing->setNodeValue(value);
        return true;
    }
    if (!m_attributes)
        m_attributes = m_document->NewAttributeMap();
    m_attributes->Append(m_document->createAttribute(name, value));
    return true;
}

CXmlNode* CXmlNamedNodeMap::getNamedItem(std::u16string_view name) const
{
    for (CXmlNode* attribute = m_first; attribute; attribute = attribute->m_next) {
        if (attribute->nodeName() == name)
            return attribute;
    }
    return nullptr;
}

CXmlNode* CXmlNamedNodeMap::item(std::size_t index) const
{
    if (index >= m_count)
        return nullptr;
    CXmlNode* attribute = m_first;
    while (index-- > 0)
        attribute = attribute->m_next;
    return attribute;
}

void CXmlNamedNodeMap::Append(CXmlNode* attribute)
{
    attribute->m_previous = m_last;
    attribute->m_next = nullptr;
    if (m_last)
        m_last->m_next = attribute;
    else
        m_first = attribute;
    m_last = attribute;
    ++m_count;
}
