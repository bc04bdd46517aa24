#include "client/profile/ObjectVector.h"

#include "client/profile/ProfileObjects.h"
#include "client/xml/XmlNode.h"

void CObjectVector::Attach(CXmlNode* vector)
{
    m_items.clear();
    m_vector = vector;
    if (!vector)
        return;
    for (CXmlNode* child = vector->firstChild(); child; child = child->nextSibling()) {
        if (child->nodeType() == XmlNodeType::Element && ProfileNamesEqual(child->nodeName(), kProfileObjectTag))
            m_items.push_back(child);
    }
}

CXmlNode* CObjectVector::GetItem(std::size_t index) const
{
    return index < m_items.size() ? m_items[index] : nullptr;
}

void CObjectVector::Add(CXmlNode* item)
{
    if (item)
        m_items.push_back(item);
}

void CObjectVector::RemoveAt(std::size_t index)
{
    if (index >= m_items.size())
        return;
    CXmlNode* item = m_items[index];
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    if (CXmlNode* parent = item->parentNode())
        parent->removeChild(item);
}

bool CObjectVector::RemoveText(std::u16string_view text)
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (GetObjectText(m_items[i]) == text) {
            RemoveAt(i);
            return true;
        }
    }
    return false;
}
