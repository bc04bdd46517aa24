#include "client/profile/ObjectHashtable.h"

#include "client/profile/ProfileObjects.h"
#include "client/xml/XmlNode.h"

namespace {

constexpr std::u16string_view kItemTag = u"Item";
constexpr std::u16string_view kKeyTag = u"Key";
constexpr std::u16string_view kValueTag = u"Value";

}  // namespace

void CObjectHashtable::Attach(CXmlNode* hashtable)
{
    m_items.clear();
    m_hashtable = hashtable;
    if (!hashtable)
        return;
    for (CXmlNode* child = hashtable->firstChild(); child; child = child->nextSibling()) {
        if (child->nodeType() != XmlNodeType::Element || !ProfileNamesEqual(child->nodeName(), kItemTag))
            continue;
        const CXmlNode* keyObject = FindObject(FindChildElement(child, kKeyTag), std::nullopt, std::nullopt);
        m_items[GetObjectText(keyObject)] = child;
    }
}

CXmlNode* CObjectHashtable::Lookup(std::u16string_view key) const
{
    const auto found = m_items.find(std::u16string(key));
    return found == m_items.end() ? nullptr : found->second;
}

CObjectVector CObjectHashtable::GetValues(const CXmlNode* item)
{
    CObjectVector values;
    values.Attach(FindObject(FindChildElement(item, kValueTag), kProfileVectorClass, std::nullopt));
    return values;
}

void CObjectHashtable::AddValue(std::u16string_view key, std::u16string_view value)
{
    if (!m_hashtable)
        return;
    CXmlNode* item = Lookup(key);
    if (!item) {
        item = AppendElement(m_hashtable, kItemTag);
        AppendObject(AppendElement(item, kKeyTag), kProfileStringClass, std::nullopt, key);
        AppendObject(AppendElement(item, kValueTag), kProfileVectorClass);
        m_items[std::u16string(key)] = item;
    }
    CXmlNode* vector = GetValues(item).Element();
    if (!vector) {
        // An item the server sent without a vector would swallow the value.
        CXmlNode* holder = FindChildElement(item, kValueTag);
        vector = AppendObject(holder ? holder : AppendElement(item, kValueTag), kProfileVectorClass);
    }
    AppendObject(vector, kProfileStringClass, std::nullopt, value);
}

void CObjectHashtable::RemoveValue(std::u16string_view key, std::u16string_view value)
{
    CXmlNode* item = Lookup(key);
    if (!item)
        return;
    CObjectVector values = GetValues(item);
    values.RemoveText(value);
    if (values.GetCount() == 0) {
        if (CXmlNode* parent = item->parentNode())
            parent->removeChild(item);
        m_items.erase(std::u16string(key));
    }
}
