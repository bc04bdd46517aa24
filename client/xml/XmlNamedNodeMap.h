#pragma once
// The attributes of one element, in the order they were first set.
#include <cstddef>
#include <string_view>

class CXmlNode;

class CXmlNamedNodeMap {
public:
    /// The attribute node with that exact name, or nullptr.
    CXmlNode* getNamedItem(std::u16string_view name) const;
    /// The attribute at index in map order, or nullptr when index >= length().
    CXmlNode* item(std::size_t index) const;
    std::size_t length() const { return m_count; }
    CXmlNode* first() const { return m_first; }

private:
    friend class CXmlNode;
    friend class CXmlDocument;
    friend class CXmlParser;

    void Append(CXmlNode* attribute);

    CXmlNode* m_first = nullptr;
    CXmlNode* m_last = nullptr;
    std::size_t m_count = 0;
};
