#pragma once
// A view of one vector object of the profile: its item objects in order.
// The view owns nothing; the document owns the elements.
#include <cstddef>
#include <string_view>
#include <vector>

class CXmlNode;

class CObjectVector {
public:
    /// Forgets the old items and collects every child "Object" of vector
    /// (none when vector is null).
    void Attach(CXmlNode* vector);
    CXmlNode* Element() const { return m_vector; }
    bool IsAttached() const { return m_vector != nullptr; }

    std::size_t GetCount() const { return m_items.size(); }
    /// nullptr when index is out of range.
    CXmlNode* GetItem(std::size_t index) const;
    /// Records an item the caller has already appended to the vector element.
    void Add(CXmlNode* item);
    /// Removes the item from the view and from the document; out of range does nothing.
    void RemoveAt(std::size_t index);
    /// Removes the first item whose text equals text exactly; false when none does.
    bool RemoveText(std::u16string_view text);

private:
    CXmlNode* m_vector = nullptr;
    std::vector<CXmlNode*> m_items;
};
