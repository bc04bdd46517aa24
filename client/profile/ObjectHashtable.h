#pragma once
// A view of one hashtable object of the profile: "Item" elements, each with a
// "Key" (one string object) and a "Value" (one vector of string objects).
// The view owns nothing; the document owns the elements.
#include <map>
#include <string>
#include <string_view>

#include "client/profile/ObjectVector.h"

class CXmlNode;

class CObjectHashtable {
public:
    /// Maps each "Item" of hashtable by its key; a later item with the same key
    /// replaces the earlier one in the map.
    void Attach(CXmlNode* hashtable);
    CXmlNode* Element() const { return m_hashtable; }
    bool IsAttached() const { return m_hashtable != nullptr; }

    /// Keys compare exactly; the map is walked in key order.
    const std::map<std::u16string, CXmlNode*>& Items() const { return m_items; }
    /// The "Item" element of key, or nullptr.
    CXmlNode* Lookup(std::u16string_view key) const;
    /// A view of the item's vector of values (unattached when it has none).
    static CObjectVector GetValues(const CXmlNode* item);

    /// Appends value under key, creating the key's "Item" when it is new.
    void AddValue(std::u16string_view key, std::u16string_view value);
    /// Removes the first value equal to value under key; an "Item" left without
    /// values is removed from the document and the map.
    void RemoveValue(std::u16string_view key, std::u16string_view value);

private:
    CXmlNode* m_hashtable = nullptr;
    std::map<std::u16string, CXmlNode*> m_items;
};
